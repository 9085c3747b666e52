// Bilevel pages at a chosen threshold and at Otsu's.
#include "image/binariza.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

// Otsu's threshold the plain way: for every split, the two classes' weights
// and means in floating point, and the variance between them.
int otsu_plano(const IMGGRY& g) {
  double h[256] = {};
  for (int l = 0; l < g.nl(); ++l)
    for (int c = 0; c < g.nc(); ++c) h[g(l, c)] += 1;
  const double n = static_cast<double>(g.nl()) * g.nc();
  int melhor = 128;
  double maior = -1;
  for (int t = 1; t < 256; ++t) {
    double w0 = 0, m0 = 0, w1 = 0, m1 = 0;
    for (int v = 0; v < t; ++v) w0 += h[v], m0 += v * h[v];
    for (int v = t; v < 256; ++v) w1 += h[v], m1 += v * h[v];
    if (w0 == 0 || w1 == 0) continue;
    m0 /= w0;
    m1 /= w1;
    const double var = (w0 / n) * (w1 / n) * (m0 - m1) * (m0 - m1);
    if (var > maior * (1 + 1e-12)) maior = var, melhor = t;
  }
  return melhor;
}

}  // namespace

TEST(Binariza, ThresholdsGreyAndColourByTheirGreyLevel) {
  const IMGGRY g(1, 4, {0, 99, 100, 255});
  const struct { int limiar; const char* brancos; } casos[] = {{0, "1111"}, {100, "0011"}, {101, "0001"}, {256, "0000"}};
  for (auto k : casos) {
    const IMGBIN b = binariza(g, k.limiar);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(b.get(0, c), k.brancos[c] == '1') << k.limiar << " " << c;
  }
  // (r + g + b + 1) / 3: 299 + 1 -> 100.
  const IMGCOR cor(1, 2, {100, 100, 99, 100, 99, 99});
  const IMGBIN b = binariza(cor, 100);
  EXPECT_TRUE(b.get(0, 0));
  EXPECT_FALSE(b.get(0, 1));
  // At 128 both agree with the class rule.
  const IMGGRY r = IMGGRY(random_words_image(20, 50, 3));
  expect_same_pixels(binariza(r, 128), IMGBIN(r));
  EXPECT_EXIT(binariza(g, 257), testing::ExitedWithCode(1), stderr_line("Erro binariza - Limiar invalido "));
  EXPECT_EXIT(binariza(g, -1), testing::ExitedWithCode(1), stderr_line("Erro binariza - Limiar invalido "));
}

TEST(Binariza, OtsuAgreesWithThePlainMethodAndSplitsAnUnevenScan) {
  std::mt19937 gen(5);
  for (int k = 0; k < 20; ++k) {
    IMGGRY g(30, 40);
    const int a = static_cast<int>(gen() % 120), b = 130 + static_cast<int>(gen() % 120);
    for (int l = 0; l < 30; ++l)
      for (int c = 0; c < 40; ++c) {
        const int centro = (gen() % 3 == 0) ? a : b;
        g(l, c) = static_cast<BYTE>(std::clamp(centro + static_cast<int>(gen() % 31) - 15, 0, 255));
      }
    const int t = limiar_otsu(g);
    EXPECT_EQ(t, otsu_plano(g)) << k;
    EXPECT_GT(t, a);
    EXPECT_LE(t, b);
  }
  EXPECT_EQ(limiar_otsu(IMGGRY(5, 5, BYTE{40})), 128);
  EXPECT_EQ(limiar_otsu(IMGGRY()), 128);
}
