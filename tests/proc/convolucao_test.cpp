// Convolution against the term-by-term sum, every border mode, and the
// filter masks.
#include "proc/convolucao.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "proc/mascaras.h"
#include "support/images.h"

using namespace imagorix;
using testsupport::expect_same_pixels;

namespace {

// The definition, pixel by pixel: every read through the access mode, the
// terms added to a double in the mask's order.
template <class T>
IMG<T> literal(const IMG<T>& img, const IMG<T>& mask, char modo) {
  IMG<T> r(img.nl(), img.nc());
  for (int i = 0; i < img.nl(); ++i)
    for (int j = 0; j < img.nc(); ++j) {
      double soma = 0;
      for (int l = 0; l < mask.nl(); ++l)
        for (int m = 0; m < mask.nc(); ++m)
          soma = soma + double(img(i + mask.lc() - l, j + mask.cc() - m, modo)) * double(mask(l, m));
      r(i, j) = static_cast<T>(soma);
    }
  return r;
}

// Values in (-1, 1), and one in four +-2^30: large terms that cancel leave
// small ones whose rounding depends on the order of the sum, so a sum formed
// in another order shows.
template <class T>
IMG<T> aleatoria(int nl, int nc, unsigned semente, bool grandes = true) {
  std::mt19937 g(semente);
  std::uniform_real_distribution<double> u(-1, 1);
  auto valor = [&] { return static_cast<T>(!grandes || g() % 4 ? u(g) : (g() % 2 ? 0x1p30 : -0x1p30)); };
  IMG<T> a(nl, nc);
  for (int k = 0; k < a.n(); ++k) a.data()[k] = valor();
  a.fundo() = valor();
  return a;
}

// Bit for bit, so that -0 and +0 or a last-bit rounding difference show.
bool mesmos_bits(const IMGFLT& a, const IMGFLT& b) {
  return a.nl() == b.nl() && a.nc() == b.nc() &&
         (a.n() == 0 || std::memcmp(a.data(), b.data(), sizeof(FLT) * a.n()) == 0);
}

const char MODOS[] = {'n', 'x', 'r', 'c', 's', 'N', 'X', 'C', 0, 1, 3, 4, 5, 10, 11, 14};

struct MASCARA {
  int nl, nc, lc, cc;  // sizes and centre
};

}  // namespace

TEST(Convolucao, EqualsTheTermByTermSumBitForBitInEveryMode) {
  // Masks of odd and even sizes, with the centre inside, on an edge and far
  // outside, on images narrower and wider than a block of 16 pixels.
  const MASCARA mascaras[] = {{1, 1, 0, 0}, {3, 3, 1, 1}, {2, 5, 0, 4}, {4, 2, 3, 0},
                              {3, 3, -2, 6}, {13, 13, 6, 6}, {1, 7, 0, 3}};
  const int tamanhos[][2] = {{1, 1}, {5, 3}, {9, 37}, {20, 16}};
  unsigned semente = 1;
  for (const auto& t : tamanhos)
    for (const MASCARA& mk : mascaras) {
      IMGFLT img = aleatoria<FLT>(t[0], t[1], semente++);
      img.lc() = t[0] / 3;  // a centre of its own, for 'c', 's', 'X' and 'C'
      IMGFLT mask = aleatoria<FLT>(mk.nl, mk.nc, semente++);
      mask.lc() = mk.lc;
      mask.cc() = mk.cc;
      for (char modo : MODOS) {
        SCOPED_TRACE(std::to_string(t[0]) + "x" + std::to_string(t[1]) + " mask " + std::to_string(mk.nl) + "x" +
                     std::to_string(mk.nc) + " mode " + std::to_string(int(modo)));
        const IMGFLT r = convolui(img, mask, modo);
        EXPECT_TRUE(mesmos_bits(r, literal(img, mask, modo)));
        EXPECT_EQ(r.fundo(), 0.0f);
        EXPECT_EQ(r.lc(), (t[0] - 1) / 2);
      }
    }
}

TEST(Convolucao, DoubleImagesFollowTheSameSum) {
  // Products of doubles are rounded, so the sums agree within rounding.
  IMGDBL img = aleatoria<double>(11, 19, 5, false);
  img.cc() = 2;
  IMGDBL mask = aleatoria<double>(3, 4, 6, false);
  for (char modo : MODOS) {
    SCOPED_TRACE(int(modo));
    const IMGDBL r = convolui(img, mask, modo), e = literal(img, mask, modo);
    for (int k = 0; k < r.n(); ++k) EXPECT_NEAR(r.data()[k], e.data()[k], 1e-13) << k;
  }
}

TEST(Convolucao, ModeEFailsOnlyWhenTheMaskReachesOutside) {
  const IMGFLT img = aleatoria<FLT>(6, 7, 9);
  IMGFLT mask(3, 3, 1.0f);
  EXPECT_EXIT(convolui(img, mask, 'e'), testing::ExitedWithCode(1), "^Indice invalido \n$");
  EXPECT_EXIT(convolui(img, mask, 2), testing::ExitedWithCode(1), "^Indice invalido \n$");
  // A mask row that only reaches outside at the bottom.
  IMGFLT coluna(2, 1, 1.0f);
  coluna.lc() = 1;
  EXPECT_EXIT(convolui(img, coluna, 'e'), testing::ExitedWithCode(1), "^Indice invalido \n$");
  const IMGFLT um(1, 1, 1.0f);
  EXPECT_TRUE(mesmos_bits(convolui(img, um, 'e'), img));
}

TEST(Convolucao, UnknownModeFails) {
  const IMGFLT img(3, 3, 1.0f), mask(3, 3, 1.0f);
  EXPECT_EXIT(convolui(img, mask, 'q'), testing::ExitedWithCode(1), "^Erro: Modo de acesso invalido \n$");
  EXPECT_EXIT(convolui(IMGDBL(img), IMGDBL(mask), 6), testing::ExitedWithCode(1),
              "^Erro: Modo de acesso invalido \n$");
}

TEST(Convolucao, BordersOfAConstantImage) {
  const IMGFLT um(6, 7, 1.0f);
  const IMGFLT x = convolui(um, sobel('x'), 'x');
  expect_same_pixels(x, IMGFLT(6, 7, 0.0f));
  // Background 0: the left column misses the -1 -2 -1 column of the mask,
  // the right one the 1 2 1 column.
  const IMGFLT n = convolui(um, sobel('x'), 'n');
  for (int i = 1; i < 5; ++i) {
    EXPECT_EQ(n(i, 0), 4.0f);
    EXPECT_EQ(n(i, 6), -4.0f);
    for (int j = 1; j < 6; ++j) EXPECT_EQ(n(i, j), 0.0f);
  }
  EXPECT_EQ(n(0, 0), 3.0f);
  expect_same_pixels(convolui(um, laplaciano8(), 'x'), IMGFLT(6, 7, 0.0f));
  expect_same_pixels(convolui(um, laplaciano4(), 'r'), IMGFLT(6, 7, 0.0f));
}

TEST(Convolucao, UnitMaskGivesTheImageBackInEveryMode) {
  const IMGFLT img = aleatoria<FLT>(5, 8, 11);
  const IMGFLT um(1, 1, 1.0f);
  for (char modo : {'n', 'x', 'e', 'r', 'c', 's', 'N', 'X', 'C'}) {
    SCOPED_TRACE(modo);
    // The (x, y) modes read mirrored and transposed, so only a square image
    // with the centre in its middle comes back the same; the others all do.
    if (modo == 'N' || modo == 'X' || modo == 'C' || modo == 'c' || modo == 's') continue;
    EXPECT_TRUE(mesmos_bits(convolui(img, um, modo), img));
  }
  IMGFLT q = aleatoria<FLT>(5, 5, 12);
  q.lc() = q.cc() = 0;
  // 'c' and 's' read (i + lc, j + cc): with the centre at (0, 0), the image.
  EXPECT_TRUE(mesmos_bits(convolui(q, um, 'c'), q));
  EXPECT_TRUE(mesmos_bits(convolui(q, um, 's'), q));
}

TEST(Convolucao, MovingTheMaskCentreShiftsTheResult) {
  const IMGFLT img = aleatoria<FLT>(6, 6, 13);
  IMGFLT mask(3, 3, 0.0f);
  mask(2, 2) = 1;  // with the centre at (0, 0) this term reads (i - 2, j - 2)
  mask.lc() = mask.cc() = 0;
  const IMGFLT r = convolui(img, mask, 'n');
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) EXPECT_EQ(r(i, j), (i >= 2 && j >= 2) ? img(i - 2, j - 2) : img.fundo());
}

TEST(Convolucao, EmptyImageOrMaskReadsNothing) {
  const IMGFLT img = aleatoria<FLT>(3, 4, 14);
  // No terms: every sum is 0, and not even the mode is looked at.
  expect_same_pixels(convolui(img, IMGFLT(), 'q'), IMGFLT(3, 4, 0.0f));
  EXPECT_EQ(convolui(IMGFLT(), sobel('y'), 'e').n(), 0);
}

TEST(Mascaras, GradientMasks) {
  struct CASO {
    IMGFLT (*f)(char);
    const char* nome;
    IMGFLT x, y;
  };
  const CASO casos[] = {
      {sobel, "sobel", IMGFLT(3, 3, {1, 0, -1, 2, 0, -2, 1, 0, -1}), IMGFLT(3, 3, {-1, -2, -1, 0, 0, 0, 1, 2, 1})},
      {prewitt, "prewitt", IMGFLT(3, 3, {1, 0, -1, 1, 0, -1, 1, 0, -1}), IMGFLT(3, 3, {-1, -1, -1, 0, 0, 0, 1, 1, 1})},
      {sobeld, "sobeld", IMGFLT(3, 3, {0, -1, -2, 1, 0, -1, 2, 1, 0}), IMGFLT(3, 3, {-2, -1, 0, -1, 0, 1, 0, 1, 2})},
      {prewittd, "prewittd", IMGFLT(3, 3, {0, -1, -1, 1, 0, -1, 1, 1, 0}), IMGFLT(3, 3, {-1, -1, 0, -1, 0, 1, 0, 1, 1})},
      {roberts, "roberts", IMGFLT(2, 2, {0, -1, 1, 0}), IMGFLT(2, 2, {-1, 0, 0, 1})},
  };
  for (const CASO& c : casos) {
    SCOPED_TRACE(c.nome);
    const IMGFLT x = c.f('x'), y = c.f('y');
    expect_same_pixels(x, c.x);
    expect_same_pixels(y, c.y);
    EXPECT_EQ(x.lc(), x.nl() == 3 ? 1 : 0);
    EXPECT_EQ(y.cc(), y.nc() == 3 ? 1 : 0);
    EXPECT_EXIT(c.f('z'), testing::ExitedWithCode(1), std::string("^Erro ") + c.nome + ": direcao invalido \n$");
    EXPECT_EXIT(c.f('X'), testing::ExitedWithCode(1), std::string("^Erro ") + c.nome + ": direcao invalido \n$");
  }
  expect_same_pixels(laplaciano8(), IMGFLT(3, 3, {-1, -1, -1, -1, 8, -1, -1, -1, -1}));
  expect_same_pixels(laplaciano4(), IMGFLT(3, 3, {0, -1, 0, -1, 4, -1, 0, -1, 0}));
}

TEST(Mascaras, LaplacianOfGaussian) {
  const double pi = 3.141592653589793;
  const IMGFLT m1 = mascaralog(1.0);
  ASSERT_EQ(m1.nl(), 7);
  ASSERT_EQ(m1.nc(), 7);
  EXPECT_EQ(m1.lc(), 3);
  EXPECT_EQ(m1(3, 3), static_cast<float>(-1 / pi));
  // d2 = 5 at (1, 4): exp(-5/2) (5 / (2 pi) - 1 / pi).
  EXPECT_FLOAT_EQ(m1(1, 4), static_cast<float>(std::exp(-2.5) * (5 / (2 * pi) - 1 / pi)));
  EXPECT_EQ(m1(1, 4), m1(4, 1));
  EXPECT_EQ(m1(0, 0), m1(6, 6));

  const IMGFLT m03 = mascaralog(0.3);
  ASSERT_EQ(m03.n(), 1);
  EXPECT_FLOAT_EQ(m03(0, 0), static_cast<float>(-1 / (pi * std::pow(0.3, 4))));
  for (double s : {0.0, -1.0, std::nan("")}) {
    const IMGFLT m = mascaralog(s);
    ASSERT_EQ(m.n(), 1);
    EXPECT_EQ(m(0, 0), 0.0f);
  }
  EXPECT_EQ(mascaralog(2.5).nl(), 15);
  EXPECT_EXIT(mascaralog(1e300), testing::ExitedWithCode(1), "^Erro IMGFLT::aloca - Falta memoria \n$");

  const IMGFLT img = aleatoria<FLT>(12, 10, 15);
  EXPECT_TRUE(mesmos_bits(filtralog(img, 1.2), literal(img, mascaralog(1.2), 'x')));
}
