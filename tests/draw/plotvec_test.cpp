// Vector plots: the pixels of each style, the pen they leave, and their
// errors.
#include "draw/plotvec.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <utility>

#include "draw/desenho.h"

using namespace imagorix;

namespace {

using Pixels = std::set<std::pair<int, int>>;

VETOR<double> vetor(std::initializer_list<double> xs) {
  VETOR<double> v(static_cast<int>(xs.size()));
  int i = 0;
  for (double x : xs) v(i++) = x;
  return v;
}

// The ink of each plot: black pixels, or pixels of the colour 0x0000FF.
Pixels tinta(const IMGBIN& b) {
  Pixels p;
  for (int l = 0; l < b.nl(); ++l)
    for (int c = 0; c < b.nc(); ++c)
      if (!b(l, c)) p.insert({l, c});
  return p;
}
Pixels tinta(const IMGCOR& k) {
  Pixels p;
  for (int l = 0; l < k.nl(); ++l)
    for (int c = 0; c < k.nc(); ++c) {
      if (k(l, c) == COR{255, 0, 0}) p.insert({l, c});
      else EXPECT_EQ(k(l, c), (COR{255, 255, 255})) << l << "," << c;
    }
  return p;
}

TEST(Plotvec, EachStyleInBothClasses) {
  const VETOR<double> v = vetor({0, 1, 2});
  struct Caso {
    char estilo;
    Pixels esperado;
  } casos[] = {
      {'.', {{2, 0}, {1, 1}, {0, 2}}},
      {':', {{2, 0}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
      {'-', {{2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}},
  };
  for (const Caso& k : casos) {
    const IMGBIN b = plotvec(v, 3, k.estilo);
    const IMGCOR c = plotvec(v, 3, k.estilo, 0x0000FF);
    EXPECT_EQ(b.nl(), 3);
    EXPECT_EQ(b.nc(), 3);
    EXPECT_EQ(c.nl(), 3);
    EXPECT_EQ(tinta(b), k.esperado) << k.estilo;
    EXPECT_EQ(tinta(c), k.esperado) << k.estilo;
  }
}

TEST(Plotvec, ScalesTheRangeOntoTheRows) {
  // Values -1 ... 3 on 9 rows: two rows a unit, rounded to the nearest.
  const IMGBIN b = plotvec(vetor({3, -1, 0.74, 0.76, 1}), 9, '.');
  EXPECT_EQ(tinta(b), (Pixels{{0, 0}, {8, 1}, {5, 2}, {4, 3}, {4, 4}}));
  // Height 1: everything on row 0.
  EXPECT_EQ(tinta(plotvec(vetor({5, -2, 7}), 1, '.')), (Pixels{{0, 0}, {0, 1}, {0, 2}}));
}

TEST(Plotvec, BarsAndStepsLeavePenAOnTheLastPoint) {
  moveto(40, 40);
  plotvec(vetor({0, 1, 2}), 3, '.');
  EXPECT_EQ(canetaA(), (POSLC{40, 40}));
  plotvec(vetor({0, 2, 1}), 5, ':');
  EXPECT_EQ(canetaA(), (POSLC{2, 2}));
  plotvec(vetor({4, 0, 1, 3}), 5, '-', 0xFF);
  EXPECT_EQ(canetaA(), (POSLC{1, 3}));
}

TEST(Plotvec, RefusesAFlatVectorAndAnUnknownStyle) {
  const char* plano = "^Erro inesperado FuncaoMinMax \n$";
  EXPECT_EXIT(plotvec(vetor({2, 2}), 5, '.'), testing::ExitedWithCode(1), plano);
  EXPECT_EXIT(plotvec(VETOR<double>(), 5, '.', 0), testing::ExitedWithCode(1), plano);
  EXPECT_EXIT(plotvec(vetor({2, 2}), 5, 'x'), testing::ExitedWithCode(1), plano);
  EXPECT_EXIT(plotvec(vetor({1, 2}), 5, 'x'), testing::ExitedWithCode(1), "^Erro: modo invalido \n$");
  EXPECT_EXIT(plotvec(vetor({1, 2}), 5, 'x', 0), testing::ExitedWithCode(1), "^Erro: modo invalido \n$");
}

}  // namespace
