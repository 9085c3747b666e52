// Drawing primitives: the pixels each one paints, the pens, the orientation
// of three points, and drawing across the edges of every class.
#include "draw/desenho.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <utility>

#include "recorte.h"

using namespace imagorix;
using drawtest::confere_bordas;

namespace {

using Pixels = std::set<std::pair<int, int>>;

// The pixels of a grey image that are not 0.
Pixels pintados(const IMGGRY& g) {
  Pixels p;
  for (int l = 0; l < g.nl(); ++l)
    for (int c = 0; c < g.nc(); ++c)
      if (g(l, c)) p.insert({l, c});
  return p;
}

template <class F>
Pixels desenha(F f, int n = 24) {
  IMGGRY g(n, n, BYTE(0));
  f(g);
  return pintados(g);
}

Pixels quadrado(int l0, int l1, int c0, int c1) {
  Pixels p;
  for (int l = l0; l <= l1; ++l)
    for (int c = c0; c <= c1; ++c) p.insert({l, c});
  return p;
}

TEST(Line, WalksTheDigitalLineFromTheSmallerEnd) {
  struct Caso {
    const char* nome;
    int l1, c1, l2, c2;
    Pixels esperado;
  } casos[] = {
      {"shallow", 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
      {"shallow, walked from the other end", 2, 5, 0, 0, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
      {"steep, along the rows", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
      {"diagonal, along the columns", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"rising to the right", 2, 0, 0, 5, {{2, 0}, {2, 1}, {1, 2}, {1, 3}, {0, 4}, {0, 5}}},
      {"horizontal", 4, 7, 4, 3, {{4, 3}, {4, 4}, {4, 5}, {4, 6}, {4, 7}}},
      {"one point", 6, 6, 6, 6, {{6, 6}}},
  };
  for (const Caso& k : casos)
    EXPECT_EQ(desenha([&](IMGGRY& g) { line(g, k.l1, k.c1, k.l2, k.c2, 255, 1); }), k.esperado) << k.nome;
}

TEST(Line, PaintsTheBrushSquareAtEveryPoint) {
  EXPECT_EQ(desenha([](IMGGRY& g) { line(g, 5, 5, 5, 5, 255, 2); }), quadrado(4, 5, 4, 5));
  EXPECT_EQ(desenha([](IMGGRY& g) { line(g, 5, 5, 5, 5, 255, 3); }), quadrado(4, 6, 4, 6));
  EXPECT_EQ(desenha([](IMGGRY& g) { line(g, 5, 5, 5, 8, 255, 3); }), quadrado(4, 6, 4, 9));
  EXPECT_EQ(desenha([](IMGGRY& g) { line(g, 5, 5, 5, 8, 255, 0); }), Pixels{});
  EXPECT_EQ(desenha([](IMGGRY& g) { line(g, 5, 5, 5, 8, 255, -2); }), Pixels{});
}

TEST(Line, EveryClassPaintsTheSamePixels) {
  const Pixels ref = desenha([](IMGGRY& g) { line(g, 1, 2, 17, 9, 255, 3); });
  IMGBIN b(24, 24, 1);
  line(b, 1, 2, 17, 9, false, 3);
  IMGCOR k(24, 24, 0);
  line(k, 1, 2, 17, 9, 0x0000FF, 3);
  IMGYUV y(24, 24);
  y.img.preenche(0);
  line(y, 1, 2, 17, 9, 0x302010, 3);
  Pixels pb, pk, py;
  for (int l = 0; l < 24; ++l)
    for (int c = 0; c < 24; ++c) {
      if (!b(l, c)) pb.insert({l, c});
      if (k(l, c).r) pk.insert({l, c});
      if (y.img(l, c)) py.insert({l, c});
    }
  EXPECT_EQ(pb, ref);
  EXPECT_EQ(pk, ref);
  EXPECT_EQ(py, ref);
}

TEST(Line, YuvStoresLumaAndTheChromaOfTheHalvedPosition) {
  IMGYUV y(8, 8);
  y.img.preenche(0);
  line(y, 3, 5, 3, 5, 0x1E140A, 1);  // Y 10, U 20, V 30
  EXPECT_EQ(y.img(3, 5), 10);
  const int k = 1 * y.ncuv + 2;
  for (int i = 0; i < y.img.n(); ++i) {
    const int esperado = i == 3 * 8 + 5 ? 10 : i == y.ou + k ? 20 : i == y.ov + k ? 30 : 0;
    EXPECT_EQ(y.img.data()[i], esperado) << i;
  }
  // Rows below the luma plane hold chroma: a position there is outside.
  line(y, 9, 0, 9, 0, 0x030201, 1);
  EXPECT_EQ(y.img(9, 0), 0);
  EXPECT_EQ(y.img.fundo(), 3);
}

TEST(Circle, PaintsTheMidpointCircle) {
  EXPECT_EQ(desenha([](IMGGRY& g) { circle(g, 10, 10, 0, 255, 1); }), (Pixels{{10, 10}}));
  EXPECT_EQ(desenha([](IMGGRY& g) { circle(g, 10, 10, 1, 255, 1); }), (Pixels{{9, 10}, {11, 10}, {10, 9}, {10, 11}}));
  EXPECT_EQ(desenha([](IMGGRY& g) { circle(g, 10, 10, 0, 255, 3); }), quadrado(9, 11, 9, 11));
  // A larger one: symmetric eight ways, every pixel within half a pixel of
  // the radius, and closed (each pixel touches two others).
  const int r = 9;
  const Pixels p = desenha([&](IMGGRY& g) { circle(g, 11, 11, r, 255, 1); });
  ASSERT_FALSE(p.empty());
  for (const auto& [l, c] : p) {
    const int dl = l - 11, dc = c - 11;
    for (const auto& [a, b] : {std::pair{dl, dc}, {-dl, dc}, {dl, -dc}, {dc, dl}})
      EXPECT_TRUE(p.count({11 + a, 11 + b})) << l << "," << c;
    EXPECT_LT(std::fabs(std::sqrt(double(dl * dl + dc * dc)) - r), 0.5) << l << "," << c;
    int vizinhos = 0;
    for (int i = -1; i <= 1; ++i)
      for (int j = -1; j <= 1; ++j) vizinhos += (i || j) && p.count({l + i, c + j});
    EXPECT_GE(vizinhos, 2) << l << "," << c;
  }
}

TEST(Marks, PlusAndCrossArms) {
  Pixels mais, xis;
  for (int i = -2; i <= 2; ++i) {
    mais.insert({10, 10 + i});
    mais.insert({10 + i, 10});
    xis.insert({10 + i, 10 + i});
    xis.insert({10 + i, 10 - i});
  }
  EXPECT_EQ(desenha([](IMGGRY& g) { plusmark(g, 10, 10, 2, 255); }), mais);
  EXPECT_EQ(desenha([](IMGGRY& g) { xmark(g, 10, 10, 2, 255); }), xis);
  EXPECT_EQ(desenha([](IMGGRY& g) { plusmark(g, 10, 10, 0, 255); }), (Pixels{{10, 10}}));
  EXPECT_EQ(desenha([](IMGGRY& g) { xmark(g, 10, 10, -3, 255); }), (Pixels{{10, 10}}));
}

TEST(Arrow, HeadOfTwoStrokesAtTheSecondEnd) {
  Pixels esperado{{9, 9}, {8, 8}, {11, 9}, {12, 8}};
  for (int c = 0; c <= 10; ++c) esperado.insert({10, c});
  EXPECT_EQ(desenha([](IMGGRY& g) { arrow(g, 10, 0, 10, 10, 255); }), esperado);
  // Pointing up: the strokes go down and to either side.
  Pixels acima{{3, 11}, {4, 12}, {3, 9}, {4, 8}};
  for (int l = 2; l <= 12; ++l) acima.insert({l, 10});
  EXPECT_EQ(desenha([](IMGGRY& g) { arrow(g, 12, 10, 2, 10, 255); }), acima);
  EXPECT_EQ(desenha([](IMGGRY& g) { arrow(g, 5, 5, 5, 5, 255); }), (Pixels{{5, 5}}));
}

TEST(Pens, LinetoDrawsFromPenAAndLeavesIt) {
  moveto(0, 0);
  IMGGRY g(12, 12, BYTE(0));
  lineto(g, 5, 5, 255);
  lineto(g, 5, 9, 255);
  EXPECT_EQ(canetaA(), (POSLC{5, 9}));
  Pixels esperado;
  for (int i = 0; i <= 5; ++i) esperado.insert({i, i});
  for (int c = 5; c <= 9; ++c) esperado.insert({5, c});
  EXPECT_EQ(pintados(g), esperado);
  // The pen is one for every class.
  IMGBIN b(12, 12, 1);
  lineto(b, 5, 11, false);
  EXPECT_FALSE(b(5, 10));
  EXPECT_TRUE(b(5, 8));
}

TEST(Pens, CentredLinesWalkFromPenB) {
  // 11 x 11: the centre is (5, 5); (x, y) is pixel (5 - y, 5 + x).
  EXPECT_EQ(desenha([](IMGGRY& g) { linec(g, 0, 0, 3, 1, 255); }, 11),
            (Pixels{{5, 5}, {5, 6}, {4, 7}, {4, 8}}));
  EXPECT_EQ(desenha([](IMGGRY& g) { linec(g, 0, 0, -1, -3, 255); }, 11),
            (Pixels{{5, 5}, {6, 5}, {7, 4}, {8, 4}}));
  movetoc(0, 0);
  IMGCOR k(11, 11, 0);
  linetoc(k, 2, 0, 0xFF);
  linetoc(k, 2, 2, 0xFF);
  EXPECT_EQ(canetaB(), PONTOI2(2, 2));
  Pixels p;
  for (int l = 0; l < 11; ++l)
    for (int c = 0; c < 11; ++c)
      if (k(l, c).r) p.insert({l, c});
  EXPECT_EQ(p, (Pixels{{5, 5}, {5, 6}, {5, 7}, {4, 7}, {3, 7}}));
}

TEST(Orient, SignOfTheTurn) {
  struct Caso {
    PONTOI2 a, b, c;
    int sinal;
  } casos[] = {
      {{0, 0}, {1, 0}, {0, 1}, 1},
      {{0, 0}, {0, 1}, {1, 0}, -1},
      {{0, 0}, {2, 2}, {5, 5}, 0},
      // Products past 64 bits: still exact.
      {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX, INT_MAX - 1}, -1},
      {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX - 1, INT_MAX}, 1},
  };
  for (const Caso& k : casos) {
    EXPECT_EQ(orient(k.a, k.b, k.c), k.sinal) << k.b << k.c;
    EXPECT_EQ(orient(PONTO2(k.a.x, k.a.y), PONTO2(k.b.x, k.b.y), PONTO2(k.c.x, k.c.y)), k.sinal) << k.b << k.c;
  }
  EXPECT_EQ(orient(PONTO2(0, 0), PONTO2(1e-11, 0), PONTO2(0, 1e-11)), 0);
  EXPECT_EQ(orient(PONTO2(0, 0), PONTO2(1e-9, 0), PONTO2(0, 1e-9)), 1);
  EXPECT_EQ(orient(PONTO2(0, 0), PONTO2(0, 1e-9), PONTO2(1e-9, 0)), -1);
}

// Across every edge: lines, circles, marks and arrows on images smaller than
// the figure, in every class that has them.
template <class I, class V>
void bordas(V v, const std::function<bool(const I&)>& fundo) {
  const std::pair<const char*, std::function<void(I&, int)>> casos[] = {
      {"line through the corners", [&](I& g, int o) { line(g, o - 3, o - 2, o + 9, o + 12, v, 3); }},
      {"line along the top edge", [&](I& g, int o) { line(g, o, o - 5, o, o + 15, v, 2); }},
      {"circle round a corner", [&](I& g, int o) { circle(g, o + 5, o + 7, 6, v, 2); }},
      {"marks on the edges", [&](I& g, int o) {
         plusmark(g, o, o + 3, 4, v);
         xmark(g, o + 5, o + 7, 6, v);
       }},
      {"arrow out of the image", [&](I& g, int o) { arrow(g, o + 2, o + 2, o - 1, o + 8, v); }},
  };
  for (const auto& [nome, f] : casos) confere_bordas<I>(6, 8, f, fundo, nome);
}

TEST(Edges, WritesOutsideGoToTheBackground) {
  bordas<IMGBIN>(false, [](const IMGBIN& b) { return (b.fundo() & 1u) == 0; });
  bordas<IMGGRY>(BYTE(200), [](const IMGGRY& g) { return g.fundo() == 200; });
  bordas<IMGCOR>(0x563412, [](const IMGCOR& k) { return k.fundo() == COR{0x12, 0x34, 0x56}; });
  const std::pair<const char*, std::function<void(IMGYUV&, int)>> yuv[] = {
      {"line", [](IMGYUV& y, int o) { line(y, o - 3, o - 2, o + 9, o + 12, 0x1E140A, 3); }},
      {"line from far away", [](IMGYUV& y, int o) { line(y, o - 30, o + 4, o + 3, o + 4, 0x1E140A, 1); }},
  };
  for (const auto& [nome, f] : yuv)
    confere_bordas<IMGYUV>(6, 8, f, [](const IMGYUV& y) { return y.img.fundo() == 30; }, nome);
}

TEST(Edges, HugeCoordinatesAndBrushesStayInTheBackground) {
  IMGGRY g(4, 4, BYTE(0));
  line(g, INT_MIN, INT_MIN, INT_MIN + 3, INT_MIN + 2, 9, 3);
  EXPECT_EQ(g.fundo(), 9);
  EXPECT_TRUE(pintados(g).empty());
  IMGBIN b(4, 4, 1);
  dot(b, 1, 1, 1 << 30, false);  // covers the image; walks only its pixels
  for (int l = 0; l < 4; ++l)
    for (int c = 0; c < 4; ++c) EXPECT_FALSE(b(l, c));
  EXPECT_EQ(b.fundo() & 1u, 0u);
  circle(g, INT_MAX, INT_MAX, 3, 5, 2);
  EXPECT_EQ(g.fundo(), 5);
  EXPECT_TRUE(pintados(g).empty());
  IMGCOR k(2, 2, 0);
  dot(k, INT_MAX, INT_MIN, 7, 0x0000FF);
  EXPECT_EQ(k.fundo(), (COR{255, 0, 0}));
  EXPECT_EQ(k(0, 0), (COR{0, 0, 0}));
}

}  // namespace
