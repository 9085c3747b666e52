// Gauss-Jordan elimination with full pivoting: the inverse of a matrix and
// the solutions of a set of linear systems in one pass.
#pragma once
#include "base/matriz.h"

namespace imagorix {

// Replaces a (n x n) by its inverse and each column of b (n rows) by the
// solution of a x = that column; a b with no columns asks for the inverse
// only. Returns 0 on success, or:
//   1  a is not square            (a and b untouched)
//   2  b has other than n rows    (a and b untouched)
//   3  a pivot column came up twice (singular)
//   4  a pivot is zero (singular)
// After 3 or 4, a and b hold the elimination as far as it went.
int gaussj(MATRIZ<double>& a, MATRIZ<double>& b);

// gaussj for callers that cannot go on without the result: a status other
// than 0 ends the program.
void GAUSSJ(MATRIZ<double>& a, MATRIZ<double>& b);

}  // namespace imagorix
