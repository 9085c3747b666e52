// IMGBIN: the binary image, 1 white and 0 black, 32 pixels to a word.
//
// Row l occupies wpr() consecutive words starting at row(l); pixel (l, c) is
// the bit under mask 0x80000000 >> (c & 31) of word c >> 5 of that row, so the
// first pixel of every group of 32 is the most significant bit. The bits of
// the last word of a row beyond column nc() - 1 are spare: nothing reads them
// as pixels, and whole-word copies carry them along.
//
// Pixel access outside the image yields the background word (only its bit 0
// is the value); writing there changes the background and no pixel.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "base/bitref.h"
#include "base/types.h"
#include "image/acesso.h"

namespace imagorix {

struct COR;
class ARQLE;
template <class P> class IMG;

class IMGBIN {
 public:
  // Reference to one bit: a word and a mask.
  using BIT = BITREF;

  IMGBIN() { aloca(0, 0); }
  IMGBIN(int nl, int nc) { aloca(nl, nc); }
  // Every pixel set to value (nonzero is white); the background stays white.
  IMGBIN(int nl, int nc, int value);
  // nl * nc values in row-major order, nonzero is white. A list of another
  // length ends the program.
  IMGBIN(int nl, int nc, std::initializer_list<int> valores);
  IMGBIN(const IMGBIN& o);
  IMGBIN(IMGBIN&& o) noexcept;
  ~IMGBIN() = default;

  // Conversions: grey >= 128, r + g + b > 382, real >= 0.5 (NaN too) and
  // complex modulus >= 0.5 are white.
  explicit IMGBIN(const IMG<BYTE>& o);
  explicit IMGBIN(const IMG<COR>& o);
  explicit IMGBIN(const IMG<FLT>& o);
  explicit IMGBIN(const IMG<CPXF>& o);

  IMGBIN& operator=(const IMGBIN& o);
  IMGBIN& operator=(IMGBIN&& o) noexcept;
  // These keep the centre that resize left.
  IMGBIN& operator=(const IMG<BYTE>& o);
  IMGBIN& operator=(const IMG<COR>& o);
  IMGBIN& operator=(const IMG<FLT>& o);
  IMGBIN& operator=(const IMG<CPXF>& o);

  // Sets sizes, background bit, centre and storage for an nl x nc image. Any
  // storage held before is released. Sizes below 1 hold no storage. Sizes
  // whose pixel count does not fit an int end the program like a failed
  // allocation. Freshly allocated words are zero.
  void aloca(int nl, int nc);
  // Same sizes: nothing changes. Otherwise as aloca.
  void resize(int nl, int nc);

  int nl() const { return nl_; }
  int nc() const { return nc_; }
  int n() const { return n_; }
  int wpr() const { return wpr_; }  // words per row
  int nw() const { return nw_; }    // words in the block, wpr() * nl()

  // Unchecked: l must be a row of the image.
  std::uint32_t* row(int l) { return rows_[l]; }
  const std::uint32_t* row(int l) const { return rows_[l]; }
  // The whole block, row after row; null when empty.
  std::uint32_t* data() { return data_.get(); }
  const std::uint32_t* data() const { return data_.get(); }

  // Pixel (l, c), or the background bit outside the image.
  BIT operator()(int l, int c) {
    if (l < 0 || l >= nl_ || c < 0 || c >= nc_) return BIT(fundo_, 1u);
    return bit(l, c);
  }
  bool operator()(int l, int c) const { return const_cast<IMGBIN&>(*this)(l, c); }
  // The same through an access mode (see acesso.h).
  BIT operator()(int l, int c, char modo) {
    if (!detail::posicao(nl_, nc_, lc_, cc_, l, c, modo)) return BIT(fundo_, 1u);
    return bit(l, c);
  }
  bool operator()(int l, int c, char modo) const {
    return const_cast<IMGBIN&>(*this)(l, c, modo);
  }

  // Fast access for hot loops: no bounds check and no background (asserted
  // in debug builds only).
  bool get(int l, int c) const;
  void set(int l, int c, bool v);

  // Background word; only bit 0 is the value, the others mean nothing.
  std::uint32_t& fundo() { return fundo_; }
  std::uint32_t fundo() const { return fundo_; }
  int& lc() { return lc_; }
  int lc() const { return lc_; }
  int& cc() { return cc_; }
  int cc() const { return cc_; }

  // Bulk setters; they neither resize nor touch the background.
  // Every pixel to v.
  void preenche(bool v);
  // Pixel k (row-major, k = l * nc + c) from v[k], nonzero is white. The
  // array must hold nv >= n() bytes, or the program ends.
  void preenchebytes(const BYTE* v, int nv);
  // Pixel k from bit k of a packed sequence: mask 0x80000000 >> (k & 31) of
  // word k >> 5, rows not padded. The array must hold nv >= (n() + 31) / 32
  // words, or the program ends.
  void preenchebits(const std::uint32_t* w, int nv);

  // Files: 1-bit BMP and text matrix. The readers replace the image by the
  // file's picture, read from the named file or from a file already open (at
  // its start); the writers leave the image as it is.
  void LeBmp(const std::string& nome);
  void LeBmp(ARQLE& arq);
  void ImpBmp(const std::string& nome) const;
  void LeTxt(const std::string& nome);
  void LeTxt(ARQLE& arq);
  void ImpTxt(const std::string& nome) const;

 private:
  BIT bit(int l, int c) {
    return BIT(rows_[l][c >> 5], 0x80000000u >> (c & 31));
  }
  template <class Q> void converte(const IMG<Q>& o);

  std::unique_ptr<std::uint32_t[]> data_;
  std::unique_ptr<std::uint32_t*[]> rows_;
  std::uint32_t fundo_ = 0;
  int nl_ = 0, nc_ = 0;
  int wpr_ = 0, nw_ = 0;
  int lc_ = 0, cc_ = 0;
  int n_ = 0;
};

inline bool IMGBIN::get(int l, int c) const {
  // Checked in debug builds only: this is the path the tool's loops run
  // through for every pixel.
#ifndef NDEBUG
  if (l < 0 || l >= nl_ || c < 0 || c >= nc_) erro("Indice invalido", "");
#endif
  return (rows_[l][c >> 5] & (0x80000000u >> (c & 31))) != 0;
}

inline void IMGBIN::set(int l, int c, bool v) {
#ifndef NDEBUG
  if (l < 0 || l >= nl_ || c < 0 || c >= nc_) erro("Indice invalido", "");
#endif
  const std::uint32_t m = 0x80000000u >> (c & 31);
  if (v) rows_[l][c >> 5] |= m; else rows_[l][c >> 5] &= ~m;
}

}  // namespace imagorix
