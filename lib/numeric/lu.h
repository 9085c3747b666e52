// LU decomposition of a square matrix (Crout's method with implicit partial
// pivoting) and the linear systems, determinant and inverse built on it.
#pragma once
#include "base/matriz.h"
#include "base/vetor.h"

namespace imagorix {

// Replaces a by its LU factors (L below the diagonal with an implicit unit
// diagonal, U on and above it) of the matrix with its rows exchanged as indx
// records: indx(j) is the row exchanged with row j at step j. d is +1 or -1
// by the parity of the exchanges. A row of zeros ends the program; a zero
// pivot met later is replaced by 1e-20 so that the decomposition completes.
void LUDCMP(MATRIZ<double>& a, VETOR<int>& indx, double& d);

// Solves a x = b in place in b, with a and indx from LUDCMP.
void lusubst(const MATRIZ<double>& a, const VETOR<int>& indx, VETOR<double>& b);

// det, inv and lineq decompose a copy of a and leave the caller's matrix as
// it was. A singular matrix (a row of zeros, or a pivot that comes out
// exactly zero) ends the program instead of giving numbers.

// The solution x of a x = b, in a copy of b.
VETOR<double> lineq(const MATRIZ<double>& a, const VETOR<double>& b);
// The matrix X with a X = b, solved column by column.
MATRIZ<double> lineq(const MATRIZ<double>& a, const MATRIZ<double>& b);
double det(const MATRIZ<double>& a);
// Built column by column, solving for each unit vector.
MATRIZ<double> inv(const MATRIZ<double>& a);

}  // namespace imagorix
