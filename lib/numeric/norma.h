// Norms of vectors and matrices, and the range of a vector.
#pragma once
#include "base/matriz.h"
#include "base/vetor.h"

namespace imagorix {

// The p-norm of the elements: p = 2 the Euclidean norm, p = 1e30 the largest
// magnitude (0 when empty), any other p > 1 (sum |x|^p)^(1/p), p = 1 the sum
// of magnitudes. p below 1 ends the program. A matrix counts all its
// elements as one vector.
double norma(const VETOR<double>& x, double p);
double norma(const MATRIZ<double>& x, double p);

// The smallest and largest elements of v. A vector without two different
// values (empty, one element, all equal) ends the program.
void FuncaoMinMax(const VETOR<double>& v, double& min, double& max);

}  // namespace imagorix
