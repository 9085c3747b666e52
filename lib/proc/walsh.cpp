// The Walsh transforms, through the fast Walsh-Hadamard transform.
//
// With g(x) the number whose bit c is P_c(x), the sign of the forward
// transform is (-1) raised to popcount(g(i) & k) + popcount(g(j) & l): the
// forward transform is the natural-order Hadamard transform H read at
// (g(i), g(j)), and the inverse is H of the input placed at (g(k), g(l)).
// g is invertible (its bits are running parities), so both are
// permutations around the O(N^2 log N) butterflies. Sums are in double.
#include "proc/walsh.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "base/erro.h"
#include "base/vetor.h"

namespace imagorix {

namespace {

int ordem = 0;

// Checks a and sets the order; returns the side.
int lado(const IMGFLT& a) {
  const int n = a.nl();
  if (a.nl() != a.nc() || n <= 0) erro("Erro: Imagem deve ser quadrada", "");
  ordem = static_cast<int>(std::floor(std::log(static_cast<double>(n)) / std::log(2.0) + 0.5));
  if (ordem < 0 || ordem > 30 || n != (1 << ordem)) erro("Erro: Imagem deve ser quadrada e de dimensao 2^M", "");
  return n;
}

// g(x) for x = 0 ... 2^m - 1: bit c is the parity of bits m-1-c ... m-1.
VETOR<int> paridades(int m) {
  VETOR<int> g(1 << m);
  for (int x = 0; x < (1 << m); ++x) {
    int v = 0, p = 0;
    for (int c = 0; c < m; ++c) {
      p ^= (x >> (m - 1 - c)) & 1;
      v |= p << c;
    }
    g(x) = v;
  }
  return g;
}

// The unscaled natural-order Hadamard transform of the n x n block, in place:
// along each row, then along the columns, whose butterflies combine whole
// rows.
void hadamard(double* a, int n) {
  const std::size_t N = std::size_t(n);
  for (std::size_t l = 0; l < N; ++l) {
    double* r = a + l * N;
    for (std::size_t h = 1; h < N; h *= 2)
      for (std::size_t i = 0; i < N; i += 2 * h)
        for (std::size_t k = i; k < i + h; ++k) {
          const double u = r[k], v = r[k + h];
          r[k] = u + v;
          r[k + h] = u - v;
        }
  }
  for (std::size_t h = 1; h < N; h *= 2)
    for (std::size_t i = 0; i < N; i += 2 * h)
      for (std::size_t k = i; k < i + h; ++k) {
        double* u = a + k * N;
        double* v = a + (k + h) * N;
        for (std::size_t c = 0; c < N; ++c) {
          const double s = u[c], t = v[c];
          u[c] = s + t;
          v[c] = s - t;
        }
      }
}

IMGFLT transforma(const IMGFLT& a, bool inversa) {
  const int n = lado(a);
  const VETOR<int> perm = paridades(ordem);
  const int* g = perm.data();
  const std::size_t N = std::size_t(n);
  VETOR<double> buf(n * n);
  double* b = buf.data();
  for (std::size_t k = 0; k < N; ++k) {
    const FLT* s = a.row(int(k));
    double* t = inversa ? b + std::size_t(g[k]) * N : b + k * N;
    for (std::size_t l = 0; l < N; ++l) t[inversa ? g[l] : l] = s[l];
  }
  hadamard(b, n);
  IMGFLT r(n, n);
  const double f = 1.0 / n;
  for (std::size_t i = 0; i < N; ++i) {
    const double* s = inversa ? b + i * N : b + std::size_t(g[i]) * N;
    FLT* t = r.row(int(i));
    for (std::size_t j = 0; j < N; ++j) t[j] = static_cast<FLT>(s[inversa ? j : g[j]] * f);
  }
  return r;
}

}  // namespace

IMGFLT walsh(const IMGFLT& a) { return transforma(a, false); }
IMGFLT walsh_inversa(const IMGFLT& a) { return transforma(a, true); }
int ordem_walsh() { return ordem; }

}  // namespace imagorix
