#include "numeric/spline.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

TEST(Bs, KnownValues) {
  struct Caso {
    double x;
    int grau;
    double esperado;
  };
  const Caso casos[] = {
      {0, 3, 2.0 / 3}, {1, 3, 1.0 / 6}, {-1, 3, 1.0 / 6}, {2, 3, 0}, {-2.5, 3, 0},
      {0, 2, 0.75},    {0.5, 2, 0.5},   {-1, 2, 0.125},   {1.5, 2, 0}, {0.5, 1, 0.5},
      {-0.25, 1, 0.75}, {1, 1, 0},      {7, 1, 0},
  };
  for (const Caso& c : casos) EXPECT_NEAR(bs(c.x, c.grau), c.esperado, 1e-15) << c.x << " " << c.grau;
}

TEST(Bs, ShiftedCopiesAddUpToOne) {
  // A partition of unity: sum over k of bs(x - k) is 1 for every x.
  for (int grau = 1; grau <= 3; ++grau)
    for (double x = -3; x <= 3; x += 0.0625 + 1e-3) {
      double s = 0;
      for (int k = -6; k <= 6; ++k) s += bs(x - k, grau);
      EXPECT_NEAR(s, 1.0, 1e-14) << grau << " " << x;
      EXPECT_EQ(bs(x, grau), bs(-x, grau));
    }
}

TEST(Beta3, IsTheCubicAndItsDerivativesMatchDifferences) {
  const double h = 1e-5;
  for (double x = -2.6; x <= 2.6; x += 0.0137) {
    EXPECT_EQ(beta3(x), bs(x, 3));
    // Central differences; the knots, where the second derivative has a
    // kink, are never within h of these points.
    EXPECT_NEAR(dbeta3(x), (beta3(x + h) - beta3(x - h)) / (2 * h), 1e-8) << x;
    EXPECT_NEAR(d2beta3(x), (dbeta3(x + h) - dbeta3(x - h)) / (2 * h), 1e-8) << x;
    double s1 = 0, s2 = 0;
    for (int k = -5; k <= 5; ++k) {
      s1 += dbeta3(x - k);
      s2 += d2beta3(x - k);
    }
    EXPECT_NEAR(s1, 0.0, 1e-14) << x;
    EXPECT_NEAR(s2, 0.0, 1e-14) << x;
  }
  for (double x : {-2.0, -1.0, 0.0, 1.0}) {
    // Values at the knots, from the left and the right pieces alike.
    EXPECT_NEAR(dbeta3(x), (beta3(x + h) - beta3(x - h)) / (2 * h), 1e-8) << x;
  }
  EXPECT_EQ(dbeta3(2.0), 0.0);
  EXPECT_EQ(d2beta3(2.0), 0.0);
  EXPECT_EQ(d2beta3(-2.0), 0.0);
  EXPECT_EQ(d2beta3(0.0), -2.0);
  EXPECT_EQ(d2beta3(1.0), 1.0);
}

TEST(BsFatal, OtherDegrees) {
  expect_fatal({
      {"0", [] { bs(0, 0); }, "Erro: bs grau deve ser 1, 2 ou 3"},
      {"4", [] { bs(0.5, 4); }, "Erro: bs grau deve ser 1, 2 ou 3"},
      {"-3", [] { bs(0.5, -3); }, "Erro: bs grau deve ser 1, 2 ou 3"},
  });
}
