#include "numeric/estatistica.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/matrizes.h"

using namespace imagorix;
using namespace numtest;

namespace {

void expect_vetor(const VETOR<double>& v, std::initializer_list<double> xs, double tol) {
  ASSERT_EQ(v.n(), int(xs.size()));
  int i = 0;
  for (double x : xs) {
    EXPECT_NEAR(v(i), x, tol) << i;
    ++i;
  }
}

}  // namespace

TEST(Estatistica, SomaUnitaria) {
  VETOR<double> v = vetor({1, -3, 4});
  SomaUnitaria(v);
  expect_vetor(v, {0.125, -0.375, 0.5}, 0);
}

TEST(Estatistica, RemoveMediaAndCentraliza) {
  VETOR<double> v = vetor({1, 2, 6});
  EXPECT_EQ(RemoveMedia(v), 3.0);
  expect_vetor(v, {-2, -1, 3}, 0);
  VETOR<double> w = vetor({10, 20});
  const VETOR<double> c = Centraliza(w);
  expect_vetor(c, {-5, 5}, 0);
  expect_vetor(w, {-5, 5}, 0);
  // The mean of nothing is not a number.
  VETOR<double> vazio;
  EXPECT_TRUE(std::isnan(RemoveMedia(vazio)));
}

TEST(Estatistica, Padroniza) {
  struct Caso {
    std::vector<double> in;
    double c;
    std::vector<double> out;
  };
  const Caso casos[] = {
      {{1, 2, 3}, 1, {-1, 0, 1}},
      {{1, 2, 3}, 2, {-0.5, 0, 0.5}},
      // m = 2.5 and s = 5: 7.5 / 5 is clamped to 1.
      {{0, 0, 0, 10}, 1, {-0.5, -0.5, -0.5, 1}},
      {{0, 0, 0, 10}, 0.1, {-1, -1, -1, 1}},
  };
  for (const Caso& c : casos) {
    VETOR<double> v(int(c.in.size()));
    for (int i = 0; i < v.n(); ++i) v(i) = c.in[std::size_t(i)];
    const VETOR<double> r = Padroniza(v, c.c);
    for (int i = 0; i < v.n(); ++i) {
      EXPECT_NEAR(r(i), c.out[std::size_t(i)], 1e-15) << i;
      EXPECT_EQ(v(i), r(i)) << i;
    }
  }
}

TEST(Estatistica, Regressao) {
  struct Caso {
    const char* nome;
    std::vector<double> x, y;
    double eps, inclinacao, intercepto, correlacao;
  };
  const Caso casos[] = {
      {"x = 2y + 3", {5, 7, 9, 11}, {1, 2, 3, 4}, 1e-6, 2, 3, 1},
      {"x = -y/2 + 1", {0.5, 0, -0.5, -1}, {1, 2, 3, 4}, 1e-6, -0.5, 1, -1},
      {"scattered", {1, 2, 3}, {1, 3, 2}, 1e-6, 0.5, 1, 0.5},
      // A slope not strictly between eps and 1/eps gives no correlation.
      {"steep", {5, 7, 9, 11}, {1, 2, 3, 4}, 0.5, 2, 3, 0},
      {"flat", {1.5, 2, 2.5, 3}, {1, 2, 3, 4}, 0.5, 0.5, 1, 0},
      {"flat, within", {1.5, 2, 2.5, 3}, {1, 2, 3, 4}, 0.25, 0.5, 1, 1},
  };
  for (const Caso& c : casos) {
    VETOR<double> x(int(c.x.size())), y(int(c.y.size()));
    for (int i = 0; i < x.n(); ++i) {
      x(i) = c.x[std::size_t(i)];
      y(i) = c.y[std::size_t(i)];
    }
    double a = 0, b = 0, r = 0;
    Regressao(x, y, c.eps, a, b, r);
    EXPECT_NEAR(a, c.inclinacao, 1e-14) << c.nome;
    EXPECT_NEAR(b, c.intercepto, 1e-14) << c.nome;
    EXPECT_NEAR(r, c.correlacao, 1e-14) << c.nome;
    double sx = 0, sy = 0;
    for (int i = 0; i < x.n(); ++i) {
      sx += x(i);
      sy += y(i);
    }
    EXPECT_NEAR(sx, 0, 1e-14) << c.nome << ": x not centred";
    EXPECT_NEAR(sy, 0, 1e-14) << c.nome << ": y not centred";
  }
}

TEST(Estatistica, IndiceSimilaridade) {
  struct Caso {
    const char* nome;
    std::vector<double> x, y;
    double alfa, beta, gama, esperado;
  };
  const Caso casos[] = {
      {"equal", {1, 5, 2, 8}, {1, 5, 2, 8}, 1, 1, 1, 1},
      {"equal, other exponents", {1, 5, 2, 8}, {1, 5, 2, 8}, 0.5, 2, 3, 1},
      // Same mean and spread, opposite shape.
      {"reversed", {1, 2, 3}, {3, 2, 1}, 1, 1, 1, -1},
      // y = 2x: l = 16/20 and c = 8/10, s = 1.
      {"double", {1, 2, 3}, {2, 4, 6}, 1, 1, 1, 0.64},
      {"double, mean only", {1, 2, 3}, {2, 4, 6}, 1, 0, 0, 0.8},
      {"double, spread squared", {1, 2, 3}, {2, 4, 6}, 0, 2, 7, 0.64},
  };
  for (const Caso& c : casos) {
    VETOR<double> x(int(c.x.size())), y(int(c.y.size()));
    for (int i = 0; i < x.n(); ++i) {
      x(i) = c.x[std::size_t(i)];
      y(i) = c.y[std::size_t(i)];
    }
    EXPECT_NEAR(IndiceSimilaridade(x, y, c.alfa, c.beta, c.gama), c.esperado, 1e-14) << c.nome;
  }
}

TEST(EstatisticaFatal, VectorsOfDifferentSizes) {
  expect_fatal({
      {"Regressao",
       [] { VETOR<double> x = vetor({1, 2, 3}), y = vetor({1, 2}); double a, b, r; Regressao(x, y, 1e-6, a, b, r); },
       "Erro: Vetores de tamanhos diferentes em Regressao"},
      {"IndiceSimilaridade",
       [] { VETOR<double> x = vetor({1, 2}), y = vetor({1, 2, 3}); IndiceSimilaridade(x, y, 1, 1, 1); },
       "Erro: Vetores de tamanhos diferentes em IndiceSimilaridade"},
  });
}
