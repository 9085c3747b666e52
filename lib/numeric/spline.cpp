// B-spline basis functions.
#include "numeric/spline.h"

#include <cmath>

#include "base/erro.h"

namespace imagorix {

double bs(double x, int grau) {
  const double t = std::fabs(x);
  switch (grau) {
    case 1:
      return t < 1.0 ? 1.0 - t : 0.0;
    case 2:
      if (t < 0.5) return 0.75 - t * t;
      if (t < 1.5) return 0.5 * t * t - 1.5 * t + 1.125;
      return 0.0;
    case 3:
      if (t < 1.0) return (4.0 - 6.0 * t * t + 3.0 * t * t * t) / 6.0;
      if (t < 2.0) return (2.0 - t) * (2.0 - t) * (2.0 - t) / 6.0;
      return 0.0;
    default:
      erro("Erro: bs grau deve ser 1, 2 ou 3");
  }
}

double beta3(double x) { return bs(x, 3); }

double dbeta3(double x) {
  if (1.0 <= x && x < 2.0) return -0.5 * (2.0 - x) * (2.0 - x);
  if (0.0 <= x && x < 1.0) return -2.0 * x + 1.5 * x * x;
  if (-1.0 <= x && x < 0.0) return -2.0 * x - 1.5 * x * x;
  if (-2.0 <= x && x < -1.0) return 0.5 * (x + 2.0) * (x + 2.0);
  return 0.0;
}

double d2beta3(double x) {
  if (1.0 <= x && x < 2.0) return 2.0 - x;
  if (0.0 <= x && x < 1.0) return 3.0 * x - 2.0;
  if (-1.0 <= x && x < 0.0) return -3.0 * x - 2.0;
  if (-2.0 <= x && x < -1.0) return x + 2.0;
  return 0.0;
}

}  // namespace imagorix
