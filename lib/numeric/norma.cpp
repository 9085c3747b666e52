// Vector and matrix norms; the range of a vector.
#include "numeric/norma.h"

#include <cmath>
#include <limits>

#include "base/erro.h"

namespace imagorix {

namespace {

double norma(const double* x, int n, double p) {
  double s = 0.0;
  if (p == 2.0) {
    for (int i = 0; i < n; ++i) s += x[i] * x[i];
    return std::sqrt(s);
  }
  if (p == 1e30) {
    for (int i = 0; i < n; ++i)
      if (std::fabs(x[i]) > s) s = std::fabs(x[i]);
    return s;
  }
  if (p > 1.0) {
    for (int i = 0; i < n; ++i) s += std::pow(std::fabs(x[i]), p);
    return std::pow(s, 1.0 / p);
  }
  if (p == 1.0) {
    for (int i = 0; i < n; ++i) s += std::fabs(x[i]);
    return s;
  }
  // Also a NaN p, which no test above took.
  erro("Erro: p<1.0");
}

}  // namespace

double norma(const VETOR<double>& x, double p) { return norma(x.data(), x.n() > 0 ? x.n() : 0, p); }
double norma(const MATRIZ<double>& x, double p) { return norma(x.data(), x.n(), p); }

void FuncaoMinMax(const VETOR<double>& v, double& min, double& max) {
  // Starting from the infinities rather than from finite bounds, values
  // beyond any bound still count.
  min = std::numeric_limits<double>::infinity();
  max = -min;
  for (int i = 0; i < v.n(); ++i) {
    if (v(i) > max) max = v(i);
    if (v(i) < min) min = v(i);
  }
  if (!(min < max)) erro("Erro inesperado FuncaoMinMax");
}

}  // namespace imagorix
