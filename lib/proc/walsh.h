// The two-dimensional Walsh transform of square real images whose side N is
// a power of two, 2^M:
//
//   forward  out(i, j) = 1/N sum over (k, l) of f(k, l) (-1)^e,
//            e = sum over c < M of P_c(i) bit_c(k) + P_c(j) bit_c(l)
//   inverse  the same with e = sum over c < M of P_c(k) bit_c(i) + P_c(l) bit_c(j)
//
// where bit_c(x) is bit c of x (bit 0 the least significant) and P_c(x) the
// parity of the c + 1 most significant of the M bits of x. The inverse undoes
// the forward transform. Both cost O(N^2 log N).
#pragma once
#include "image/img.h"

namespace imagorix {

// A new N x N image, with the background of a fresh one. An image that is not
// square, or is empty, ends the program with "Erro: Imagem deve ser
// quadrada"; a square one whose side is not a power of two with "Erro:
// Imagem deve ser quadrada e de dimensao 2^M".
IMGFLT walsh(const IMGFLT& a);
IMGFLT walsh_inversa(const IMGFLT& a);

// M of the last square image given to either transform (the nearest integer
// to log2 of its side, also when that side was then refused); 0 before any.
int ordem_walsh();

}  // namespace imagorix
