// LU decomposition, substitution, linear systems, determinant and inverse.
#include "numeric/lu.h"

#include <cmath>
#include <utility>

#include "base/algebra.h"
#include "base/erro.h"

namespace imagorix {

namespace {

const char* const SINGULAR = "Erro: Singular matrix in routine LUDCMP";

// LUDCMP's work; true when a pivot came out exactly zero and was replaced.
bool decompoe(MATRIZ<double>& a, VETOR<int>& indx, double& d) {
  if (a.nl() != a.nc()) erro("Erro: Matriz a nao-quadrada em LUDCMP");
  const int n = a.nl();
  indx.resize(n);
  d = 1.0;
  // Each row's scale makes the pivot choice independent of the rows' units.
  VETOR<double> escala(n);
  for (int i = 0; i < n; ++i) {
    double big = 0.0;
    for (int j = 0; j < n; ++j) {
      const double t = std::fabs(a(i, j));
      if (t > big) big = t;
    }
    if (big == 0.0) erro(SINGULAR);
    escala(i) = 1.0 / big;
  }
  bool zero = false;
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < j; ++i) {
      double soma = a(i, j);
      for (int k = 0; k < i; ++k) soma -= a(i, k) * a(k, j);
      a(i, j) = soma;
    }
    double big = 0.0;
    int imax = j;  // stays put only when every candidate is NaN
    for (int i = j; i < n; ++i) {
      double soma = a(i, j);
      for (int k = 0; k < j; ++k) soma -= a(i, k) * a(k, j);
      a(i, j) = soma;
      const double t = escala(i) * std::fabs(soma);
      if (t >= big) {  // the last of equal candidates wins
        big = t;
        imax = i;
      }
    }
    if (imax != j) {
      for (int k = 0; k < n; ++k) std::swap(a(imax, k), a(j, k));
      d = -d;
      escala(imax) = escala(j);
    }
    indx(j) = imax;
    if (a(j, j) == 0.0) {
      a(j, j) = 1e-20;
      zero = true;
    }
    if (j != n - 1) {
      const double r = 1.0 / a(j, j);
      for (int i = j + 1; i < n; ++i) a(i, j) *= r;
    }
  }
  return zero;
}

// Decomposes a copy of a, ending the program when a is singular.
MATRIZ<double> decompoe_copia(const MATRIZ<double>& a, VETOR<int>& indx, double& d) {
  MATRIZ<double> lu(a);
  if (decompoe(lu, indx, d)) erro(SINGULAR);
  return lu;
}

// x with a x = b, each column of b solved on one decomposition of a copy of
// the square a (b has a's rows).
MATRIZ<double> resolve_colunas(const MATRIZ<double>& a, const MATRIZ<double>& b) {
  const int n = a.nl(), m = b.nc();
  VETOR<int> indx;
  double d;
  const MATRIZ<double> lu = decompoe_copia(a, indx, d);
  MATRIZ<double> x(n, m);
  VETOR<double> coluna(n);
  for (int j = 0; j < m; ++j) {
    for (int i = 0; i < n; ++i) coluna(i) = b(i, j);
    lusubst(lu, indx, coluna);
    for (int i = 0; i < n; ++i) x(i, j) = coluna(i);
  }
  return x;
}

}  // namespace

void LUDCMP(MATRIZ<double>& a, VETOR<int>& indx, double& d) { decompoe(a, indx, d); }

void lusubst(const MATRIZ<double>& a, const VETOR<int>& indx, VETOR<double>& b) {
  const int n = a.nl();
  // Forward substitution; the sums start at the first non-zero entry, since
  // the leading zeros of b contribute nothing.
  int inicio = -1;
  for (int i = 0; i < n; ++i) {
    const int ip = indx(i);
    double soma = b(ip);
    b(ip) = b(i);
    if (inicio >= 0) {
      for (int j = inicio; j < i; ++j) soma -= a(i, j) * b(j);
    } else if (soma != 0.0) {
      inicio = i;
    }
    b(i) = soma;
  }
  for (int i = n - 1; i >= 0; --i) {
    double soma = b(i);
    for (int j = i + 1; j < n; ++j) soma -= a(i, j) * b(j);
    b(i) = soma / a(i, i);
  }
}

VETOR<double> lineq(const MATRIZ<double>& a, const VETOR<double>& b) {
  if (a.nl() != a.nc()) erro("Erro: Matriz a nao-quadrada em lineq");
  if (b.n() != a.nl()) erro("Erro: Dimensao do vetor b");
  VETOR<int> indx;
  double d;
  const MATRIZ<double> lu = decompoe_copia(a, indx, d);
  VETOR<double> x(b);
  lusubst(lu, indx, x);
  return x;
}

MATRIZ<double> lineq(const MATRIZ<double>& a, const MATRIZ<double>& b) {
  if (a.nl() != a.nc()) erro("Erro: Matriz a nao-quadrada em lineq");
  if (b.nl() != a.nl()) erro("Erro: Dimensao do matriz b");
  return resolve_colunas(a, b);
}

double det(const MATRIZ<double>& a) {
  if (a.nl() != a.nc()) erro("Erro: Matriz a nao-quadrada em det");
  VETOR<int> indx;
  double d;
  const MATRIZ<double> lu = decompoe_copia(a, indx, d);
  for (int j = 0; j < a.nl(); ++j) d *= lu(j, j);
  return d;
}

MATRIZ<double> inv(const MATRIZ<double>& a) {
  if (a.nl() != a.nc()) erro("Erro: Matriz a nao-quadrada em inv");
  return resolve_colunas(a, identidade(a.nl()));
}

}  // namespace imagorix
