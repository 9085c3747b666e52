// Pixelwise operators: sizes and messages, elements, backgrounds, scalar and
// one-image operations, comparisons and summaries.
#include "proc/pixelop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>

using namespace imagorix;

namespace {

IMGFLT real_aleatoria(int nl, int nc, unsigned semente) {
  std::mt19937 g(semente);
  std::uniform_real_distribution<float> u(-4.0f, 4.0f);
  IMGFLT a(nl, nc);
  for (int k = 0; k < a.n(); ++k) a.data()[k] = u(g);
  a.fundo() = u(g);
  return a;
}

template <class P>
IMG<P> com_fundo(IMG<P> a, P f) {
  a.fundo() = f;
  return a;
}

// Two operands of the same pixel count but transposed sizes.
struct RECUSA {
  std::string mensagem;
  std::function<void()> f;
};

}  // namespace

TEST(Pixelop, TwoImageOperatorsRefuseDifferentSizes) {
  const IMGFLT f1(3, 4), f2(4, 3);
  const IMGDBL d1(3, 4), d2(4, 3);
  const IMGCPX c1(3, 4), c2(4, 3);
  const IMGGRY g1(3, 4), g2(4, 3);
  const IMGCOR r1(3, 4), r2(4, 3);
  const IMGBIN b1(3, 4), b2(4, 3);
  const RECUSA casos[] = {
      {"IMGFLT::operator\\+", [&] { (void)(f1 + f2); }},
      {"IMGFLT::operator-", [&] { (void)(f1 - f2); }},
      {"IMGFLT::operator\\*", [&] { (void)(f1 * f2); }},
      {"IMGFLT::operator/", [&] { (void)(f1 / f2); }},
      {"IMGFLT::operator&&", [&] { (void)(f1 && f2); }},
      {"IMGFLT::operator\\|\\|", [&] { (void)(f1 || f2); }},
      {"IMGDBL::operator\\+", [&] { (void)(d1 + d2); }},
      {"IMGDBL::operator-", [&] { (void)(d1 - d2); }},
      {"IMGDBL::operator\\*", [&] { (void)(d1 * d2); }},
      {"IMGDBL::operator/", [&] { (void)(d1 / d2); }},
      {"IMGCPX::operator\\+", [&] { (void)(c1 + c2); }},
      {"IMGCPX::operator-", [&] { (void)(c1 - c2); }},
      {"IMGCPX::operator\\*", [&] { (void)(c1 * c2); }},
      {"IMGCPX::operator/", [&] { (void)(c1 / c2); }},
      {"IMGGRY::add", [&] { (void)add(g1, g2); }},
      {"IMGGRY::sub", [&] { (void)sub(g1, g2); }},
      {"IMGGRY::operator&&", [&] { (void)(g1 && g2); }},
      {"IMGGRY::operator\\|\\|", [&] { (void)(g1 || g2); }},
      {"IMGCOR::operator&&", [&] { (void)(r1 && r2); }},
      {"IMGCOR::operator\\|\\|", [&] { (void)(r1 || r2); }},
      {"IMGBIN::operator\\^", [&] { (void)(b1 ^ b2); }},
      {"IMGBIN::operator&&", [&] { (void)(b1 && b2); }},
      {"IMGBIN::operator\\|\\|", [&] { (void)(b1 || b2); }},
  };
  for (const RECUSA& c : casos) {
    SCOPED_TRACE(c.mensagem);
    EXPECT_EXIT(c.f(), testing::ExitedWithCode(1),
                "^Erro " + c.mensagem + " - As imagens nao tem o mesmo tamanho \n$");
  }
  // Rows alone differing is enough.
  EXPECT_EXIT((void)(IMGFLT(3, 4) + IMGFLT(2, 4)), testing::ExitedWithCode(1), "^Erro IMGFLT::operator\\+ ");
}

TEST(Pixelop, RealOperatorsActOnEveryPixelAndTheBackground) {
  IMGFLT a = real_aleatoria(3, 5, 1), b = real_aleatoria(3, 5, 2);
  a.lc() = 0;  // the result's centre is a fresh image's, not the operand's
  b.data()[4] = 0.0f;  // a division by zero is no error
  struct CASO {
    const char* nome;
    std::function<IMGFLT(const IMGFLT&, const IMGFLT&)> op;
    std::function<float(float, float)> ref;
  };
  const CASO casos[] = {
      {"+", [](auto& x, auto& y) { return x + y; }, [](float x, float y) { return float((long double)x + y); }},
      {"-", [](auto& x, auto& y) { return x - y; }, [](float x, float y) { return float((long double)x - y); }},
      {"*", [](auto& x, auto& y) { return x * y; }, [](float x, float y) { return float((long double)x * y); }},
      {"/", [](auto& x, auto& y) { return x / y; }, [](float x, float y) { return float((long double)x / y); }},
      {"&&", [](auto& x, auto& y) { return x && y; }, [](float x, float y) { return std::min(x, y); }},
      {"||", [](auto& x, auto& y) { return x || y; }, [](float x, float y) { return std::max(x, y); }},
  };
  for (const CASO& c : casos) {
    SCOPED_TRACE(c.nome);
    const IMGFLT r = c.op(a, b);
    ASSERT_EQ(r.nl(), 3);
    ASSERT_EQ(r.nc(), 5);
    EXPECT_EQ(r.lc(), 1);
    for (int k = 0; k < r.n(); ++k) EXPECT_EQ(r.data()[k], c.ref(a.data()[k], b.data()[k])) << k;
    EXPECT_EQ(r.fundo(), c.ref(a.fundo(), b.fundo()));
  }
  EXPECT_TRUE(std::isinf((a / b).data()[4]) || std::isnan((a / b).data()[4]));

  const IMGDBL da(a), db(b);
  EXPECT_EQ((da + db).data()[3], da.data()[3] + db.data()[3]);
  EXPECT_EQ((da - db).fundo(), da.fundo() - db.fundo());
  EXPECT_EQ((da * db).data()[7], da.data()[7] * db.data()[7]);
  EXPECT_EQ((da / db).fundo(), da.fundo() / db.fundo());
}

TEST(Pixelop, ComplexProductAndQuotientAreThoseOfComplexFloats) {
  IMGCPX a(1, 3, {1, 2, -3, 0.5, 1e30, 1e30}), b(1, 3, {0.5, -1, 0, 0, 2, 3});
  a.fundo() = CPXF(1, 1);
  b.fundo() = CPXF(0, 2);
  for (int k = 0; k < 3; ++k) {
    const CPXF x = a.data()[k], y = b.data()[k];
    EXPECT_EQ((a + b).data()[k], x + y);
    EXPECT_EQ((a - b).data()[k], x - y);
    EXPECT_EQ((a * b).data()[k], x * y);
    // A zero divisor gives infinities rather than NaN.
    const CPXF q = (a / b).data()[k], e = x / y;
    EXPECT_TRUE(q == e || (std::isinf(q.real()) && std::isinf(e.real()))) << k;
  }
  EXPECT_TRUE(std::isinf((a / b).data()[1].real()));
  EXPECT_EQ((a * b).fundo(), CPXF(-2, 2));
  EXPECT_EQ((a / b).fundo(), CPXF(1, 1) / CPXF(0, 2));

  const IMGCPX s = 2.0f + a, m = 2.0f * a, c = CPXF(0, 1) * a;
  EXPECT_EQ(s.data()[0], CPXF(3, 2));
  EXPECT_EQ(s.fundo(), CPXF(3, 1));
  EXPECT_EQ(m.data()[1], CPXF(-6, 1));
  EXPECT_EQ(m.fundo(), CPXF(2, 2));
  EXPECT_EQ(c.data()[0], CPXF(-2, 1));
  EXPECT_EQ(c.fundo(), CPXF(-1, 1));
}

TEST(Pixelop, GreyOperatorsSaturate) {
  const IMGGRY a = com_fundo<BYTE>(IMGGRY(1, 4, {200, 100, 0, 128}), 250);
  const IMGGRY b = com_fundo<BYTE>(IMGGRY(1, 4, {100, 200, 7, 128}), 10);
  const IMGGRY s = add(a, b), d = sub(a, b);
  EXPECT_EQ(s, IMGGRY(1, 4, {255, 255, 7, 255}));
  EXPECT_EQ(s.fundo(), 255);
  EXPECT_EQ(d, IMGGRY(1, 4, {100, 0, 0, 0}));
  EXPECT_EQ(d.fundo(), 240);
  EXPECT_EQ(a && b, IMGGRY(1, 4, {100, 100, 0, 128}));
  EXPECT_EQ((a && b).fundo(), 10);
  EXPECT_EQ(a || b, IMGGRY(1, 4, {200, 200, 7, 128}));
  EXPECT_EQ((a || b).fundo(), 250);

  EXPECT_EQ(-300 + a, IMGGRY(1, 4, 0));
  EXPECT_EQ((-300 + a).fundo(), 0);
  EXPECT_EQ(a + 60, IMGGRY(1, 4, {255, 160, 60, 188}));
  EXPECT_EQ((a + 60).fundo(), 255);
  EXPECT_EQ((a + 2147483647), IMGGRY(1, 4, 255));  // no int overflow
  const IMGGRY c = complemento(a);
  EXPECT_EQ(c, IMGGRY(1, 4, {55, 155, 255, 127}));
  EXPECT_EQ(c.fundo(), 5);
}

TEST(Pixelop, ColourOperatorsWorkPerChannel) {
  IMGCOR a(1, 2, {10, 200, 30, 0, 0, 255}), b(1, 2, {20, 100, 30, 255, 1, 0});
  a.fundo() = COR{1, 9, 5};
  b.fundo() = COR{2, 3, 5};
  EXPECT_EQ((a && b).data()[0], (COR{10, 100, 30}));
  EXPECT_EQ((a && b).data()[1], (COR{0, 0, 0}));
  EXPECT_EQ((a && b).fundo(), (COR{1, 3, 5}));
  EXPECT_EQ((a || b).data()[1], (COR{255, 1, 255}));
  EXPECT_EQ((a || b).fundo(), (COR{2, 9, 5}));
}

TEST(Pixelop, BinaryOperatorsCombineBits) {
  // 40 columns: two words per row, so the second word's bits count too.
  IMGBIN a(3, 40), b(3, 40);
  std::mt19937 g(7);
  for (int l = 0; l < 3; ++l)
    for (int c = 0; c < 40; ++c) {
      a.set(l, c, g() & 1);
      b.set(l, c, g() & 1);
    }
  b.fundo() = 0;
  const IMGBIN x = a ^ b, e = a && b, o = a || b;
  for (int l = 0; l < 3; ++l)
    for (int c = 0; c < 40; ++c) {
      EXPECT_EQ(x.get(l, c), a.get(l, c) != b.get(l, c));
      EXPECT_EQ(e.get(l, c), a.get(l, c) && b.get(l, c));
      EXPECT_EQ(o.get(l, c), a.get(l, c) || b.get(l, c));
    }
  EXPECT_EQ(x.fundo() & 1u, 1u);
  EXPECT_EQ(e.fundo() & 1u, 0u);
  EXPECT_EQ(o.fundo() & 1u, 1u);
  const IMGBIN z = a ^ a;
  for (int l = 0; l < 3; ++l)
    for (int c = 0; c < 40; ++c) EXPECT_FALSE(z.get(l, c));
  EXPECT_EQ(z.fundo() & 1u, 0u);
}

TEST(Pixelop, RealScalarOperationsRoundOnceToFloat) {
  const IMGFLT a = real_aleatoria(4, 6, 3);
  // 0.5 is a float; 0.1 and 1e-9 are not, and must still round only once.
  for (double x : {0.5, 0.1, 1e-9, -3.3}) {
    SCOPED_TRACE(x);
    const IMGFLT s = x + a, p = a * x;
    for (int k = 0; k < a.n(); ++k) {
      EXPECT_EQ(s.data()[k], float((long double)x + a.data()[k]));
      EXPECT_EQ(p.data()[k], float((long double)x * a.data()[k]));
    }
    EXPECT_EQ(s.fundo(), float((long double)x + a.fundo()));
    EXPECT_EQ(p.fundo(), float((long double)x * a.fundo()));
  }
  const IMGFLT n = -a, c = complemento(a), q = quadrado(a);
  for (int k = 0; k < a.n(); ++k) {
    EXPECT_EQ(n.data()[k], -a.data()[k]);
    EXPECT_EQ(c.data()[k], 1.0f - a.data()[k]);
    EXPECT_EQ(q.data()[k], a.data()[k] * a.data()[k]);
  }
  EXPECT_EQ(n.fundo(), -a.fundo());
  EXPECT_EQ(c.fundo(), 1.0f - a.fundo());
  EXPECT_EQ(q.fundo(), a.fundo() * a.fundo());

  const IMGDBL d(a);
  EXPECT_EQ((0.1 + d).data()[5], 0.1 + d.data()[5]);
  EXPECT_EQ((d * 3.0).fundo(), 3.0 * d.fundo());
  EXPECT_EQ((-d).data()[2], -d.data()[2]);
  EXPECT_EQ(complemento(d).fundo(), 1.0 - d.fundo());
  EXPECT_EQ(abs(d).data()[1], std::fabs(d.data()[1]));
}

TEST(Pixelop, OperationsOnACopyKeepBackgroundAndCentre) {
  IMGFLT a(2, 3, {-1.5, 2, -0.25, 4, 0, 1});
  a.fundo() = -7;
  a.lc() = 0;
  a.cc() = 2;
  const IMGFLT m = abs(a), z = semnegativos(a), t = tiramedia(a);
  EXPECT_EQ(m, IMGFLT(2, 3, {1.5, 2, 0.25, 4, 0, 1}));
  EXPECT_EQ(z, IMGFLT(2, 3, {0, 2, 0, 4, 0, 1}));
  EXPECT_EQ(t, IMGFLT(2, 3, {-2.375, 1.125, -1.125, 3.125, -0.875, 0.125}));
  for (const IMGFLT* r : {&m, &z, &t}) {
    EXPECT_EQ(r->fundo(), -7.0f);
    EXPECT_EQ(r->lc(), 0);
    EXPECT_EQ(r->cc(), 2);
  }
  EXPECT_EQ(a.data()[0], -1.5f);  // the operand itself is untouched
}

TEST(Pixelop, RescaleToUnitRange) {
  IMGFLT a(1, 4, {2, 4, 3, 6});
  a.fundo() = 9;
  a.cc() = 0;
  const IMGFLT r = normaliza01(a);
  EXPECT_EQ(r, IMGFLT(1, 4, {0, 0.5, 0.25, 1}));
  EXPECT_EQ(r.fundo(), 0.0f);
  EXPECT_EQ(r.cc(), 1);
  // A constant image comes back as it was, background and centre included.
  IMGFLT c(2, 2, 0.75f);
  c.fundo() = 3;
  c.cc() = 1;
  const IMGFLT rc = normaliza01(c);
  EXPECT_EQ(rc, c);
  EXPECT_EQ(rc.fundo(), 3.0f);
  EXPECT_EQ(rc.cc(), 1);
}

TEST(Pixelop, ComparisonsNeedTheSameSizes) {
  const IMGGRY a(3, 4, 5), b(4, 3, 5), c(3, 4, 6);
  EXPECT_TRUE(a == IMGGRY(3, 4, 5));
  EXPECT_FALSE(a != IMGGRY(3, 4, 5));
  EXPECT_FALSE(a == b);
  EXPECT_TRUE(a != b);
  EXPECT_FALSE(a == c);
  EXPECT_TRUE(a < c);
  EXPECT_FALSE(c < a);
  EXPECT_FALSE(a < a);
  EXPECT_FALSE(a < IMGGRY(4, 3, 6));
  IMGGRY d = c;
  d.data()[11] = 5;  // one pixel not smaller is enough
  EXPECT_FALSE(a < d);

  IMGFLT f(2, 2, 1.0f), g(2, 2, 1.0f);
  EXPECT_TRUE(f == g);
  f.data()[3] = std::numeric_limits<float>::quiet_NaN();
  g.data()[3] = f.data()[3];
  EXPECT_FALSE(f == g);
  EXPECT_TRUE(f != g);
  EXPECT_FALSE(f == f);
}

TEST(Pixelop, Summaries) {
  EXPECT_EQ(maximo(IMGSHT(2, 2, {-5, 300, -32768, 7})), 300);
  EXPECT_EQ(maximo(IMGSHT(0, 0)), -32768);
  const IMGFLT a(2, 2, {0.5, -2, 3, 1});
  EXPECT_EQ(minimo(a), -2.0);
  EXPECT_EQ(maximo(a), 3.0);
  EXPECT_EQ(minimo(IMGFLT()), 1e30);
  EXPECT_EQ(maximo(IMGFLT()), -1e30);
  EXPECT_EQ(media(a), 0.625);
  EXPECT_EQ(media(IMGDBL(1, 3, {1, 2, 4})), 7.0 / 3.0);
  // Summed in extended precision: a float or double running sum would lose
  // the small terms next to 2^24 (2^53).
  IMGFLT big(1, 3, {16777216, 1, 1});
  EXPECT_EQ(media(big), (16777216.0 + 2) / 3);
  IMGDBL bigd(1, 3, {9007199254740992.0, 1, 1});
  EXPECT_EQ(media(bigd), static_cast<double>((9007199254740992.0L + 2) / 3));
}
