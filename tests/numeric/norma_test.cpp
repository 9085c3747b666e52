#include "numeric/norma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

TEST(Norma, KnownValuesForVectorsAndMatrices) {
  const VETOR<double> v = vetor({3, -4});
  const MATRIZ<double> m(1, 2, 3.0, -4.0), mt(2, 1, -4.0, 3.0);
  struct Caso {
    double p, esperado;
  };
  const Caso casos[] = {{2, 5}, {1, 7}, {1e30, 4}, {3, std::cbrt(91.0)}};
  for (const Caso& c : casos) {
    EXPECT_NEAR(norma(v, c.p), c.esperado, 1e-14) << c.p;
    EXPECT_NEAR(norma(m, c.p), c.esperado, 1e-14) << c.p;
    EXPECT_NEAR(norma(mt, c.p), c.esperado, 1e-14) << c.p;
  }
}

TEST(Norma, OnesGiveTheRootOfTheCount) {
  // For n ones the p-norm is n^(1/p), the largest magnitude 1.
  const int n = 37;
  VETOR<double> v(n);
  MATRIZ<double> m(n, 3);
  for (int i = 0; i < n; ++i) {
    v(i) = i % 2 ? 1.0 : -1.0;
    for (int j = 0; j < 3; ++j) m(i, j) = -1.0;
  }
  for (double p : {1.0, 1.5, 2.0, 4.0, 1e30}) {
    const double e = p == 1e30 ? 1.0 : std::pow(double(n), 1 / p);
    EXPECT_NEAR(norma(v, p), e, 1e-13 * e) << p;
    const double em = p == 1e30 ? 1.0 : std::pow(3.0 * n, 1 / p);
    EXPECT_NEAR(norma(m, p), em, 1e-13 * em) << p;
  }
}

TEST(Norma, EmptyIsZero) {
  for (double p : {1.0, 2.0, 3.0, 1e30}) {
    EXPECT_EQ(norma(VETOR<double>(), p), 0.0) << p;
    EXPECT_EQ(norma(MATRIZ<double>(), p), 0.0) << p;
  }
}

TEST(FuncaoMinMax, SmallestAndLargest) {
  double mn = 0, mx = 0;
  FuncaoMinMax(vetor({3, -1, 7, 2, -1}), mn, mx);
  EXPECT_EQ(mn, -1.0);
  EXPECT_EQ(mx, 7.0);
  // Values beyond 1e30 are still the extremes.
  FuncaoMinMax(vetor({3e30, 2e30}), mn, mx);
  EXPECT_EQ(mn, 2e30);
  EXPECT_EQ(mx, 3e30);
  FuncaoMinMax(vetor({-2e30, -3e30}), mn, mx);
  EXPECT_EQ(mn, -3e30);
  EXPECT_EQ(mx, -2e30);
}

TEST(NormaFatal, Messages) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  expect_fatal({
      {"p 0.5", [] { norma(vetor({3, -4}), 0.5); }, "Erro: p<1.0"},
      {"matrix p 0.5", [] { norma(MATRIZ<double>(1, 1, 2.0), 0.5); }, "Erro: p<1.0"},
      {"p NaN", [nan] { norma(vetor({1}), nan); }, "Erro: p<1.0"},
      {"equal", [] { double a, b; FuncaoMinMax(vetor({2, 2}), a, b); }, "Erro inesperado FuncaoMinMax"},
      {"one", [] { double a, b; FuncaoMinMax(vetor({2}), a, b); }, "Erro inesperado FuncaoMinMax"},
      {"empty", [] { double a, b; FuncaoMinMax(VETOR<double>(), a, b); }, "Erro inesperado FuncaoMinMax"},
      {"huge equal", [] { double a, b; FuncaoMinMax(vetor({5e30, 5e30}), a, b); }, "Erro inesperado FuncaoMinMax"},
  });
}
