// Helpers of the numeric tests: seeded random matrices and vectors, products
// and distances computed with plain loops of the tests' own, and the
// death-test pattern of the library's one-line messages.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "base/matriz.h"
#include "base/vetor.h"
#include "support/files.h"

namespace numtest {

using imagorix::MATRIZ;
using imagorix::VETOR;

// A vector of the values listed.
inline VETOR<double> vetor(std::initializer_list<double> xs) {
  VETOR<double> v(int(xs.size()));
  int i = 0;
  for (double x : xs) v(i++) = x;
  return v;
}

// erro(a) prints a, a blank (the empty second text) and a line feed.
inline std::string mensagem(const std::string& a) { return testsupport::stderr_line(a + " "); }

// A call that must end the program with a message.
struct Fatal {
  const char* nome;
  std::function<void()> f;
  const char* msg;
};

inline void expect_fatal(const std::vector<Fatal>& casos) {
  for (const auto& c : casos)
    EXPECT_EXIT(c.f(), testing::ExitedWithCode(1), mensagem(c.msg)) << c.nome;
}

inline MATRIZ<double> aleatoria(int nl, int nc, unsigned seed) {
  std::mt19937_64 g(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  MATRIZ<double> a(nl, nc);
  for (int i = 0; i < nl; ++i)
    for (int j = 0; j < nc; ++j) a(i, j) = u(g);
  return a;
}

inline VETOR<double> aleatorio(int n, unsigned seed) {
  std::mt19937_64 g(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  VETOR<double> v(n);
  for (int i = 0; i < n; ++i) v(i) = u(g);
  return v;
}

// Strictly diagonally dominant by rows, so well conditioned at any size.
inline MATRIZ<double> dominante(int n, unsigned seed) {
  MATRIZ<double> a = aleatoria(n, n, seed);
  for (int i = 0; i < n; ++i) a(i, i) = (a(i, i) < 0 ? -1.0 : 1.0) * (n + 1.0);
  return a;
}

inline MATRIZ<double> simetrica(int n, unsigned seed) {
  MATRIZ<double> a = aleatoria(n, n, seed);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < i; ++j) a(j, i) = a(i, j);
  return a;
}

inline MATRIZ<double> identidade(int n) {
  MATRIZ<double> a(n, n);
  for (int i = 0; i < n; ++i) a(i, i) = 1.0;
  return a;
}

inline MATRIZ<double> produto(const MATRIZ<double>& a, const MATRIZ<double>& b) {
  MATRIZ<double> c(a.nl(), b.nc());
  for (int i = 0; i < a.nl(); ++i)
    for (int j = 0; j < b.nc(); ++j) {
      double s = 0;
      for (int k = 0; k < a.nc(); ++k) s += a(i, k) * b(k, j);
      c(i, j) = s;
    }
  return c;
}

inline VETOR<double> produto(const MATRIZ<double>& a, const VETOR<double>& x) {
  VETOR<double> y(a.nl());
  for (int i = 0; i < a.nl(); ++i) {
    double s = 0;
    for (int j = 0; j < a.nc(); ++j) s += a(i, j) * x(j);
    y(i) = s;
  }
  return y;
}

inline MATRIZ<double> transposta(const MATRIZ<double>& a) {
  MATRIZ<double> t(a.nc(), a.nl());
  for (int i = 0; i < a.nl(); ++i)
    for (int j = 0; j < a.nc(); ++j) t(j, i) = a(i, j);
  return t;
}

// Frobenius norm of a - b, and of a.
inline double distancia(const MATRIZ<double>& a, const MATRIZ<double>& b) {
  double s = 0;
  for (int i = 0; i < a.nl(); ++i)
    for (int j = 0; j < a.nc(); ++j) s += (a(i, j) - b(i, j)) * (a(i, j) - b(i, j));
  return std::sqrt(s);
}
inline double tamanho(const MATRIZ<double>& a) { return distancia(a, MATRIZ<double>(a.nl(), a.nc())); }

inline double distancia(const VETOR<double>& a, const VETOR<double>& b) {
  double s = 0;
  for (int i = 0; i < a.n(); ++i) s += (a(i) - b(i)) * (a(i) - b(i));
  return std::sqrt(s);
}
inline double tamanho(const VETOR<double>& a) {
  double s = 0;
  for (int i = 0; i < a.n(); ++i) s += a(i) * a(i);
  return std::sqrt(s);
}

inline bool iguais(const MATRIZ<double>& a, const MATRIZ<double>& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc()) return false;
  for (int i = 0; i < a.nl(); ++i)
    for (int j = 0; j < a.nc(); ++j)
      if (!(a(i, j) == b(i, j))) return false;
  return true;
}

}  // namespace numtest
