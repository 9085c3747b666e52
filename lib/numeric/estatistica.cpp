// Vector statistics.
#include "numeric/estatistica.h"

#include <cmath>
#include <string>

#include "base/erro.h"

namespace imagorix {

namespace {

// The sums below pair the elements of x and y; vectors of different sizes
// would pair them wrongly.
void mesmo_tamanho(const VETOR<double>& x, const VETOR<double>& y, const char* rotina) {
  if (x.n() != y.n()) erro(std::string("Erro: Vetores de tamanhos diferentes em ") + rotina);
}

double produto(const VETOR<double>& x, const VETOR<double>& y) {
  double s = 0.0;
  for (int i = 0; i < x.n(); ++i) s += x(i) * y(i);
  return s;
}

}  // namespace

void SomaUnitaria(VETOR<double>& v) {
  double s = 0.0;
  for (int i = 0; i < v.n(); ++i) s += std::fabs(v(i));
  for (int i = 0; i < v.n(); ++i) v(i) /= s;
}

double RemoveMedia(VETOR<double>& v) {
  double s = 0.0;
  for (int i = 0; i < v.n(); ++i) s += v(i);
  const double m = s / v.n();
  for (int i = 0; i < v.n(); ++i) v(i) -= m;
  return m;
}

VETOR<double> Centraliza(VETOR<double>& v) {
  RemoveMedia(v);
  return v;
}

VETOR<double> Padroniza(VETOR<double>& v, double c) {
  const int n = v.n();
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += v(i);
  const double m = s / n;
  double q = 0.0;
  for (int i = 0; i < n; ++i) q += (v(i) - m) * (v(i) - m);
  const double h = std::sqrt(q / (n - 1)) * c + 1e-20;
  for (int i = 0; i < n; ++i) {
    double z = (v(i) - m + 1e-20) / h;
    if (z > 1.0) z = 1.0;
    if (z < -1.0) z = -1.0;
    v(i) = z;
  }
  return v;
}

void Regressao(VETOR<double>& x, VETOR<double>& y, double eps, double& inclinacao,
               double& intercepto, double& correlacao) {
  mesmo_tamanho(x, y, "Regressao");
  const double mx = RemoveMedia(x), my = RemoveMedia(y);
  const double sxy = produto(x, y), sxx = produto(x, x), syy = produto(y, y);
  inclinacao = sxy / syy;
  const double a = std::fabs(inclinacao);
  correlacao = (eps >= a || a >= 1.0 / eps) ? 0.0 : sxy / std::sqrt(sxx * syy);
  intercepto = mx - inclinacao * my;
}

double IndiceSimilaridade(VETOR<double>& x, VETOR<double>& y, double alfa, double beta, double gama) {
  mesmo_tamanho(x, y, "IndiceSimilaridade");
  const double mx = RemoveMedia(x), my = RemoveMedia(y);
  const double sxx = produto(x, x), syy = produto(y, y), sxy = produto(x, y);
  const double l = (2.0 * mx * my + 1e-20) / (mx * mx + my * my + 1e-20);
  const double c = (2.0 * std::sqrt(sxx * syy) + 1e-20) / (sxx + syy + 1e-20);
  const double s = (sxy + 1e-20) / (std::sqrt(sxx * syy) + 1e-20);
  return std::pow(l, alfa) * std::pow(c, beta) * std::pow(s, gama);
}

}  // namespace imagorix
