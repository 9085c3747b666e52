#include "numeric/curva.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

TEST(PontosGrafico, IndexAgainstValue) {
  VETOR<double> v(4);
  v(0) = 2.5; v(1) = -1; v(2) = 0; v(3) = 8;
  VETOR<PONTO2> out(9);
  PontosGrafico(v, out);
  ASSERT_EQ(out.n(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out(i), PONTO2(i, v(i))) << i;
  PontosGrafico(VETOR<double>(), out);
  EXPECT_EQ(out.n(), 0);
}

TEST(Curva, DifferencesWrapAroundTheClosedCurve) {
  // The unit square: at the first and last points the neighbours come from
  // the other end.
  VETOR<PONTO2> p(4);
  p(0) = PONTO2(0, 0); p(1) = PONTO2(1, 0); p(2) = PONTO2(1, 1); p(3) = PONTO2(0, 1);
  const VETOR<PONTO2> d2 = SegundaDiferenca(p), d1 = DiferencaCentral(p);
  const PONTO2 seg[4] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  const PONTO2 cen[4] = {{0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}, {-0.5, -0.5}};
  ASSERT_EQ(d2.n(), 4);
  ASSERT_EQ(d1.n(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d2(i), seg[i]) << i;
    EXPECT_EQ(d1(i), cen[i]) << i;
  }
}

TEST(Curva, RegularPolygonOnACircle) {
  // For p(i) = r (cos ti, sin ti), ti = i a: the central difference is
  // r sin a (-sin ti, cos ti) and the second difference -2 (1 - cos a) p(i).
  const int n = 50;
  const double r = 3, a = 2 * std::acos(-1.0) / n;
  VETOR<PONTO2> p(n);
  for (int i = 0; i < n; ++i) p(i) = PONTO2(r * std::cos(i * a), r * std::sin(i * a));
  const VETOR<PONTO2> d2 = SegundaDiferenca(p), d1 = DiferencaCentral(p);
  for (int i = 0; i < n; ++i) {
    const double t = i * a;
    EXPECT_NEAR(d1(i).x, -r * std::sin(a) * std::sin(t), 1e-13) << i;
    EXPECT_NEAR(d1(i).y, r * std::sin(a) * std::cos(t), 1e-13) << i;
    EXPECT_NEAR(d2(i).x, -2 * (1 - std::cos(a)) * p(i).x, 1e-13) << i;
    EXPECT_NEAR(d2(i).y, -2 * (1 - std::cos(a)) * p(i).y, 1e-13) << i;
  }
}

TEST(Curva, DegenerateCurves) {
  EXPECT_EQ(SegundaDiferenca(VETOR<PONTO2>()).n(), 0);
  EXPECT_EQ(DiferencaCentral(VETOR<PONTO2>()).n(), 0);
  // A single point is its own neighbour on both sides.
  VETOR<PONTO2> p(1);
  p(0) = PONTO2(4, -2);
  EXPECT_EQ(SegundaDiferenca(p)(0), PONTO2(0, 0));
  EXPECT_EQ(DiferencaCentral(p)(0), PONTO2(0, 0));
}
