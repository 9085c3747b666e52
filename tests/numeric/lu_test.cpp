#include "numeric/lu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

namespace {

// The rows of a shuffled: still well conditioned, but the diagonal no longer
// holds the pivots, so a solver that skipped pivoting fails on it.
MATRIZ<double> embaralhada(const MATRIZ<double>& a, unsigned seed) {
  std::vector<int> p(static_cast<std::size_t>(a.nl()));
  std::iota(p.begin(), p.end(), 0);
  std::shuffle(p.begin(), p.end(), std::mt19937(seed));
  MATRIZ<double> b(a.nl(), a.nc());
  for (int i = 0; i < a.nl(); ++i)
    for (int j = 0; j < a.nc(); ++j) b(i, j) = a(p[std::size_t(i)], j);
  return b;
}

// Sign of a permutation by counting its inversions.
double sinal(const std::vector<int>& p) {
  int inv = 0;
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = i + 1; j < p.size(); ++j) inv += p[i] > p[j];
  return inv % 2 ? -1.0 : 1.0;
}

}  // namespace

TEST(Lineq, SolvesWellConditionedSystemsUpTo200) {
  for (int n : {1, 2, 7, 50, 200}) {
    for (bool mistura : {false, true}) {
      MATRIZ<double> a = dominante(n, 10u + unsigned(n));
      if (mistura) a = embaralhada(a, unsigned(n));
      const MATRIZ<double> antes(a);
      const VETOR<double> xv = aleatorio(n, 99u + unsigned(n));
      const VETOR<double> b = produto(a, xv);
      const VETOR<double> x = lineq(a, b);
      ASSERT_EQ(x.n(), n);
      EXPECT_LT(distancia(produto(a, x), b), 1e-12 * tamanho(b)) << n << " " << mistura;
      EXPECT_LT(distancia(x, xv), 1e-12 * tamanho(xv)) << n << " " << mistura;
      EXPECT_TRUE(iguais(a, antes)) << "lineq changed its matrix";
    }
  }
}

TEST(Lineq, SolvesGeneralMatricesWithSmallBackwardError) {
  // Plain random matrices need real pivoting; the residual stays at rounding
  // level relative to the sizes of a and x.
  for (int n : {3, 40, 120}) {
    const MATRIZ<double> a = aleatoria(n, n, 500u + unsigned(n));
    const VETOR<double> b = aleatorio(n, 600u + unsigned(n));
    const VETOR<double> x = lineq(a, b);
    EXPECT_LT(distancia(produto(a, x), b), 1e-12 * tamanho(a) * tamanho(x)) << n;
  }
}

TEST(Lineq, MatrixRightHandSideSolvedColumnByColumn) {
  const MATRIZ<double> a = embaralhada(dominante(30, 3), 4);
  const MATRIZ<double> b = aleatoria(30, 4, 5);
  const MATRIZ<double> antes(a);
  const MATRIZ<double> x = lineq(a, b);
  ASSERT_EQ(x.nl(), 30);
  ASSERT_EQ(x.nc(), 4);
  EXPECT_LT(distancia(produto(a, x), b), 1e-12 * tamanho(b));
  EXPECT_TRUE(iguais(a, antes));
  // A right-hand side without columns has a solution without columns.
  const MATRIZ<double> vazio = lineq(a, MATRIZ<double>(30, 0));
  EXPECT_EQ(vazio.nl(), 30);
  EXPECT_EQ(vazio.nc(), 0);
}

TEST(Inv, TimesTheMatrixGivesTheIdentity) {
  for (int n : {1, 2, 9, 200}) {
    const MATRIZ<double> a = embaralhada(dominante(n, 20u + unsigned(n)), 7u);
    const MATRIZ<double> antes(a);
    const MATRIZ<double> y = inv(a);
    EXPECT_LT(distancia(produto(a, y), identidade(n)), 1e-12) << n;
    EXPECT_LT(distancia(produto(y, a), identidade(n)), 1e-12) << n;
    EXPECT_TRUE(iguais(a, antes));
  }
  // A known inverse.
  const MATRIZ<double> y = inv(MATRIZ<double>(2, 2, 4.0, 7.0, 2.0, 6.0));
  const MATRIZ<double> esperada(2, 2, 0.6, -0.7, -0.2, 0.4);
  EXPECT_LT(distancia(y, esperada), 1e-15);
}

TEST(Det, PermutationMatricesGiveTheirSignExactly) {
  std::mt19937 g(1);
  for (int n = 1; n <= 8; ++n) {
    for (int rodada = 0; rodada < 5; ++rodada) {
      std::vector<int> p(static_cast<std::size_t>(n));
      std::iota(p.begin(), p.end(), 0);
      std::shuffle(p.begin(), p.end(), g);
      MATRIZ<double> a(n, n);
      for (int i = 0; i < n; ++i) a(i, p[std::size_t(i)]) = 1.0;
      EXPECT_EQ(det(a), sinal(p)) << n;
    }
  }
  EXPECT_EQ(det(MATRIZ<double>(2, 2, 0.0, 1.0, 1.0, 0.0)), -1.0);
}

TEST(Det, TriangularMatricesGiveTheProductOfTheDiagonalExactly) {
  std::mt19937 g(2);
  std::uniform_int_distribution<int> fora(-9, 9), diag(1, 4);
  for (int n : {1, 3, 6, 12}) {
    // Upper triangular with any entries above the diagonal; lower
    // triangular with a diagonal that dominates its row (no exchanges).
    MATRIZ<double> up(n, n), lo(n, n);
    double prod_up = 1, prod_lo = 1;
    for (int i = 0; i < n; ++i) {
      const double du = diag(g) * (fora(g) < 0 ? -1.0 : 1.0), dl = 16.0 * diag(g);
      up(i, i) = du;
      lo(i, i) = dl;
      prod_up *= du;
      prod_lo *= dl;
      for (int j = i + 1; j < n; ++j) up(i, j) = fora(g);
      for (int j = 0; j < i; ++j) lo(i, j) = fora(g);
    }
    EXPECT_EQ(det(up), prod_up) << n;
    EXPECT_EQ(det(lo), prod_lo) << n;
  }
}

TEST(Det, AgreesWithTheCofactorExpansionAndKeepsTheMatrix) {
  for (unsigned s = 0; s < 10; ++s) {
    const MATRIZ<double> a = aleatoria(3, 3, s);
    const MATRIZ<double> antes(a);
    const double esperado = a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) -
                            a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
                            a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
    EXPECT_NEAR(det(a), esperado, 1e-14);
    EXPECT_TRUE(iguais(a, antes));
  }
}

TEST(Ludcmp, FactorsRebuildTheRowExchangedMatrix) {
  const int n = 25;
  const MATRIZ<double> orig = aleatoria(n, n, 77);
  MATRIZ<double> a(orig);
  VETOR<int> indx;
  double d = 0;
  LUDCMP(a, indx, d);
  ASSERT_EQ(indx.n(), n);
  MATRIZ<double> l(n, n), u(n, n), pa(orig);
  double paridade = 1;
  for (int j = 0; j < n; ++j) {
    if (indx(j) != j) {
      paridade = -paridade;
      for (int k = 0; k < n; ++k) std::swap(pa(j, k), pa(indx(j), k));
    }
    for (int k = 0; k < n; ++k) {
      if (k < j) l(j, k) = a(j, k);
      else u(j, k) = a(j, k);
    }
    l(j, j) = 1.0;
  }
  EXPECT_EQ(d, paridade);
  EXPECT_LT(distancia(produto(l, u), pa), 1e-13 * tamanho(orig));
}

TEST(Ludcmp, EqualCandidatesTakeTheLastRow) {
  // Both rows scale to 1 in the first column: the second row is the pivot.
  MATRIZ<double> a(2, 2, 1.0, 1.0, 1.0, -1.0);
  VETOR<int> indx;
  double d = 0;
  LUDCMP(a, indx, d);
  EXPECT_EQ(indx(0), 1);
  EXPECT_EQ(indx(1), 1);
  EXPECT_EQ(d, -1.0);
  EXPECT_TRUE(iguais(a, MATRIZ<double>(2, 2, 1.0, -1.0, 1.0, 2.0)));
}

TEST(Ludcmp, ZeroPivotBecomesTinyAndTheDecompositionCompletes) {
  MATRIZ<double> a(2, 2, 1.0, 2.0, 2.0, 4.0);
  VETOR<int> indx;
  double d = 0;
  LUDCMP(a, indx, d);
  EXPECT_EQ(indx(0), 1);
  EXPECT_EQ(d, -1.0);
  EXPECT_TRUE(iguais(a, MATRIZ<double>(2, 2, 2.0, 4.0, 0.5, 1e-20)));
}

TEST(Lusubst, LeadingZerosOfTheRightHandSide) {
  const MATRIZ<double> orig = dominante(6, 8);
  MATRIZ<double> a(orig);
  VETOR<int> indx;
  double d;
  LUDCMP(a, indx, d);
  for (int k = 0; k < 6; ++k) {
    VETOR<double> b(6);
    for (int i = 0; i < 6; ++i) b(i) = i < k ? 0.0 : 1.0 + i;
    const VETOR<double> rhs(b);
    lusubst(a, indx, b);
    EXPECT_LT(distancia(produto(orig, b), rhs), 1e-13 * tamanho(rhs)) << k;
  }
}

TEST(LuFatal, Messages) {
  const MATRIZ<double> r23 = aleatoria(2, 3, 1);
  const MATRIZ<double> zero(3, 3);
  const MATRIZ<double> linha_zero(2, 2, 1.0, 2.0, 0.0, 0.0);
  const MATRIZ<double> singular(2, 2, 1.0, 2.0, 2.0, 4.0);
  const MATRIZ<double> boa = dominante(2, 1);
  const char* sing = "Erro: Singular matrix in routine LUDCMP";
  expect_fatal({
      {"LUDCMP 2x3", [&] { MATRIZ<double> a(r23); VETOR<int> i; double d; LUDCMP(a, i, d); },
       "Erro: Matriz a nao-quadrada em LUDCMP"},
      {"LUDCMP zero row", [&] { MATRIZ<double> a(linha_zero); VETOR<int> i; double d; LUDCMP(a, i, d); }, sing},
      {"det 2x3", [&] { det(r23); }, "Erro: Matriz a nao-quadrada em det"},
      {"inv 2x3", [&] { inv(r23); }, "Erro: Matriz a nao-quadrada em inv"},
      {"lineq 2x3", [&] { lineq(r23, VETOR<double>(5)); }, "Erro: Matriz a nao-quadrada em lineq"},
      {"lineq 2x3 matrix", [&] { lineq(r23, MATRIZ<double>(5, 1)); }, "Erro: Matriz a nao-quadrada em lineq"},
      {"lineq b size", [&] { lineq(boa, VETOR<double>(3)); }, "Erro: Dimensao do vetor b"},
      {"lineq B rows", [&] { lineq(boa, MATRIZ<double>(3, 2)); }, "Erro: Dimensao do matriz b"},
      {"det zero", [&] { det(zero); }, sing},
      {"inv zero", [&] { inv(zero); }, sing},
      // A pivot that comes out exactly zero is a singular matrix too: these
      // never return numbers.
      {"det singular", [&] { det(singular); }, sing},
      {"inv singular", [&] { inv(singular); }, sing},
      {"lineq singular", [&] { lineq(singular, VETOR<double>(2)); }, sing},
      {"lineq singular matrix", [&] { lineq(singular, MATRIZ<double>(2, 1)); }, sing},
  });
}
