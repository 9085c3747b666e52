// Statistics of vectors of doubles: normalisations, centring, regression and
// correlation, and a similarity index. Means and variances of empty vectors
// come out as NaN.
#pragma once
#include "base/vetor.h"

namespace imagorix {

// Divides every element by the sum of the magnitudes, so that they add up
// to 1 in magnitude.
void SomaUnitaria(VETOR<double>& v);

// Subtracts the mean from every element and returns the mean.
double RemoveMedia(VETOR<double>& v);
// Subtracts the mean from every element and returns the centred vector.
VETOR<double> Centraliza(VETOR<double>& v);

// Standardises v in place with the factor c: each x becomes (x - m) / (s c),
// m the mean and s the sample standard deviation (a tiny 1e-20 keeps a
// constant vector finite), clamped to [-1, 1]. Returns the changed vector.
VETOR<double> Padroniza(VETOR<double>& v, double c);

// Least-squares line x = inclinacao * y + intercepto of x on y, and the
// correlation of x and y, taken as 0 when the slope's magnitude is not
// between eps and 1/eps. Both vectors are centred in place. They must have
// the same size.
void Regressao(VETOR<double>& x, VETOR<double>& y, double eps, double& inclinacao,
               double& intercepto, double& correlacao);

// Similarity of x and y as l^alfa * c^beta * s^gama: l compares the means,
// c the spreads and s the shapes (the correlation); 1 for equal vectors.
// Both vectors are centred in place. They must have the same size.
double IndiceSimilaridade(VETOR<double>& x, VETOR<double>& y, double alfa, double beta, double gama);

}  // namespace imagorix
