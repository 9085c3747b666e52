// How a page is keyed: a 32-bit number (the default mode) or a key file (the
// secure mode), and the MAC and carrier order each gives.
//
// Default mode: the carrier order is seeded with the number and the MAC is
// the library's keyed hash. Pages marked this way stay exactly as they were.
//
// Secure mode: the key file's bytes are hashed into a 256-bit key. The MAC
// is keyed BLAKE2b (libsodium), truncated to T bits, over a domain label
// and version byte, T, the image size and every pixel with the MAC carriers
// blanked; the header and the compressed record lie in those pixels, so
// they are covered too. The carrier order is seeded from the key through
// the same hash. Without the key, making any other page that verifies
// succeeds with probability about 2^-T.
#pragma once
#include <memory>
#include <string>

#include "image/imgbin.h"

namespace kova {

// Bounds of T in the secure mode: below 128 bits a MAC can be guessed, and
// BLAKE2b gives at most 512.
inline constexpr int SecureMinMac = 128, SecureMaxMac = 512;

// The 256-bit key of a key file, cleared from memory when destroyed.
class KEYFILE {
 public:
  static constexpr int Bytes = 32;       // least a key file may hold
  static constexpr long MaxBytes = 1 << 20;  // most that is read

  // Reads path; a file that cannot be read, holds fewer than 32 bytes or
  // more than MaxBytes ends the process with one "Error: ..." line.
  explicit KEYFILE(const std::string& path);
  ~KEYFILE();
  KEYFILE(const KEYFILE&) = delete;
  KEYFILE& operator=(const KEYFILE&) = delete;

  const unsigned char* key() const { return k_; }

 private:
  unsigned char k_[32];
};

// What signs or verifies a page.
struct KEYING {
  int key = 0;                           // the number, in the default mode
  std::shared_ptr<const KEYFILE> file;   // set in the secure mode

  bool secure() const { return file != nullptr; }
  // The seed of the carrier order.
  int seed() const;
  // The T-bit MAC of img (MAC carriers already blanked), '1' for a set bit.
  std::string mac(const imagorix::IMGBIN& img, int T) const;
};

// The secure mode's MAC of img, T a multiple of 8 up to SecureMaxMac.
std::string SecureMac(const imagorix::IMGBIN& img, int T, const KEYFILE& k);

// Whether two MACs are equal, in time that does not depend on where they
// differ.
bool SameMac(const std::string& a, const std::string& b);

}  // namespace kova
