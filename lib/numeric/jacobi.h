// Eigenvalues and eigenvectors of a real symmetric matrix by Jacobi
// rotations, and their ordering.
#pragma once
#include "base/matriz.h"
#include "base/vetor.h"

namespace imagorix {

// Eigenvalues of the symmetric matrix a in d and the matching unit
// eigenvectors in the columns of v (both resized to n); nrot counts the
// rotations. a must be exactly symmetric. Its elements above the diagonal
// are destroyed; the diagonal and the part below are kept.
void JACOBI(MATRIZ<double>& a, VETOR<double>& d, MATRIZ<double>& v, int& nrot);

// Sorts the eigenvalues d into descending order, moving the columns of v
// (n x n for the n values of d) with them.
void eigsort(VETOR<double>& d, MATRIZ<double>& v);

// JACOBI then eigsort, on a copy of a: the caller's matrix is kept.
void eigsym(const MATRIZ<double>& a, VETOR<double>& d, MATRIZ<double>& v);

}  // namespace imagorix
