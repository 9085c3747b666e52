// How each drawable class stores one value at one position, and the square
// brush, shared by the drawing, text and plotting routines.
//
// Positions are long long so that the sums the callers make (a position plus
// a brush or glyph offset) never overflow; whatever lies outside the image,
// int range included, writes the image's background value instead, as the
// image's own access does.
#pragma once
#include <climits>
#include <type_traits>

#include "base/types.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/imgyuv.h"

namespace imagorix::detail {

template <class I>
bool dentro(const I& img, long long l, long long c) {
  return l >= 0 && l < img.nl() && c >= 0 && c < img.nc();
}
inline bool dentro(const IMGYUV& img, long long l, long long c) {
  return l >= 0 && l < img.nly && c >= 0 && c < img.ncy;
}

inline void pinta(IMGBIN& img, long long l, long long c, bool v) {
  if (dentro(img, l, c)) img.set(static_cast<int>(l), static_cast<int>(c), v);
  else img.fundo() = (img.fundo() & ~1u) | (v ? 1u : 0u);
}

inline void pinta(IMGGRY& img, long long l, long long c, BYTE v) {
  if (dentro(img, l, c)) img.row(static_cast<int>(l))[c] = v;
  else img.fundo() = v;
}

// Colour ints: red in bits 0-7, green 8-15, blue 16-23.
inline COR cor(int v) {
  return COR{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16)};
}

inline void pinta(IMGCOR& img, long long l, long long c, int v) {
  if (dentro(img, l, c)) img.row(static_cast<int>(l))[c] = cor(v);
  else img.fundo() = cor(v);
}

// Y into the luma pixel, U and V into the chroma samples of (l / 2, c / 2).
// A position outside the luma plane writes all three into the background of
// img, so that it can never reach a chroma sample of another position.
inline void pinta(IMGYUV& img, long long l, long long c, int v) {
  const BYTE y = static_cast<BYTE>(v), u = static_cast<BYTE>(v >> 8), w = static_cast<BYTE>(v >> 16);
  if (!dentro(img, l, c)) {
    img.img.fundo() = y;
    img.img.fundo() = u;
    img.img.fundo() = w;
    return;
  }
  img.img(static_cast<int>(l), static_cast<int>(c)) = y;
  const long long k = (l >> 1) * img.ncuv + (c >> 1);
  BYTE* base = img.img.data();
  const long long n = img.img.n();
  const long long ku = img.ou + k, kv = img.ov + k;
  if (base && ku >= 0 && ku < n) base[ku] = u; else img.img.fundo() = u;
  if (base && kv >= 0 && kv < n) base[kv] = w; else img.img.fundo() = w;
}

// The brush of size s around (l, c): the single pixel for s = 1, otherwise
// the s x s square of rows l - s / 2 ... l - s / 2 + s - 1 (and the same
// columns); nothing for s < 1. Only the part inside the image is walked:
// every write outside stores the same value into the background, so one
// such write stands for all of them.
template <class I, class V>
void pincel(I& img, long long l, long long c, int s, V v) {
  if (s == 1) {
    pinta(img, l, c, v);
    return;
  }
  if (s < 1) return;
  const long long l0 = l - s / 2, c0 = c - s / 2, l1 = l0 + s - 1, c1 = c0 + s - 1;
  long long nl, nc;
  if constexpr (std::is_same_v<I, IMGYUV>) {
    nl = img.nly;
    nc = img.ncy;
  } else {
    nl = img.nl();
    nc = img.nc();
  }
  const long long a = l0 < 0 ? 0 : l0, b = l1 >= nl ? nl - 1 : l1;
  const long long e = c0 < 0 ? 0 : c0, d = c1 >= nc ? nc - 1 : c1;
  for (long long i = a; i <= b; ++i)
    for (long long j = e; j <= d; ++j) pinta(img, i, j, v);
  if (a != l0 || b != l1 || e != c0 || d != c1) pinta(img, -1, -1, v);
}

}  // namespace imagorix::detail
