// Graph points and finite differences along closed curves.
#include "numeric/curva.h"

namespace imagorix {

void PontosGrafico(const VETOR<double>& v, VETOR<PONTO2>& out) {
  out.resize(v.n());
  for (int i = 0; i < v.n(); ++i) out(i) = PONTO2(i, v(i));
}

// Mode 'r' wraps the indices around, which closes the curve.
VETOR<PONTO2> SegundaDiferenca(const VETOR<PONTO2>& p) {
  VETOR<PONTO2> out(p.n());
  for (int i = 0; i < p.n(); ++i) out(i) = p(i + 1, 'r') - 2.0 * p(i) + p(i - 1, 'r');
  return out;
}

VETOR<PONTO2> DiferencaCentral(const VETOR<PONTO2>& p) {
  VETOR<PONTO2> out(p.n());
  for (int i = 0; i < p.n(); ++i) out(i) = (p(i + 1, 'r') - p(i - 1, 'r')) / 2.0;
  return out;
}

}  // namespace imagorix
