// Octant and diamond pseudo-angles.
#include "numeric/angulo.h"

#include <cmath>

#include "base/erro.h"

namespace imagorix {

double AnguloOctante(const PONTO2& p) {
  const double x = p.x, y = p.y;
  if (std::fabs(x) < 1e-20 && std::fabs(y) < 1e-20) erro("Erro: Vetor nulo");
  if (std::fabs(y) < std::fabs(x)) {
    if (x > 0.0) {
      const double r = y / x;
      return r < 0.0 ? r + 8.0 : r;
    }
    return y / x + 4.0;
  }
  return y > 0.0 ? 2.0 - x / y : 6.0 - x / y;
}

double AnguloDiamante(double x, double y) {
  const double s = std::fabs(x) + std::fabs(y);
  if (s <= 1e-20) return 0.0;
  const double u = x / s, w = y / s;
  if (u > 0.0 && w >= 0.0) return w;
  if (u <= 0.0 && w > 0.0) return 1.0 - u;
  if (u < 0.0 && w <= 0.0) return 2.0 - w;
  if (w < 0.0) return u + 3.0;
  return 0.0;
}

}  // namespace imagorix
