// Fourier transforms: the root table, the entry points of each sign and
// scaling over arrays, vectors and images, the quadrant exchanges, the
// correlation reordering and the modulus.
#include "proc/fourier.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "base/erro.h"
#include "proc/fftmotor.h"

namespace imagorix {

namespace {

// The process-wide root table; released at exit.
struct TabelaRaizes {
  int n = 0;
  CPXD* w = nullptr;
  ~TabelaRaizes() {
    delete[] w;
    w = nullptr;
    n = 0;
  }
} tabela;

double* d(CPXD* p) { return reinterpret_cast<double*>(p); }

// The transform of the entry points: W_init(n), then the engine with the
// given sign, then the scale (1/sqrt(n) when raiz, 1/n when n_, else none).
enum class Escala { nenhuma, raiz, n };

void transforma(CPXD* x, CPXD* y, int n, bool negativo, Escala e) {
  W_init(n);
  if (n < 1) return;
  detail::transforma(d(x), d(y), n, negativo, d(tabela.w), tabela.n);
  if (e == Escala::nenhuma) return;
  const double f = e == Escala::raiz ? 1.0 / std::sqrt(static_cast<double>(n)) : 1.0 / n;
  double* v = d(y);
  for (std::size_t i = 0; i < 2 * std::size_t(n); ++i) v[i] *= f;
}

VETOR<CPXD> transforma(VETOR<CPXD>& v, bool negativo, Escala e) {
  VETOR<CPXD> r(v.n());
  transforma(v.data(), r.data(), v.n(), negativo, e);
  return r;
}

// Rows, then columns, each with the one-dimensional transform of the same
// sign and scale, computed in double precision. Columns go a few at a time,
// so that gathering them reads whole stretches of each row.
IMGCPX transforma(const IMGCPX& a, bool negativo, Escala e) {
  IMGCPX r(a);
  const int nl = r.nl(), nc = r.nc();
  if (nl < 1 || nc < 1) return r;
  {
    VETOR<CPXD> x(nc), y(nc);
    for (int l = 0; l < nl; ++l) {
      CPXF* p = r.row(l);
      for (int c = 0; c < nc; ++c) x(c) = CPXD(p[c]);
      transforma(x.data(), y.data(), nc, negativo, e);
      for (int c = 0; c < nc; ++c) p[c] = CPXF(y.data()[c]);
    }
  }
  constexpr int B = 8;
  const int b = std::min(B, nc);
  VETOR<CPXD> x(b * nl), y(b * nl);
  for (int c0 = 0; c0 < nc; c0 += b) {
    const int w = std::min(b, nc - c0);
    for (int l = 0; l < nl; ++l) {
      const CPXF* p = r.row(l) + c0;
      for (int k = 0; k < w; ++k) x.data()[std::size_t(k) * nl + l] = CPXD(p[k]);
    }
    for (int k = 0; k < w; ++k)
      transforma(x.data() + std::size_t(k) * nl, y.data() + std::size_t(k) * nl, nl, negativo, e);
    for (int l = 0; l < nl; ++l) {
      CPXF* p = r.row(l) + c0;
      for (int k = 0; k < w; ++k) p[k] = CPXF(y.data()[std::size_t(k) * nl + l]);
    }
  }
  return r;
}

// result(i, j) = a((i + dl) mod nl, (j + dc) mod nc), 0 <= dl <= nl and
// 0 <= dc <= nc, with the given centre and a's background.
template <class P>
IMG<P> gira(const IMG<P>& a, int dl, int dc, int lc, int cc) {
  const int nl = a.nl(), nc = a.nc();
  IMG<P> r(nl, nc);
  r.fundo() = a.fundo();
  r.lc() = lc;
  r.cc() = cc;
  if (nl < 1 || nc < 1) return r;
  dl %= nl;
  dc %= nc;
  for (int i = 0; i < nl; ++i) {
    const P* s = a.row((i + dl) % nl);
    P* t = r.row(i);
    std::copy(s + dc, s + nc, t);
    std::copy(s, s + dc, t + (nc - dc));
  }
  return r;
}

VETOR<CPXD> gira(const VETOR<CPXD>& v, int d, int centro) {
  const int n = v.n() > 0 ? v.n() : 0;
  VETOR<CPXD> r(n);
  r.fundo() = v.fundo();
  r.centro() = centro;
  if (n == 0) return r;
  d %= n;
  std::copy(v.data() + d, v.data() + n, r.data());
  std::copy(v.data(), v.data() + d, r.data() + (n - d));
  return r;
}

// (i + n - shift + 1) mod n, taken non-negative, without overflow.
int circular(long long i, int n, int shift) {
  long long k = (i + n - shift + 1) % n;
  if (k < 0) k += n;
  return static_cast<int>(k);
}

}  // namespace

void W_init(int n) {
  if (n == tabela.n) return;
  if ((tabela.n == 0) != (tabela.w == nullptr)) erro("Erro inesperado", "");
  delete[] tabela.w;
  tabela.w = nullptr;
  tabela.n = 0;
  if (n == 0) return;
  if (n > 0) tabela.w = new (std::nothrow) CPXD[std::size_t(n)];
  if (!tabela.w) erro("Erro: malloc do FFT - W_init", "");
  tabela.n = n;
  detail::raizes(n, d(tabela.w));
}

int Nw() { return tabela.n; }
const CPXD* W() { return tabela.w; }

void fft_nucleo(CPXD* x, CPXD* y, int n) {
  if (n < 1) return;
  detail::transforma(d(x), d(y), n, false, d(tabela.w), tabela.n);
}

void fft_mais_raiz(CPXD* x, CPXD* y, int n) { transforma(x, y, n, false, Escala::raiz); }
void fft_mais_n(CPXD* x, CPXD* y, int n) { transforma(x, y, n, false, Escala::n); }
void fft_menos_raiz(CPXD* x, CPXD* y, int n) { transforma(x, y, n, true, Escala::raiz); }
void fft_menos(CPXD* x, CPXD* y, int n) { transforma(x, y, n, true, Escala::nenhuma); }

VETOR<CPXD> fft_mais_raiz(VETOR<CPXD>& v) { return transforma(v, false, Escala::raiz); }
VETOR<CPXD> fft_mais_n(VETOR<CPXD>& v) { return transforma(v, false, Escala::n); }
VETOR<CPXD> fft_menos_raiz(VETOR<CPXD>& v) { return transforma(v, true, Escala::raiz); }

VETOR<CPXD> fft_menos(VETOR<CPXD>& v, int l) {
  if (l < 1) l = v.n();
  if (l != v.n()) {
    VETOR<CPXD> t(l);
    const int k = std::min(l, std::max(v.n(), 0));
    std::copy(v.data(), v.data() + k, t.data());
    std::fill(t.data() + k, t.data() + l, CPXD(0, 0));
    t.fundo() = v.fundo();
    v = std::move(t);
  }
  return transforma(v, true, Escala::nenhuma);
}

IMGCPX fft_mais_raiz(const IMGCPX& a) { return transforma(a, false, Escala::raiz); }
IMGCPX fft_mais_n(const IMGCPX& a) { return transforma(a, false, Escala::n); }
IMGCPX fft_menos_raiz(const IMGCPX& a) { return transforma(a, true, Escala::raiz); }

IMGCPX quadrantes_canto(const IMGCPX& a) { return gira(a, a.nl() / 2, a.nc() / 2, 0, 0); }
IMGFLT quadrantes_canto(const IMGFLT& a) { return gira(a, a.nl() / 2, a.nc() / 2, 0, 0); }
IMGCPX quadrantes_centro(const IMGCPX& a) {
  return gira(a, a.nl() - a.nl() / 2, a.nc() - a.nc() / 2, a.nl() / 2, a.nc() / 2);
}
IMGFLT quadrantes_centro(const IMGFLT& a) {
  return gira(a, a.nl() - a.nl() / 2, a.nc() - a.nc() / 2, a.nl() / 2, a.nc() / 2);
}
VETOR<CPXD> quadrantes_canto(const VETOR<CPXD>& v) { return gira(v, v.n() / 2, 0); }
VETOR<CPXD> quadrantes_centro(const VETOR<CPXD>& v) { return gira(v, v.n() - v.n() / 2, v.n() / 2); }

VETOR<CPXD> xcorrshift(const VETOR<CPXD>& a, int n1, int n2) {
  const long long L = static_cast<long long>(n1) + n2 - 1;
  if (a.n() < L) erro("Erro xcorrshift: a.n()<n1+n2-1", "");
  VETOR<CPXD> r(L > 0 ? static_cast<int>(L) : 0);
  for (int i = 0; i < r.n(); ++i) r.data()[i] = a.data()[circular(i, a.n(), n2)];
  return r;
}

IMGCPX xcorrshift(const IMGCPX& a, int nl1, int nc1, int nl2, int nc2) {
  const long long L = static_cast<long long>(nl1) + nl2 - 1;
  const long long C = static_cast<long long>(nc1) + nc2 - 1;
  if (a.nl() < L || a.nc() < C) erro("Erro xcorrshift: a.nl()<nl1+nl2-1 || a.nc()<nc1+nc2-1", "");
  IMGCPX r(L > 0 ? static_cast<int>(L) : 0, C > 0 ? static_cast<int>(C) : 0);
  for (int i = 0; i < r.nl() && r.nc() > 0; ++i) {
    const CPXF* s = a.row(circular(i, a.nl(), nl2));
    CPXF* t = r.row(i);
    for (int j = 0; j < r.nc(); ++j) t[j] = s[circular(j, a.nc(), nc2)];
  }
  return r;
}

IMGFLT modulo(const IMGCPX& a) {
  // In double precision the squares of float parts can neither overflow nor
  // underflow, so the plain formula is exact up to the final rounding (and an
  // infinite part gives an infinite modulus).
  auto mod = [](CPXF z) {
    const double re = z.real(), im = z.imag();
    return static_cast<FLT>(std::sqrt(re * re + im * im));
  };
  IMGFLT r(a.nl(), a.nc());
  r.fundo() = mod(a.fundo());
  const CPXF* s = a.data();
  FLT* t = r.data();
  for (int k = 0; k < (s ? a.n() : 0); ++k) t[k] = mod(s[k]);
  return r;
}

}  // namespace imagorix
