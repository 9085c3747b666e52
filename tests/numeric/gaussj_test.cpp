#include "numeric/gaussj.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numeric/lu.h"
#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

TEST(Gaussj, InvertsAndSolvesInOnePass) {
  for (int n : {1, 4, 30, 120}) {
    // Random matrices need the full pivoting; dominant ones are the
    // well-conditioned case.
    for (bool geral : {false, true}) {
      const MATRIZ<double> a0 = geral ? aleatoria(n, n, 40u + unsigned(n)) : dominante(n, 30u + unsigned(n));
      const MATRIZ<double> b0 = aleatoria(n, 3, 50u + unsigned(n));
      MATRIZ<double> a(a0), b(b0);
      ASSERT_EQ(gaussj(a, b), 0);
      const double tol = 1e-12 * tamanho(a0) * tamanho(a);
      EXPECT_LT(distancia(produto(a0, a), identidade(n)), tol) << n << " " << geral;
      EXPECT_LT(distancia(produto(a0, b), b0), tol * tamanho(b)) << n << " " << geral;
      // The LU inverse, a different road, lands on the same matrix.
      EXPECT_LT(distancia(a, inv(a0)), tol * tamanho(a)) << n << " " << geral;
    }
  }
}

TEST(Gaussj, ZeroDiagonalNeedsThePivotingAndComesOutExact) {
  MATRIZ<double> a(3, 3, 0.0, 0.0, 2.0, 4.0, 0.0, 0.0, 0.0, 8.0, 0.0);
  MATRIZ<double> b(3, 1, 2.0, 4.0, 8.0);
  ASSERT_EQ(gaussj(a, b), 0);
  EXPECT_TRUE(iguais(a, MATRIZ<double>(3, 3, 0.0, 0.25, 0.0, 0.0, 0.0, 0.125, 0.5, 0.0, 0.0)));
  EXPECT_TRUE(iguais(b, MATRIZ<double>(3, 1, 1.0, 1.0, 1.0)));
}

TEST(Gaussj, RightHandSideWithoutColumnsMeansInversionOnly) {
  const MATRIZ<double> a0 = dominante(5, 6);
  for (int linhas : {0, 5, 9}) {
    MATRIZ<double> a(a0), b(linhas, 0);
    EXPECT_EQ(gaussj(a, b), 0) << linhas;
    EXPECT_LT(distancia(produto(a0, a), identidade(5)), 1e-13) << linhas;
  }
}

TEST(Gaussj, StatusCodes) {
  struct Caso {
    const char* nome;
    MATRIZ<double> a, b;
    int status;
    bool intocadas;  // a and b must come back as they went in
  };
  const Caso casos[] = {
      {"not square", aleatoria(2, 3, 1), aleatoria(2, 1, 2), 1, true},
      {"b rows", dominante(2, 3), aleatoria(3, 1, 4), 2, true},
      {"dependent rows", MATRIZ<double>(2, 2, 1.0, 2.0, 2.0, 4.0), aleatoria(2, 1, 5), 4, false},
      {"zero matrix", MATRIZ<double>(3, 3), MATRIZ<double>(3, 0), 4, false},
  };
  for (const Caso& c : casos) {
    MATRIZ<double> a(c.a), b(c.b);
    EXPECT_EQ(gaussj(a, b), c.status) << c.nome;
    if (c.intocadas) {
      EXPECT_TRUE(iguais(a, c.a)) << c.nome;
      EXPECT_TRUE(iguais(b, c.b)) << c.nome;
    }
  }
}

TEST(Gaussj, StrictFormDoesTheSameWorkOrEnds) {
  const MATRIZ<double> a0 = dominante(6, 9), b0 = aleatoria(6, 2, 10);
  MATRIZ<double> a(a0), b(b0);
  GAUSSJ(a, b);
  EXPECT_LT(distancia(produto(a0, a), identidade(6)), 1e-13);
  EXPECT_LT(distancia(produto(a0, b), b0), 1e-13);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  expect_fatal({
      {"not square", [] { MATRIZ<double> a(2, 3), b; GAUSSJ(a, b); }, "Error in gaussj"},
      {"b rows", [] { MATRIZ<double> a = dominante(2, 1), b(3, 1); GAUSSJ(a, b); }, "Error in gaussj"},
      {"singular", [] { MATRIZ<double> a(2, 2, 1.0, 2.0, 2.0, 4.0), b; GAUSSJ(a, b); }, "Error in gaussj"},
      // NaN compares with nothing, so no pivot is ever chosen.
      {"no pivot", [nan] { MATRIZ<double> a(1, 1, nan), b; gaussj(a, b); }, "Erro inesperado"},
  });
}
