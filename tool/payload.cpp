#include "payload.h"

#include <cstdint>

#include "base/erro.h"
#include "bitstr.h"
#include "random/hash.h"

namespace kova {

namespace {

// count payload bits from position first on: black reads as '1'.
std::string read_bits(const CARRIERS& car, int first, int count) {
  std::string s;
  s.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) s.push_back(car.get(first + i) ? '0' : '1');
  return s;
}

}  // namespace

std::string Disagreements(const CARRIERS& car, int B, int L) {
  std::string s;
  s.reserve(static_cast<std::size_t>(KBits + (L > 0 ? L : 0)));
  for (int p = 0; p < KBits; ++p) s.push_back(car.disagreement(p));
  for (int i = 0; i < L; ++i) s.push_back(car.disagreement(B + i));
  return s;
}

std::string MakePayload(int B, int m, const std::string& C) {
  if (B < FirstBegin || (B - FirstBegin) % RegionStep != 0 || (B - FirstBegin) / RegionStep > MaxField)
    imagorix::erro("Error: the payload region must begin at 16 + 32k with k <= 65535");
  if (m < MinM || m > MaxM) imagorix::erro("Error: m must lie in 2 ... 33");
  if (C.size() > static_cast<std::size_t>(MaxField))
    imagorix::erro("Error: more than 65535 compressed bits");
  return bitstr((B - FirstBegin) / RegionStep, KBits) + bitstr(m - MinM, MBits) +
         bitstr(static_cast<int>(C.size()), WBits) + C;
}

void WritePayload(CARRIERS& car, int B, int T, const std::string& P) {
  const int n = static_cast<int>(P.size());
  for (int j = 0; j < n; ++j) car.set(j < KBits ? j : B + T + j - KBits, P[j] != '1');
}

HEADER ReadHeader(const CARRIERS& car, int T) {
  HEADER h;
  h.B = FirstBegin + RegionStep * bitval(read_bits(car, 0, KBits));
  h.m = bitval(read_bits(car, h.B + T + MOffset, MBits)) + MinM;
  h.w = bitval(read_bits(car, h.B + T + WOffset, WBits));
  return h;
}

std::string ReadCompressed(const CARRIERS& car, const HEADER& h, int T) {
  return read_bits(car, h.B + T + CompressedOffset, h.w);
}

void BlankMac(CARRIERS& car, int B, int T) {
  for (int i = 0; i < T; ++i) car.set(B + i, false);
}

void WriteMac(CARRIERS& car, int B, const std::string& mac) {
  const int n = static_cast<int>(mac.size());
  for (int i = 0; i < n; ++i) car.set(B + i, mac[i] == '1');
}

std::string ReadMac(const CARRIERS& car, int B, int T) {
  std::string s;
  s.reserve(static_cast<std::size_t>(T > 0 ? T : 0));
  for (int i = 0; i < T; ++i) s.push_back(car.get(B + i) ? '1' : '0');
  return s;
}

std::string ComputeMac(const IMGBIN& img, int T, int key) {
  imagorix::HASH h(T / 32, key);
  // The pixels form one stream across rows; rows are padded to whole words
  // in memory, so each row's bits are shifted into a 64-bit accumulator and
  // whole 32-bit words are taken off its top.
  std::uint64_t acc = 0;
  int nacc = 0;  // bits waiting in acc, always < 32 between pushes
  const auto push = [&](std::uint32_t bits, int count) {
    acc = (acc << count) | bits;
    nacc += count;
    if (nacc >= 32) {
      nacc -= 32;
      h.absorb(static_cast<std::uint32_t>(acc >> nacc));
      acc &= (std::uint64_t{1} << nacc) - 1;
    }
  };
  const int rows = img.nc() > 0 ? img.nl() : 0;  // an empty image has no row table
  const int full = img.nc() / 32, rest = img.nc() % 32;
  for (int l = 0; l < rows; ++l) {
    const std::uint32_t* w = img.row(l);
    if (nacc == 0) {
      for (int i = 0; i < full; ++i) h.absorb(w[i]);
    } else {
      for (int i = 0; i < full; ++i) push(w[i], 32);
    }
    if (rest) push(w[full] >> (32 - rest), rest);
  }
  if (nacc > 0) h.absorb(static_cast<std::uint32_t>(acc));

  std::string mac;
  mac.reserve(static_cast<std::size_t>(T > 0 ? T : 0));
  for (int i = 0; i < T; ++i) mac.push_back(h(i) ? '1' : '0');
  return mac;
}

void Restore(CARRIERS& car, int B, const std::string& S) {
  const int n = static_cast<int>(S.size());
  for (int j = 0; j < n; ++j) car.restore(j < KBits ? j : B + j - KBits, S[j]);
}

}  // namespace kova
