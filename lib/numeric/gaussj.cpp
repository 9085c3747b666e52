// Gauss-Jordan elimination with full pivoting.
#include "numeric/gaussj.h"

#include <cmath>
#include <utility>

#include "base/erro.h"
#include "base/vetor.h"

namespace imagorix {

int gaussj(MATRIZ<double>& a, MATRIZ<double>& b) {
  if (a.nl() != a.nc()) return 1;
  const int n = a.nl(), m = b.nc();
  if (b.nl() != n && m > 0) return 2;
  VETOR<int> indxc(n), indxr(n), ipiv(n);
  for (int j = 0; j < n; ++j) ipiv(j) = 0;
  for (int i = 0; i < n; ++i) {
    double big = 0.0;
    int irow = -1, icol = -1;
    for (int j = 0; j < n; ++j) {
      if (ipiv(j) == 1) continue;
      for (int k = 0; k < n; ++k) {
        if (ipiv(k) == 0) {
          if (std::fabs(a(j, k)) >= big) {  // the last of equal values wins
            big = std::fabs(a(j, k));
            irow = j;
            icol = k;
          }
        } else if (ipiv(k) > 1) {
          return 3;
        }
      }
    }
    // Only NaN elements can leave every candidate unchosen.
    if (icol < 0) erro("Erro inesperado");
    ++ipiv(icol);
    // The pivot goes to the diagonal by a row exchange; the columns it
    // implies are put back in order at the end.
    if (irow != icol) {
      for (int l = 0; l < n; ++l) std::swap(a(irow, l), a(icol, l));
      for (int l = 0; l < m; ++l) std::swap(b(irow, l), b(icol, l));
    }
    indxr(i) = irow;
    indxc(i) = icol;
    if (a(icol, icol) == 0.0) return 4;
    const double pivinv = 1.0 / a(icol, icol);
    a(icol, icol) = 1.0;
    for (int l = 0; l < n; ++l) a(icol, l) *= pivinv;
    for (int l = 0; l < m; ++l) b(icol, l) *= pivinv;
    for (int ll = 0; ll < n; ++ll) {
      if (ll == icol) continue;
      const double dum = a(ll, icol);
      a(ll, icol) = 0.0;
      for (int l = 0; l < n; ++l) a(ll, l) -= a(icol, l) * dum;
      for (int l = 0; l < m; ++l) b(ll, l) -= b(icol, l) * dum;
    }
  }
  for (int l = n - 1; l >= 0; --l) {
    if (indxr(l) != indxc(l))
      for (int k = 0; k < n; ++k) std::swap(a(k, indxr(l)), a(k, indxc(l)));
  }
  return 0;
}

void GAUSSJ(MATRIZ<double>& a, MATRIZ<double>& b) {
  if (gaussj(a, b) != 0) erro("Error in gaussj");
}

}  // namespace imagorix
