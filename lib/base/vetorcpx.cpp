// Vectors of complex doubles.
#include "base/vetorcpx.h"

#include <cmath>

#include "base/erro.h"

namespace imagorix {

namespace {

template <class R, class F>
VETOR<R> cada(const VETOR<CPXD>& v, F f) {
  VETOR<R> r(v.n());
  for (int i = 0; i < v.n(); ++i) r.data()[i] = f(v.data()[i]);
  return r;
}

}  // namespace

double modulo(const CPXD& z) {
  const double re = z.real(), im = z.imag();
  const double m = std::fmax(std::fabs(re), std::fabs(im));
  if (m == 0) return 0;
  const double a = re / m, b = im / m;
  return m * std::sqrt(a * a + b * b);
}

VETOR<CPXD> operator*(const VETOR<CPXD>& a, const VETOR<CPXD>& b) {
  if (a.n() != b.n()) erro("Erro VETOR<CPXD> operator*: tamanhos diferentes");
  VETOR<CPXD> r(a.n());
  for (int i = 0; i < a.n(); ++i) {
    // Written out, so that infinities and NaNs follow the plain formula
    // rather than the runtime's recovery rules for complex products.
    const CPXD x = a.data()[i], y = b.data()[i];
    r.data()[i] = CPXD(x.real() * y.real() - x.imag() * y.imag(), x.real() * y.imag() + x.imag() * y.real());
  }
  return r;
}

VETOR<CPXD> parapolar(VETOR<CPXD>& v) {
  for (int i = 0; i < v.n(); ++i) {
    CPXD& z = v.data()[i];
    z = CPXD(modulo(z), std::atan2(z.imag(), z.real()));
  }
  return v;
}

VETOR<CPXD> depolar(VETOR<CPXD>& v) {
  for (int i = 0; i < v.n(); ++i) {
    CPXD& z = v.data()[i];
    z = CPXD(z.real() * std::cos(z.imag()), z.real() * std::sin(z.imag()));
  }
  return v;
}

VETOR<double> parte_real(const VETOR<CPXD>& v) { return cada<double>(v, [](CPXD z) { return z.real(); }); }
VETOR<double> parte_imag(const VETOR<CPXD>& v) { return cada<double>(v, [](CPXD z) { return z.imag(); }); }
VETOR<double> modulo(const VETOR<CPXD>& v) { return cada<double>(v, [](CPXD z) { return modulo(z); }); }
VETOR<double> fase(const VETOR<CPXD>& v) {
  return cada<double>(v, [](CPXD z) { return std::atan2(z.imag(), z.real()); });
}
VETOR<CPXD> conjugado(const VETOR<CPXD>& v) { return cada<CPXD>(v, [](CPXD z) { return std::conj(z); }); }

}  // namespace imagorix
