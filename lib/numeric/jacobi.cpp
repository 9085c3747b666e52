// Jacobi eigenvalue method and the ordering of its results.
#include "numeric/jacobi.h"

#include <cmath>
#include <utility>

#include "base/erro.h"

namespace imagorix {

namespace {

// One rotation of the pair (a(i,j), a(k,l)).
inline void gira(MATRIZ<double>& a, int i, int j, int k, int l, double s, double tau) {
  const double g = a(i, j), h = a(k, l);
  a(i, j) = g - s * (h + g * tau);
  a(k, l) = h + s * (g - h * tau);
}

}  // namespace

void JACOBI(MATRIZ<double>& a, VETOR<double>& d, MATRIZ<double>& v, int& nrot) {
  if (a.nl() != a.nc()) erro("Erro: Matriz a nao-quadrada");
  const int n = a.nl();
  for (int i = 1; i < n; ++i)
    for (int j = 0; j < i; ++j)
      if (!(a(i, j) == a(j, i))) erro("Erro: Matriz a nao-simetrica");
  d.resize(n);
  v.resize(n, n);
  // b holds the diagonal as of the last sweep and z what the rotations of
  // this sweep added to it, so that d is refreshed without drift.
  VETOR<double> b(n), z(n);
  for (int p = 0; p < n; ++p) {
    for (int q = 0; q < n; ++q) v(p, q) = 0.0;
    v(p, p) = 1.0;
    b(p) = d(p) = a(p, p);
    z(p) = 0.0;
  }
  nrot = 0;
  for (int sweep = 1; sweep <= 50; ++sweep) {
    double sm = 0.0;
    for (int p = 0; p < n - 1; ++p)
      for (int q = p + 1; q < n; ++q) sm += std::fabs(a(p, q));
    if (sm == 0.0) return;
    // Early sweeps rotate only the larger elements.
    const double tresh = sweep < 4 ? 0.2 * sm / (double(n) * n) : 0.0;
    for (int p = 0; p < n - 1; ++p) {
      for (int q = p + 1; q < n; ++q) {
        const double g = 100.0 * std::fabs(a(p, q));
        // Once the sweeps have settled, an element too small to change
        // either diagonal entry is dropped without a rotation.
        if (sweep > 4 && std::fabs(d(p)) + g == std::fabs(d(p)) &&
            std::fabs(d(q)) + g == std::fabs(d(q))) {
          a(p, q) = 0.0;
        } else if (std::fabs(a(p, q)) > tresh) {
          double h = d(q) - d(p);
          double t;
          if (std::fabs(h) + g == std::fabs(h)) {
            t = a(p, q) / h;
          } else {
            const double theta = 0.5 * h / a(p, q);
            t = 1.0 / (std::fabs(theta) + std::sqrt(1.0 + theta * theta));
            if (theta < 0.0) t = -t;
          }
          const double c = 1.0 / std::sqrt(1 + t * t);
          const double s = t * c;
          const double tau = s / (1.0 + c);
          h = t * a(p, q);
          z(p) -= h;
          z(q) += h;
          d(p) -= h;
          d(q) += h;
          a(p, q) = 0.0;
          for (int j = 0; j < p; ++j) gira(a, j, p, j, q, s, tau);
          for (int j = p + 1; j < q; ++j) gira(a, p, j, j, q, s, tau);
          for (int j = q + 1; j < n; ++j) gira(a, p, j, q, j, s, tau);
          for (int j = 0; j < n; ++j) gira(v, j, p, j, q, s, tau);
          ++nrot;
        }
      }
    }
    for (int p = 0; p < n; ++p) {
      b(p) += z(p);
      d(p) = b(p);
      z(p) = 0.0;
    }
  }
  erro("Erro: Too many iterations in routine JACOBI");
}

void eigsort(VETOR<double>& d, MATRIZ<double>& v) {
  const int n = d.n();
  if (v.nl() != n || v.nc() != n) erro("Erro: dimensoes invalidas");
  for (int i = 0; i < n - 1; ++i) {
    int k = i;
    double p = d(i);
    for (int j = i + 1; j < n; ++j) {
      if (d(j) >= p) {  // a later index wins a tie
        k = j;
        p = d(j);
      }
    }
    if (k != i) {
      d(k) = d(i);
      d(i) = p;
      for (int j = 0; j < n; ++j) std::swap(v(j, i), v(j, k));
    }
  }
}

void eigsym(const MATRIZ<double>& a, VETOR<double>& d, MATRIZ<double>& v) {
  MATRIZ<double> c(a);
  int nrot;
  JACOBI(c, d, v, nrot);
  eigsort(d, v);
}

}  // namespace imagorix
