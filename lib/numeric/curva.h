// Points of a graph, and finite differences along closed curves.
#pragma once
#include "base/ponto.h"
#include "base/vetor.h"

namespace imagorix {

// out(i) = (i, v(i)); out takes the size of v.
void PontosGrafico(const VETOR<double>& v, VETOR<PONTO2>& out);

// For a closed curve p (its last point joins its first): the second
// difference p(i+1) - 2 p(i) + p(i-1) and the central difference
// (p(i+1) - p(i-1)) / 2 at every point.
VETOR<PONTO2> SegundaDiferenca(const VETOR<PONTO2>& p);
VETOR<PONTO2> DiferencaCentral(const VETOR<PONTO2>& p);

}  // namespace imagorix
