// Discrete Fourier transforms of any length, in one and two dimensions, the
// quadrant exchanges that move the zero frequency between the corner and the
// centre, the reordering of a circular correlation into a linear one, and the
// modulus of a complex image.
//
// Every transform is y[s] = scale * sum over t of x[t] * exp(sign 2 pi i s t / n):
//
//   name             sign  scale      inverted by
//   fft_mais_raiz     +    1/sqrt(n)  fft_menos_raiz
//   fft_menos_raiz    -    1/sqrt(n)  fft_mais_raiz
//   fft_mais_n        +    1/n        fft_menos
//   fft_menos         -    1          fft_mais_n
//
// The array forms take the input x and the output y, both of n elements; x is
// used as work space and no longer holds the input afterwards (the vector
// forms likewise overwrite their argument). Any length works, primes
// included, in O(n log n). The image forms transform every row, then every
// column, each with the one-dimensional form of the same name; the
// background value is carried over untransformed.
//
// The process-wide root table: the entry points first call W_init(n), after
// which W() holds the n roots W[k] = exp(+2 pi i k / n) and Nw() is n. A
// length of 0 empties it. Alternating lengths rebuild it each time. Nothing
// here is reentrant.
#pragma once
#include "base/types.h"
#include "base/vetor.h"
#include "image/img.h"

namespace imagorix {

// Makes the root table hold the n roots of unity of length n (reused when it
// already does); n = 0 empties it. A negative n, or a table that cannot be
// allocated, ends the program with "Erro: malloc do FFT - W_init".
void W_init(int n);
// The length of the root table (0 when empty) and its entries (null when
// empty).
int Nw();
const CPXD* W();

// The unscaled transform with the positive exponent, without the call to
// W_init: the table is used when its length is a multiple of n, and roots
// of the transform's own otherwise. x is overwritten. n <= 0 does nothing.
void fft_nucleo(CPXD* x, CPXD* y, int n);

void fft_mais_raiz(CPXD* x, CPXD* y, int n);
void fft_mais_n(CPXD* x, CPXD* y, int n);
void fft_menos_raiz(CPXD* x, CPXD* y, int n);
void fft_menos(CPXD* x, CPXD* y, int n);

VETOR<CPXD> fft_mais_raiz(VETOR<CPXD>& v);
VETOR<CPXD> fft_mais_n(VETOR<CPXD>& v);
VETOR<CPXD> fft_menos_raiz(VETOR<CPXD>& v);
// v is first resized to l, keeping its first min(l, v.n()) elements and
// padding with zeros; l < 1 means v.n().
VETOR<CPXD> fft_menos(VETOR<CPXD>& v, int l);

IMGCPX fft_mais_raiz(const IMGCPX& a);
IMGCPX fft_mais_n(const IMGCPX& a);
IMGCPX fft_menos_raiz(const IMGCPX& a);

// Quadrant exchanges, each returning a new image (or vector) of the same size
// with the same background. To the corner: result(i, j) = a((i + nl/2) mod
// nl, (j + nc/2) mod nc), centre (0, 0). To the centre: result(i, j) =
// a((i + nl - nl/2) mod nl, (j + nc - nc/2) mod nc), centre (nl/2, nc/2).
// One undoes the other for odd and even sizes alike. The vector forms do the
// same along their one index and set the vector's centre likewise.
IMGCPX quadrantes_canto(const IMGCPX& a);
IMGCPX quadrantes_centro(const IMGCPX& a);
IMGFLT quadrantes_canto(const IMGFLT& a);
IMGFLT quadrantes_centro(const IMGFLT& a);
VETOR<CPXD> quadrantes_canto(const VETOR<CPXD>& v);
VETOR<CPXD> quadrantes_centro(const VETOR<CPXD>& v);

// Reorders a circular correlation a of two signals of lengths n1 and n2 into
// the lags -(n2 - 1) ... n1 - 1 of their linear correlation: element i of the
// result, of length n1 + n2 - 1, is a[(i + a.n() - n2 + 1) mod a.n()]. The
// image form does so along both axes, giving (nl1 + nl2 - 1) x (nc1 + nc2 - 1).
VETOR<CPXD> xcorrshift(const VETOR<CPXD>& a, int n1, int n2);
IMGCPX xcorrshift(const IMGCPX& a, int nl1, int nc1, int nl2, int nc2);

// |z| of every element and of the background.
IMGFLT modulo(const IMGCPX& a);

}  // namespace imagorix
