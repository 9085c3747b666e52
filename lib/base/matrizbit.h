// MATRIZBIT: a two-dimensional array of bits packed 32 to a word.
//
// Bit (l, c) is linear bit l * nc() + c of the word array, numbered as in
// VETORBIT (bit 0 is the most significant bit of word 0). Rows are not padded
// to word boundaries, which is the packed form IMGBIN can be filled from.
#pragma once
#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <memory>

#include "base/vetorbit.h"

namespace imagorix {

class MATRIZBIT {
 public:
  using BIT = VETORBIT::BIT;

  MATRIZBIT() { aloca(0, 0); }
  // All bits clear.
  MATRIZBIT(int nl, int nc) { aloca(nl, nc); }
  // All bits equal to b.
  MATRIZBIT(int nl, int nc, bool b);
  // nl * nc values in row-major order, a bit set when its value is non-zero.
  // A single value goes to MATRIZBIT(nl, nc, bool).
  template <std::integral... R>
    requires(sizeof...(R) >= 1)
  MATRIZBIT(int nl, int nc, int b0, R... resto) {
    const int valores[] = {b0, static_cast<int>(resto)...};
    preenche(nl, nc, valores, 1 + static_cast<int>(sizeof...(R)));
  }
  MATRIZBIT(const MATRIZBIT& o);
  MATRIZBIT(MATRIZBIT&& o) noexcept;
  ~MATRIZBIT() = default;

  MATRIZBIT& operator=(const MATRIZBIT& o);
  MATRIZBIT& operator=(MATRIZBIT&& o) noexcept;

  // Sizes and storage for an nl x nc matrix, all bits clear; storage held
  // before is released. No columns means no storage; a matrix of no rows and
  // some columns still holds one word. A bit count beyond int ends the
  // program like a failed allocation.
  void aloca(int nl, int nc);
  // Same sizes: nothing happens. Otherwise the contents are lost.
  void resize(int nl, int nc);

  int nl() const { return nl_; }
  int nc() const { return nc_; }
  int nw() const { return nw_; }
  int nbits() const { return nb_; }
  // Unchecked view of the words, for bulk work that has checked its range.
  std::uint32_t* data() { return v_.get(); }
  const std::uint32_t* data() const { return v_.get(); }

  // Bit (l, c), 0 <= l < nl() and 0 <= c < nc().
  BIT operator()(int l, int c) {
    const int k = linear(l, c);
    return BIT(v_[k >> 5], 0x80000000u >> (k & 31));
  }
  bool operator()(int l, int c) const {
    const int k = linear(l, c);
    return (v_[k >> 5] & (0x80000000u >> (k & 31))) != 0;
  }

 private:
  int linear(int l, int c) const;
  void preenche(int nl, int nc, const int* valores, int nvalores);

  int nl_ = 0, nc_ = 0;
  int nw_ = 0;
  int nb_ = 0;
  std::unique_ptr<std::uint32_t[]> v_;
};

// One line per row: "[", each bit as 0/1 followed by a blank, "]".
std::ostream& operator<<(std::ostream& os, const MATRIZBIT& m);

}  // namespace imagorix
