// Shape plots: fitting and printing the map, and the vertices, polylines and
// grids drawn through it.
#include "draw/shape.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>

#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

VETOR<PONTO2> forma(std::initializer_list<PONTO2> pts) {
  VETOR<PONTO2> v(static_cast<int>(pts.size()));
  int i = 0;
  for (const PONTO2& p : pts) v(i++) = p;
  return v;
}

const VETOR<PONTO2> quadrado = forma({{0, 0}, {1, 0}, {1, 1}, {0, 1}});

TEST(ShapeMinMax, FitsTheSquareToTheImage) {
  MapU2D m;
  ShapeMinMax(m, quadrado, 11, 11, 0, true);
  EXPECT_EQ(m.MaxD, PONTOI2(10, 10));
  EXPECT_EQ(m.fatx, 10);
  EXPECT_EQ(m.faty, 10);
  EXPECT_FALSE(m.GrudaY);
  EXPECT_EQ(m.Desloc, PONTOI2(0, 0));
  EXPECT_EQ(m.pixel({0, 0}), (POSLC{10, 0}));
  EXPECT_EQ(m.pixel({1, 1}), (POSLC{0, 10}));
  std::ostringstream os;
  os << m;
  EXPECT_EQ(os.str(), "MinU=[0 0]\nMaxU=[1 1]\nMaxD=[10 10]\nGrudaY=0\nfatx=10\nfaty=10\nDesloc=[0 0]\n");
}

TEST(ShapeMinMax, EqualScalesCentreAlongTheLooserAxis) {
  MapU2D largo, alto, livre;
  ShapeMinMax(largo, forma({{0, 0}, {2, 1}}), 11, 11, 0, true);
  EXPECT_FALSE(largo.GrudaY);
  EXPECT_EQ(largo.fatx, 5);
  EXPECT_EQ(largo.Desloc, PONTOI2(0, 2));
  EXPECT_EQ(largo.pixel({0, 0}), (POSLC{8, 0}));
  EXPECT_EQ(largo.pixel({2, 1}), (POSLC{3, 10}));
  ShapeMinMax(alto, forma({{0, 0}, {1, 2}}), 11, 11, 0, true);
  EXPECT_TRUE(alto.GrudaY);
  EXPECT_EQ(alto.fatx, 5);
  EXPECT_EQ(alto.faty, 5);
  EXPECT_EQ(alto.Desloc, PONTOI2(2, 0));
  EXPECT_EQ(alto.pixel({1, 2}), (POSLC{0, 7}));
  // Unequal scales fill both axes; the border shrinks the room.
  ShapeMinMax(livre, forma({{0, 0}, {2, 1}}), 11, 21, 2, false);
  EXPECT_EQ(livre.MaxD, PONTOI2(16, 6));
  EXPECT_EQ(livre.fatx, 8);
  EXPECT_EQ(livre.faty, 6);
  EXPECT_EQ(livre.Desloc, PONTOI2(0, 0));
  EXPECT_EQ(livre.pixel({0, 0}), (POSLC{8, 2}));
  EXPECT_EQ(livre.pixel({2, 1}), (POSLC{2, 18}));
}

TEST(ShapeMinMax, RefusesFlatShapesAndWideBorders) {
  MapU2D m;
  const char* plano = "^Erro inesperado ShapeMinMax \n$";
  EXPECT_EXIT(ShapeMinMax(m, forma({{1, 0}, {1, 5}}), 11, 11, 0, true), testing::ExitedWithCode(1), plano);
  EXPECT_EXIT(ShapeMinMax(m, forma({{0, 3}, {4, 3}}), 11, 11, 0, true), testing::ExitedWithCode(1), plano);
  EXPECT_EXIT(ShapeMinMax(m, VETOR<PONTO2>(), 11, 11, 0, true), testing::ExitedWithCode(1), plano);
  EXPECT_EXIT(ShapeMinMax(m, quadrado, 40, 11, 5, true), testing::ExitedWithCode(1), "^Erro: Borda muito grande \n$");
  EXPECT_EXIT(ShapeMinMax(m, quadrado, 11, 11, 1 << 30, true), testing::ExitedWithCode(1),
              "^Erro: Borda muito grande \n$");
}

TEST(ShapePlots, RefuseAMapNeverFitted) {
  const MapU2D m;
  IMGBIN b(5, 5, 1);
  IMGCOR k(5, 5, 0);
  EXPECT_EXIT(shapevert(m, quadrado, b, false), testing::ExitedWithCode(1), "^Erro shapevert: MapU2D nao inicializado \n$");
  EXPECT_EXIT(shapevert(m, quadrado, k, 1), testing::ExitedWithCode(1), "^Erro shapevert: MapU2D nao inicializado \n$");
  EXPECT_EXIT(shape2img(m, quadrado, k, 1, true), testing::ExitedWithCode(1), "^Erro shape2img: MapU2D nao inicializado \n$");
  EXPECT_EXIT(shapegrade(m, b, 1, 1, false), testing::ExitedWithCode(1), "^Erro shapegrade: MapU2D nao inicializado \n$");
}

TEST(ShapePlots, PolylineOpenOrClosed) {
  const VETOR<PONTO2> tri = forma({{0, 0}, {4, 0}, {2, 3}});
  MapU2D m;
  ShapeMinMax(m, tri, 20, 20, 1, true);
  const POSLC a = m.pixel(tri(0)), b = m.pixel(tri(1)), c = m.pixel(tri(2));
  for (bool fechado : {false, true}) {
    IMGBIN img(20, 20, 1), ref(20, 20, 1);
    shape2img(m, tri, img, false, fechado);
    line(ref, a.l, a.c, b.l, b.c, false, 1);
    line(ref, b.l, b.c, c.l, c.c, false, 1);
    if (fechado) line(ref, c.l, c.c, a.l, a.c, false, 1);
    expect_same_pixels(img, ref);
    EXPECT_EQ(canetaA(), fechado ? a : c);
  }
  // The colour form paints the same pixels.
  IMGCOR k(20, 20, 0);
  shape2img(m, tri, k, 0xFF, true);
  IMGBIN ref(20, 20, 1);
  shape2img(m, tri, ref, false, true);
  for (int l = 0; l < 20; ++l)
    for (int col = 0; col < 20; ++col) EXPECT_EQ(k(l, col).r == 255, !ref(l, col));
}

TEST(ShapePlots, VerticesAndTheirMarks) {
  const VETOR<PONTO2> s = forma({{0, 0}, {3, 1}, {5, 4}, {8, 3}});
  MapU2D m;
  ShapeMinMax(m, s, 30, 40, 3, true);
  IMGBIN b(30, 40, 1), ref(30, 40, 1);
  shapevert(m, s, b, false);
  for (int i = 0; i < s.n(); ++i) {
    const POSLC p = m.pixel(s(i));
    if (i == 0) dot(ref, p.l, p.c, 5, false);
    else xmark(ref, p.l, p.c, i == s.n() - 1 ? 3 : 2, false);
  }
  expect_same_pixels(b, ref);
  // Without a map: fitted to the whole image, equal scales, border 3.
  IMGBIN sem(30, 40, 1);
  shapevert(s, sem, false);
  expect_same_pixels(sem, b);
  // One point gets only the dot (its map comes from the whole shape).
  IMGBIN um(30, 40, 1), dot5(30, 40, 1);
  shapevert(m, forma({{3, 1}}), um, false);
  dot(dot5, m.pixel({3, 1}).l, m.pixel({3, 1}).c, 5, false);
  expect_same_pixels(um, dot5);

  MapU2D mc;
  ShapeMinMax(mc, s, 30, 40, 0, true);
  IMGCOR k(30, 40, 0);
  shapevert(mc, s, k, 0x0000FF);
  EXPECT_EQ(k(mc.pixel(s(0)).l, mc.pixel(s(0)).c), (COR{0, 255, 0}));
  EXPECT_EQ(k(mc.pixel(s(1)).l, mc.pixel(s(1)).c), (COR{255, 0, 0}));
  EXPECT_EQ(k(mc.pixel(s(3)).l, mc.pixel(s(3)).c), (COR{0, 0, 255}));
  IMGCOR sem_k(30, 40, 0);
  shapevert(s, sem_k, 0x0000FF);
  expect_same_pixels(sem_k, k);
  IMGCOR poli(30, 40, 0), poli_ref(30, 40, 0);
  shape2img(s, poli, 0xFF, false);
  shape2img(mc, s, poli_ref, 0xFF, false);
  expect_same_pixels(poli, poli_ref);
}

TEST(ShapePlots, GridPointsAndTheOrigin) {
  MapU2D m;
  ShapeMinMax(m, forma({{-1, -1}, {1, 1}}), 11, 11, 0, true);
  // Steps of 0.5 (5 pixels a unit): columns 0, 3 (2.5 rounded up), 5, 8,
  // 10 and rows 10, 7, 5, 2, 0; the origin (5, 5) gets a 3 x 3 dot.
  IMGBIN b(11, 11, 1);
  shapegrade(m, b, 0.5, 0.5, false);
  for (int l = 0; l < 11; ++l)
    for (int c = 0; c < 11; ++c) {
      const bool coluna = c == 0 || c == 3 || c == 5 || c == 8 || c == 10;
      const bool linha = l == 0 || l == 2 || l == 5 || l == 7 || l == 10;
      const bool origem = l >= 4 && l <= 6 && c >= 4 && c <= 6;
      EXPECT_EQ(b(l, c), !(origem || (linha && coluna))) << l << "," << c;
    }
  // Steps of 0.3 reach x and y = +-1.2, beyond the image: those points are
  // skipped, and the background stays as it was.
  IMGCOR k(11, 11, 0);
  shapegrade(m, k, 0.3, 0.3, 0xFFFFFF);
  EXPECT_EQ(k.fundo(), (COR{0, 0, 0}));
  EXPECT_EQ(k(m.pixel({0.3, 0.9}).l, m.pixel({0.3, 0.9}).c), (COR{255, 255, 255}));
  // A step that is not positive draws nothing at all, not even the origin.
  for (const auto& [sx, sy] : {std::pair{0.0, 1.0}, {1.0, -1.0}}) {
    IMGBIN nada(11, 11, 1);
    shapegrade(m, nada, sx, sy, false);
    expect_same_pixels(nada, IMGBIN(11, 11, 1));
  }
}

}  // namespace
