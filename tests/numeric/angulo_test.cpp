#include "numeric/angulo.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

TEST(Angulo, AxesAndDiagonals) {
  struct Caso {
    double x, y, octante, diamante;
  };
  const Caso casos[] = {
      {1, 0, 0, 0},    {1, 1, 1, 0.5},   {0, 1, 2, 1},   {-1, 1, 3, 1.5},
      {-1, 0, 4, 2},   {-1, -1, 5, 2.5}, {0, -1, 6, 3},  {1, -1, 7, 3.5},
      {3, 0, 0, 0},    {0, 0.25, 2, 1},  {2, 1, 0.5, 1.0 / 3},
  };
  for (const Caso& c : casos) {
    EXPECT_DOUBLE_EQ(AnguloOctante(PONTO2(c.x, c.y)), c.octante) << c.x << " " << c.y;
    EXPECT_DOUBLE_EQ(AnguloDiamante(c.x, c.y), c.diamante) << c.x << " " << c.y;
  }
}

TEST(Angulo, GrowWithTheTrueAngleAndIgnoreTheLength) {
  // Around the circle from just past the positive x axis: both values rise
  // strictly, stay in range, and do not change with the vector's length.
  const int n = 720;
  const double pi = std::acos(-1.0);
  double oct_ant = -1, dia_ant = -1;
  for (int k = 0; k < n; ++k) {
    const double t = 2 * pi * (k + 0.5) / n;
    const double x = std::cos(t), y = std::sin(t);
    const double oct = AnguloOctante(PONTO2(x, y)), dia = AnguloDiamante(x, y);
    EXPECT_GT(oct, oct_ant) << k;
    EXPECT_GT(dia, dia_ant) << k;
    EXPECT_GE(oct, 0.0);
    EXPECT_LT(oct, 8.0);
    EXPECT_GE(dia, 0.0);
    EXPECT_LT(dia, 4.0);
    EXPECT_NEAR(AnguloOctante(PONTO2(37 * x, 37 * y)), oct, 1e-14) << k;
    EXPECT_NEAR(AnguloDiamante(1e-3 * x, 1e-3 * y), dia, 1e-14) << k;
    oct_ant = oct;
    dia_ant = dia;
  }
}

TEST(Angulo, NullVector) {
  // The diamond angle of a null vector is 0; the octant angle has none.
  EXPECT_EQ(AnguloDiamante(0, 0), 0.0);
  EXPECT_EQ(AnguloDiamante(-4e-21, 5e-21), 0.0);
  EXPECT_DOUBLE_EQ(AnguloOctante(PONTO2(-1e-21, 1.0)), 2.0);
  expect_fatal({
      {"zero", [] { AnguloOctante(PONTO2(0, 0)); }, "Erro: Vetor nulo"},
      {"tiny", [] { AnguloOctante(PONTO2(-9e-21, 9e-21)); }, "Erro: Vetor nulo"},
  });
}
