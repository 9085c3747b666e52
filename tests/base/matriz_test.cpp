// Matrices, points, and the arithmetic between vectors, matrices and points.
#include "base/matriz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

#include "base/algebra.h"
#include "base/ponto.h"
#include "base/vetorcpx.h"
#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

VETOR<double> vet(std::initializer_list<double> l) {
  VETOR<double> v(static_cast<int>(l.size()));
  int i = 0;
  for (double x : l) v(i++) = x;
  return v;
}

// The line erro prints for a message with an empty second text.
std::string death(const std::string& msg) { return stderr_line(msg + " "); }

}  // namespace

TEST(Matriz, RowMajorAndEveryAccessChecked) {
  MATRIZ<double> m(2, 3);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(m.data()[k], 0.0);
  m(1, 2) = 7;
  EXPECT_EQ(m.data()[5], 7);
  EXPECT_EQ(m.n(), 6);
  for (auto [l, c] : {std::pair{2, 0}, {0, 3}, {-1, 0}, {0, -1}})
    EXPECT_EXIT(m(l, c), testing::ExitedWithCode(1), death("Erro MATRIZ::operator(l,c) - Indice invalido"));
}

TEST(Matriz, ValuesRowByRowAndTheirCountChecked) {
  MATRIZ<double> m(2, 2, 1, 2.5, 3, 4);
  EXPECT_EQ(m(0, 1), 2.5);
  EXPECT_EQ(m(1, 0), 3);
  EXPECT_EXIT((MATRIZ<double>(2, 2, 1.0, 2.0, 3.0)), testing::ExitedWithCode(1),
              death("Erro MATRIZ::MATRIZ - Numero de valores != nl*nc"));
}

TEST(Matriz, CopyIsDeepAndResizeAlwaysStartsAfresh) {
  MATRIZ<int> a(2, 2, 1, 2, 3, 4);
  MATRIZ<int> b(a);
  b(0, 0) = 9;
  EXPECT_EQ(a(0, 0), 1);
  a = b;
  EXPECT_EQ(a(0, 0), 9);
  a.resize(2, 2);
  EXPECT_EQ(a(0, 0), 0);
  a.resize(-2, -3);
  EXPECT_EQ(a.n(), 0);
  EXPECT_EQ(a.data(), nullptr);
  EXPECT_EXIT(a.resize(100000, 100000), testing::ExitedWithCode(1), death("Erro MATRIZ::aloca - Falta memoria"));
}

TEST(Ponto, SaturatingConversionAndRounding) {
  const PONTOI4 p(1e10, -1e10, 2.9, -2.9);
  EXPECT_EQ(p, PONTOI4(2147483647, -2147483647 - 1, 2, -2));
  EXPECT_EQ(PONTOI3(std::nan(""), 2147483646.5, -2147483648.0), PONTOI3(0, 2147483646, -2147483647 - 1));
  const struct { double x; int r; } casos[] = {
      {2.5, 3}, {-2.5, -2}, {-0.5, 0}, {-0.51, -1}, {1e300, 2147483647}, {-1e300, -2147483647 - 1}};
  for (auto c : casos) EXPECT_EQ(arred(c.x), c.r) << c.x;
}

TEST(Ponto, IndexAccessAndStreamOutput) {
  PONTO3 p(1, 2.5, -3);
  p(2) = 4;
  EXPECT_EQ(p(2), 4);
  EXPECT_EXIT(p(3), testing::ExitedWithCode(1), death("Indice invalida PONTO3"));
  EXPECT_EXIT(p(-1), testing::ExitedWithCode(1), death("Indice invalida PONTO3"));
  std::ostringstream os;
  os << PONTOI2(3, 4) << PONTO3(1, 2.5, -3) << PONTO2(0.125, 1e20) << PONTOI4(1, 2, 3, 4);
  EXPECT_EQ(os.str(), "[3 4][1 2.5 -3][0.125 1e+20][1 2 3 4]");
}

TEST(Algebra, VectorArithmetic) {
  const VETOR<double> a = vet({1, 2, 3}), b = vet({0.5, -1, 4});
  const VETOR<double> s = a + b, d = a - b, k = 10.0 + a;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s(i), a(i) + b(i));
    EXPECT_EQ(d(i), a(i) - b(i));
    EXPECT_EQ(k(i), 10 + a(i));
  }
  EXPECT_EQ(a * b, 0.5 - 2 + 12);
  EXPECT_EQ(VETOR<double>() * VETOR<double>(), 0.0);
}

TEST(Algebra, ProductsAgreeWithTheTextbookSum) {
  // Non-integral entries, so that a different order of summation would show.
  MATRIZ<double> a(3, 4), b(4, 2);
  for (int i = 0; i < a.n(); ++i) a.data()[i] = std::sin(i + 1.0) * 1e3;
  for (int i = 0; i < b.n(); ++i) b.data()[i] = std::cos(i + 0.5) / 7;
  const MATRIZ<double> p = a * b;
  ASSERT_EQ(p.nl(), 3);
  ASSERT_EQ(p.nc(), 2);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += a(i, k) * b(k, j);
      EXPECT_EQ(p(i, j), s);
    }
  VETOR<double> v(4), w(3);
  for (int i = 0; i < 4; ++i) v(i) = 1.0 / (i + 3);
  for (int i = 0; i < 3; ++i) w(i) = i - 0.25;
  const VETOR<double> av = a * v, wa = w * a;
  for (int i = 0; i < 3; ++i) {
    double s = 0;
    for (int j = 0; j < 4; ++j) s += a(i, j) * v(j);
    EXPECT_EQ(av(i), s);
  }
  for (int i = 0; i < 4; ++i) {
    double s = 0;
    for (int j = 0; j < 3; ++j) s += w(j) * a(j, i);
    EXPECT_EQ(wa(i), s);
  }
  const MATRIZ<double> t = transposta(a);
  ASSERT_EQ(t.nl(), 4);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(t(j, i), a(i, j));
}

TEST(Algebra, MatrixSumsScalingIdentityAndTrace) {
  const MATRIZ<int> a(2, 2, 1, 2, 3, 4), b(2, 2, 10, 20, 30, 40);
  const MATRIZ<int> s = a + b, d = b - a, n = -a;
  EXPECT_EQ(s(1, 1), 44);
  EXPECT_EQ(d(0, 1), 18);
  EXPECT_EQ(n(1, 0), -3);
  EXPECT_EQ(traco(a), 5);
  EXPECT_EQ(traco(MATRIZ<double>()), 0.0);
  const MATRIZ<double> i3 = identidade(3), k = 2.5 * i3;
  EXPECT_EQ(traco(i3), 3.0);
  EXPECT_EQ(k(1, 1), 2.5);
  EXPECT_EQ(k(0, 1), 0.0);
  EXPECT_EQ((MATRIZ<int>(2, 3, 1, 2, 3, 4, 5, 6) * MATRIZ<int>(3, 1, 1, 1, 1))(1, 0), 15);
}

TEST(Algebra, PointsThroughSmallMatrices) {
  const MATRIZ<double> r(2, 2, 0, -1, 1, 0);  // a quarter turn
  EXPECT_EQ(r * PONTO2(1, 2), PONTO2(-2, 1));
  EXPECT_EQ(PONTO2(1, 2) * r, PONTO2(2, -1));
  const MATRIZ<double> m(3, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9);
  EXPECT_EQ(m * PONTO3(1, 0, -1), PONTO3(-2, -2, -2));
  EXPECT_EQ(PONTO3(1, 0, -1) * m, PONTO3(-6, -6, -6));
}

TEST(Algebra, SizeMismatchesStopBeforeTouchingAnything) {
  const VETOR<double> v2 = vet({1, 2}), v3 = vet({1, 2, 3});
  const MATRIZ<double> m23(2, 3), m22(2, 2), m33(3, 3);
  const struct {
    std::function<void()> f;
    const char* msg;
  } casos[] = {
      {[&] { (void)(v2 + v3); }, "operator+: Os vetores nao tem o mesmo tamanho"},
      {[&] { (void)(v2 - v3); }, "operator-: Os vetores nao tem o mesmo tamanho"},
      {[&] { (void)(v2 * v3); }, "Erro operator*: os vetores nao tem mesmo tamanho"},
      {[&] { (void)(m23 + m22); }, "operator+: As matrizes nao tem o mesmo tamanho"},
      {[&] { (void)(m23 - m22); }, "operator-: As matrizes nao tem o mesmo tamanho"},
      {[&] { (void)(m23 * m23); }, "operator*: Numero de colunas != numero de linhas"},
      {[&] { (void)(m23 * v2); }, "operator*: Numero de colunas != numero de linhas"},
      {[&] { (void)(v3 * m23); }, "operator*: Numero de elementos != numero de linhas"},
      {[&] { (void)traco(m23); }, "Erro: Matriz nao-quadrada"},
      {[&] { (void)(m22 * PONTO3()); }, "PONTO3 operator*: Matriz deve ser 3x3"},
      {[&] { (void)(PONTO3() * m23); }, "PONTO3 operator*: Matriz deve ser 3x3"},
      {[&] { (void)(m33 * PONTO2()); }, "PONTO2 operator*: Matriz deve ser 2x2"},
      {[&] { (void)(PONTO2() * m23); }, "PONTO2 operator*: Matriz deve ser 2x2"},
      {[&] { (void)(VETOR<CPXD>(2) * VETOR<CPXD>(3)); }, "Erro VETOR<CPXD> operator*: tamanhos diferentes"},
  };
  for (const auto& c : casos) EXPECT_EXIT(c.f(), testing::ExitedWithCode(1), death(c.msg)) << c.msg;
}

TEST(VetorCpx, ModulusPhaseAndParts) {
  VETOR<CPXD> v(4);
  v(0) = CPXD(3, 4);
  v(1) = CPXD(0, 0);
  v(2) = CPXD(1e300, 1e300);   // squaring the parts would overflow
  v(3) = CPXD(-1e-300, 0);     // and these would underflow
  const VETOR<double> m = modulo(v), f = fase(v), re = parte_real(v), im = parte_imag(v);
  EXPECT_EQ(m(0), 5);
  EXPECT_EQ(m(1), 0);
  EXPECT_DOUBLE_EQ(m(2), std::sqrt(2.0) * 1e300);
  EXPECT_EQ(m(3), 1e-300);
  EXPECT_EQ(f(0), std::atan2(4.0, 3.0));
  EXPECT_EQ(f(3), std::atan2(0.0, -1e-300));
  EXPECT_EQ(re(2), 1e300);
  EXPECT_EQ(im(0), 4);
  EXPECT_EQ(conjugado(v)(0), CPXD(3, -4));
}

TEST(VetorCpx, PolarFormsChangeTheirArgumentAndRoundTrip) {
  VETOR<CPXD> v(3);
  v(0) = CPXD(3, 4);
  v(1) = CPXD(-2, 0);
  v(2) = CPXD(0, -0.5);
  const VETOR<CPXD> orig(v);
  const VETOR<CPXD> p = parapolar(v);
  EXPECT_EQ(v(0), CPXD(5, std::atan2(4.0, 3.0)));
  EXPECT_EQ(p(1), v(1));
  depolar(v);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(v(i).real(), orig(i).real(), 1e-15);
    EXPECT_NEAR(v(i).imag(), orig(i).imag(), 1e-15);
  }
  VETOR<CPXD> a(2), b(2);
  a(0) = CPXD(1, 2); a(1) = CPXD(0, 1);
  b(0) = CPXD(3, -1); b(1) = CPXD(0, 1);
  const VETOR<CPXD> c = a * b;
  EXPECT_EQ(c(0), CPXD(5, 5));
  EXPECT_EQ(c(1), CPXD(-1, 0));
}
