// Pixelwise arithmetic on images.
#include "proc/pixelop.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>

#include "base/erro.h"

namespace imagorix {

namespace {

// Pixels held: an image built with sizes below 1 holds none, whatever n says.
template <class I>
int npix(const I& a) {
  return a.data() ? a.n() : 0;
}

template <class I>
void mesmo_tamanho(const I& a, const I& b, const char* classe, const char* op) {
  if (a.nl() != b.nl() || a.nc() != b.nc())
    erro(std::string("Erro ") + classe + "::" + op + " - As imagens nao tem o mesmo tamanho", "");
}

// Result (i, j) := f(a(i, j), b(i, j)), background f(background a, background b).
template <class P, class F>
IMG<P> binaria(const IMG<P>& a, const IMG<P>& b, const char* classe, const char* op, F f) {
  mesmo_tamanho(a, b, classe, op);
  IMG<P> r(a.nl(), a.nc());
  r.fundo() = f(a.fundo(), b.fundo());
  const P* pa = a.data();
  const P* pb = b.data();
  P* pr = r.data();
  for (int k = 0, n = npix(r); k < n; ++k) pr[k] = f(pa[k], pb[k]);
  return r;
}

// Result v := f(v) in a fresh image, background f(background).
template <class P, class F>
IMG<P> unaria(const IMG<P>& a, F f) {
  IMG<P> r(a.nl(), a.nc());
  r.fundo() = f(a.fundo());
  const P* pa = a.data();
  P* pr = r.data();
  for (int k = 0, n = npix(r); k < n; ++k) pr[k] = f(pa[k]);
  return r;
}

// v := f(v) in place, pixels only.
template <class P, class F>
IMG<P> no_lugar(IMG<P> a, F f) {
  P* p = a.data();
  for (int k = 0, n = npix(a); k < n; ++k) p[k] = f(p[k]);
  return a;
}

// The same, background included.
template <class P, class F>
IMG<P> no_lugar_e_fundo(IMG<P> a, F f) {
  a.fundo() = f(a.fundo());
  return no_lugar(std::move(a), f);
}

template <class T> T menor(T a, T b) { return b < a ? b : a; }
template <class T> T maior(T a, T b) { return a < b ? b : a; }

BYTE satura_byte(int v) { return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// x op v for a float v, exactly as if computed in extended precision and
// rounded once to float. When x is itself a float, the float operation is
// that result (a sum or product of two floats rounded to 64 bits and then to
// 24 equals the direct rounding), so only other scalars pay for the wider
// arithmetic.
template <class F>
IMGFLT escalar_flt(const IMGFLT& a, double x, F op) {
  if (std::fabs(x) <= FLT_MAX && static_cast<double>(static_cast<FLT>(x)) == x) {
    const FLT xf = static_cast<FLT>(x);
    return unaria(a, [&](FLT v) { return static_cast<FLT>(op(xf, v)); });
  }
  const long double xl = x;
  return unaria(a, [&](FLT v) { return static_cast<FLT>(op(xl, static_cast<long double>(v))); });
}

IMGBIN bits(const IMGBIN& a, const IMGBIN& b, const char* op,
            std::uint32_t (*f)(std::uint32_t, std::uint32_t)) {
  mesmo_tamanho(a, b, "IMGBIN", op);
  IMGBIN r(a.nl(), a.nc());
  r.fundo() = f(a.fundo(), b.fundo());
  // Whole words: the spare bits past the last column are combined too, which
  // is harmless since nothing reads them as pixels.
  const std::uint32_t* pa = a.data();
  const std::uint32_t* pb = b.data();
  std::uint32_t* pr = r.data();
  for (int k = 0; k < r.nw(); ++k) pr[k] = f(pa[k], pb[k]);
  return r;
}

template <class P>
bool iguais(const IMG<P>& a, const IMG<P>& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc()) return false;
  const P* pa = a.data();
  const P* pb = b.data();
  for (int k = 0, n = npix(a); k < n; ++k)
    if (!(pa[k] == pb[k])) return false;
  return true;
}

template <class P>
long double soma(const IMG<P>& a) {
  long double s = 0;
  const P* p = a.data();
  for (int k = 0, n = npix(a); k < n; ++k) s += p[k];
  return s;
}

}  // namespace

// --- Two images ---------------------------------------------------------------

IMGFLT operator+(const IMGFLT& a, const IMGFLT& b) {
  return binaria(a, b, "IMGFLT", "operator+", [](FLT x, FLT y) { return x + y; });
}
IMGFLT operator-(const IMGFLT& a, const IMGFLT& b) {
  return binaria(a, b, "IMGFLT", "operator-", [](FLT x, FLT y) { return x - y; });
}
IMGFLT operator*(const IMGFLT& a, const IMGFLT& b) {
  return binaria(a, b, "IMGFLT", "operator*", [](FLT x, FLT y) { return x * y; });
}
IMGFLT operator/(const IMGFLT& a, const IMGFLT& b) {
  return binaria(a, b, "IMGFLT", "operator/", [](FLT x, FLT y) { return x / y; });
}
IMGFLT operator&&(const IMGFLT& a, const IMGFLT& b) {
  return binaria(a, b, "IMGFLT", "operator&&", menor<FLT>);
}
IMGFLT operator||(const IMGFLT& a, const IMGFLT& b) {
  return binaria(a, b, "IMGFLT", "operator||", maior<FLT>);
}

IMGDBL operator+(const IMGDBL& a, const IMGDBL& b) {
  return binaria(a, b, "IMGDBL", "operator+", [](double x, double y) { return x + y; });
}
IMGDBL operator-(const IMGDBL& a, const IMGDBL& b) {
  return binaria(a, b, "IMGDBL", "operator-", [](double x, double y) { return x - y; });
}
IMGDBL operator*(const IMGDBL& a, const IMGDBL& b) {
  return binaria(a, b, "IMGDBL", "operator*", [](double x, double y) { return x * y; });
}
IMGDBL operator/(const IMGDBL& a, const IMGDBL& b) {
  return binaria(a, b, "IMGDBL", "operator/", [](double x, double y) { return x / y; });
}

IMGCPX operator+(const IMGCPX& a, const IMGCPX& b) {
  return binaria(a, b, "IMGCPX", "operator+", [](CPXF x, CPXF y) { return x + y; });
}
IMGCPX operator-(const IMGCPX& a, const IMGCPX& b) {
  return binaria(a, b, "IMGCPX", "operator-", [](CPXF x, CPXF y) { return x - y; });
}
IMGCPX operator*(const IMGCPX& a, const IMGCPX& b) {
  return binaria(a, b, "IMGCPX", "operator*", [](CPXF x, CPXF y) { return x * y; });
}
IMGCPX operator/(const IMGCPX& a, const IMGCPX& b) {
  return binaria(a, b, "IMGCPX", "operator/", [](CPXF x, CPXF y) { return x / y; });
}

IMGGRY add(const IMGGRY& a, const IMGGRY& b) {
  return binaria(a, b, "IMGGRY", "add", [](BYTE x, BYTE y) { return satura_byte(int(x) + int(y)); });
}
IMGGRY sub(const IMGGRY& a, const IMGGRY& b) {
  return binaria(a, b, "IMGGRY", "sub", [](BYTE x, BYTE y) { return satura_byte(int(x) - int(y)); });
}
IMGGRY operator&&(const IMGGRY& a, const IMGGRY& b) {
  return binaria(a, b, "IMGGRY", "operator&&", menor<BYTE>);
}
IMGGRY operator||(const IMGGRY& a, const IMGGRY& b) {
  return binaria(a, b, "IMGGRY", "operator||", maior<BYTE>);
}

IMGCOR operator&&(const IMGCOR& a, const IMGCOR& b) {
  return binaria(a, b, "IMGCOR", "operator&&", [](COR x, COR y) {
    return COR{menor(x.r, y.r), menor(x.g, y.g), menor(x.b, y.b)};
  });
}
IMGCOR operator||(const IMGCOR& a, const IMGCOR& b) {
  return binaria(a, b, "IMGCOR", "operator||", [](COR x, COR y) {
    return COR{maior(x.r, y.r), maior(x.g, y.g), maior(x.b, y.b)};
  });
}

IMGBIN operator^(const IMGBIN& a, const IMGBIN& b) {
  return bits(a, b, "operator^", [](std::uint32_t x, std::uint32_t y) { return x ^ y; });
}
IMGBIN operator&&(const IMGBIN& a, const IMGBIN& b) {
  return bits(a, b, "operator&&", [](std::uint32_t x, std::uint32_t y) { return x & y; });
}
IMGBIN operator||(const IMGBIN& a, const IMGBIN& b) {
  return bits(a, b, "operator||", [](std::uint32_t x, std::uint32_t y) { return x | y; });
}

// --- One image ----------------------------------------------------------------

IMGFLT operator+(double x, const IMGFLT& a) {
  return escalar_flt(a, x, [](auto s, auto v) { return s + v; });
}
IMGFLT operator+(const IMGFLT& a, double x) { return x + a; }
IMGFLT operator*(double x, const IMGFLT& a) {
  return escalar_flt(a, x, [](auto s, auto v) { return s * v; });
}
IMGFLT operator*(const IMGFLT& a, double x) { return x * a; }
IMGFLT operator-(const IMGFLT& a) {
  return unaria(a, [](FLT v) { return -v; });
}
IMGDBL operator+(double x, const IMGDBL& a) {
  return unaria(a, [x](double v) { return x + v; });
}
IMGDBL operator+(const IMGDBL& a, double x) { return x + a; }
IMGDBL operator*(double x, const IMGDBL& a) {
  return unaria(a, [x](double v) { return x * v; });
}
IMGDBL operator*(const IMGDBL& a, double x) { return x * a; }
IMGDBL operator-(const IMGDBL& a) {
  return unaria(a, [](double v) { return -v; });
}

IMGFLT complemento(const IMGFLT& a) {
  return unaria(a, [](FLT v) { return 1.0f - v; });
}
IMGDBL complemento(const IMGDBL& a) {
  return unaria(a, [](double v) { return 1.0 - v; });
}
IMGGRY complemento(const IMGGRY& a) {
  return unaria(a, [](BYTE v) { return static_cast<BYTE>(~v); });
}

IMGFLT quadrado(const IMGFLT& a) {
  return unaria(a, [](FLT v) { return v * v; });
}

IMGFLT abs(IMGFLT a) {
  return no_lugar(std::move(a), [](FLT v) { return std::fabs(v); });
}
IMGDBL abs(IMGDBL a) {
  return no_lugar(std::move(a), [](double v) { return std::fabs(v); });
}
IMGFLT semnegativos(IMGFLT a) {
  return no_lugar(std::move(a), [](FLT v) { return v < 0 ? 0.0f : v; });
}
IMGFLT tiramedia(IMGFLT a) {
  const int n = npix(a);
  if (n == 0) return a;
  const long double m = soma(a) / n;
  return no_lugar(std::move(a), [m](FLT v) { return static_cast<FLT>(v - m); });
}

IMGFLT normaliza01(const IMGFLT& a) {
  long double lo = minimo(a), hi = maximo(a);
  if (hi - lo < 1e-20L) return a;
  const long double d = hi - lo;
  IMGFLT r(a.nl(), a.nc());
  const FLT* pa = a.data();
  FLT* pr = r.data();
  for (int k = 0, n = npix(r); k < n; ++k) pr[k] = static_cast<FLT>((pa[k] - lo) / d);
  return r;
}

IMGCPX operator+(FLT x, IMGCPX a) {
  return no_lugar_e_fundo(std::move(a), [x](CPXF v) { return CPXF(v.real() + x, v.imag()); });
}
IMGCPX operator+(IMGCPX a, FLT x) { return x + std::move(a); }
IMGCPX operator*(FLT x, IMGCPX a) {
  return no_lugar_e_fundo(std::move(a), [x](CPXF v) { return CPXF(v.real() * x, v.imag() * x); });
}
IMGCPX operator*(IMGCPX a, FLT x) { return x * std::move(a); }
IMGCPX operator*(CPXF c, IMGCPX a) {
  return no_lugar_e_fundo(std::move(a), [c](CPXF v) { return v * c; });
}
IMGCPX operator*(IMGCPX a, CPXF c) { return c * std::move(a); }

IMGGRY operator+(int x, const IMGGRY& a) {
  // In 64 bits, so that no int x overflows the sum.
  const long long xl = x;
  return unaria(a, [xl](BYTE v) {
    const long long s = xl + v;
    return static_cast<BYTE>(s < 0 ? 0 : (s > 255 ? 255 : s));
  });
}
IMGGRY operator+(const IMGGRY& a, int x) { return x + a; }

// --- Comparisons and summaries ---------------------------------------------------

bool operator==(const IMGGRY& a, const IMGGRY& b) { return iguais(a, b); }
bool operator!=(const IMGGRY& a, const IMGGRY& b) { return !iguais(a, b); }
bool operator==(const IMGFLT& a, const IMGFLT& b) { return iguais(a, b); }
bool operator!=(const IMGFLT& a, const IMGFLT& b) { return !iguais(a, b); }

bool operator<(const IMGGRY& a, const IMGGRY& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc()) return false;
  const BYTE* pa = a.data();
  const BYTE* pb = b.data();
  for (int k = 0, n = npix(a); k < n; ++k)
    if (!(pa[k] < pb[k])) return false;
  return true;
}

int maximo(const IMGSHT& a) {
  int m = -32768;
  const SHT* p = a.data();
  for (int k = 0, n = npix(a); k < n; ++k)
    if (p[k] > m) m = p[k];
  return m;
}

double media(const IMGFLT& a) { return static_cast<double>(soma(a) / npix(a)); }
double media(const IMGDBL& a) { return static_cast<double>(soma(a) / npix(a)); }

double minimo(const IMGFLT& a) {
  double m = 1e30;
  const FLT* p = a.data();
  for (int k = 0, n = npix(a); k < n; ++k)
    if (p[k] < m) m = p[k];
  return m;
}

double maximo(const IMGFLT& a) {
  double m = -1e30;
  const FLT* p = a.data();
  for (int k = 0, n = npix(a); k < n; ++k)
    if (p[k] > m) m = p[k];
  return m;
}

}  // namespace imagorix
