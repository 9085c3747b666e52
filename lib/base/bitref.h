// Reference to one bit of a packed 32-bit word: the word and a mask. The bit
// containers (bit vectors, bit matrices, binary images) return it from their
// element access, so that v(i) = true sets exactly that bit.
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

}  // namespace imagorix
