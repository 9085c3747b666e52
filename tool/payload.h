// The watermark inside the pixels: where each bit lies and how it is coloured.
//
// Carrier positions (see carriers.h) hold, for a MAC of T bits and a payload
// region beginning at position B = 16 + 32k:
//
//   0 ... 15                k, 16 bits, most significant first
//   B ... B+T-1             the MAC
//   B+T ... B+T+4           m - 2, 5 bits
//   B+T+5 ... B+T+20        w, 16 bits: the length of the compressed bits
//   B+T+21 ... B+T+20+w     the compressed bits
//
// Header and compressed bits are written '1' black, '0' white; MAC bits 1
// white, 0 black. The region's remaining carriers keep their values.
//
// The MAC covers every pixel of the image, row-major, with the MAC carriers
// black: 32 pixels to a word, the first one in the most significant bit, a
// last partial word holding its pixels in the low bits.
#pragma once
#include <string>

#include "carriers.h"

namespace kova {

// Widths of the header fields k, m - 2 and w. k lies at positions
// 0 ... KBits-1, the other two right after the MAC.
inline constexpr int KBits = 16, MBits = 5, WBits = 16;
// Bits of the payload string before the compressed bits: k, m - 2, w.
inline constexpr int HeaderBits = KBits + MBits + WBits;
// Largest value of the 16-bit fields k and w, and the range of m.
inline constexpr int MaxField = 65535;
inline constexpr int MinM = 2, MaxM = 33;

// The payload region begins at B = FirstBegin + RegionStep * k, just after
// the positions of k at the earliest; the search also grows it by RegionStep.
inline constexpr int FirstBegin = KBits, RegionStep = 32;
// The last beginning k can name.
inline constexpr int MaxBegin = FirstBegin + RegionStep * MaxField;

// Where the fields after the MAC lie, counted from B + T: m - 2, w, then the
// compressed bits.
inline constexpr int MOffset = 0, WOffset = MBits, CompressedOffset = MBits + WBits;

// Refusals raised in more than one place.
inline constexpr const char* ImpossibleMessage = "Error: Impossible to authenticate the image";
inline constexpr const char* TamMACPositiveMessage = "Error: TamMAC must be positive";

// The disagreement bits of the carriers at positions 0 ... 15 and then
// B ... B+L-1, in that order.
std::string Disagreements(const CARRIERS& car, int B, int L);

// The payload string: k = (B - 16) / 32 in 16 bits, m - 2 in 5 bits, the
// length of C in 16 bits, then C. A beginning that is not 16 + 32k with
// k <= 65535, an m outside 2 ... 33 or more than 65535 compressed bits is an
// error: the fields could not hold them.
std::string MakePayload(int B, int m, const std::string& C);

// Puts P[0 ... 15] at positions 0 ... 15 and P[j], j >= 16, at B + T + j - 16.
void WritePayload(CARRIERS& car, int B, int T, const std::string& P);

// The header of an image marked with a MAC of T bits.
struct HEADER {
  int B;  // beginning of the payload region, 16 + 32k
  int m;  // Golomb parameter
  int w;  // number of compressed bits
};
HEADER ReadHeader(const CARRIERS& car, int T);

// The w compressed bits that follow the header.
std::string ReadCompressed(const CARRIERS& car, const HEADER& h, int T);

// The MAC carriers B ... B+T-1: set all to black, write a MAC (a bit string,
// '1' white), read one back.
void BlankMac(CARRIERS& car, int B, int T);
void WriteMac(CARRIERS& car, int B, const std::string& mac);
std::string ReadMac(const CARRIERS& car, int B, int T);

// The T-bit MAC of img for key, as a bit string. T must be a multiple of 32.
std::string ComputeMac(const IMGBIN& img, int T, int key);

// Gives back the original carriers from their disagreement bits S: S[j] sets
// position j for j < 16 and position B + j - 16 after that.
void Restore(CARRIERS& car, int B, const std::string& S);

}  // namespace kova
