// Bits packed into 32-bit words, first bit most significant: a reference to
// one bit, and the mask of the bits of a last word that hold values.
//
// The bit containers (bit vectors, bit matrices, binary images) return a
// BITREF from their element access, so that v(i) = true sets exactly that bit.
#pragma once
#include <cstdint>

namespace imagorix {

class BITREF {
 public:
  BITREF(std::uint32_t& w, std::uint32_t m) : w_(&w), m_(m) {}
  BITREF(const BITREF&) = default;
  operator bool() const { return (*w_ & m_) != 0; }
  BITREF& operator=(bool b) {
    if (b) *w_ |= m_; else *w_ &= ~m_;
    return *this;
  }
  // Copies the value, not the reference: v(0) = v(1).
  BITREF& operator=(const BITREF& o) { return *this = static_cast<bool>(o); }

 private:
  std::uint32_t* w_;
  std::uint32_t m_;
};

// The bits of the last word of a row or vector of n bits (n > 0) that hold
// values; the others are spare.
inline std::uint32_t mascara_final(int n) {
  const int r = n & 31;
  return r == 0 ? ~0u : ~0u << (32 - r);
}

}  // namespace imagorix
