// Walsh transforms against their definition summed directly, and their
// messages.
#include "proc/walsh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/files.h"

using namespace imagorix;
using testsupport::stderr_line;

namespace {

int bit(int x, int c) { return (x >> c) & 1; }

// Parity of the c + 1 most significant of the m bits of x.
int paridade(int x, int c, int m) {
  int p = 0;
  for (int b = m - 1 - c; b < m; ++b) p ^= bit(x, b);
  return p;
}

// The definition, N^4 terms in long double.
IMGFLT direta(const IMGFLT& f, bool inversa) {
  const int n = f.nl();
  int m = 0;
  while ((1 << m) < n) ++m;
  IMGFLT r(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      long double s = 0;
      for (int k = 0; k < n; ++k)
        for (int l = 0; l < n; ++l) {
          int e = 0;
          for (int c = 0; c < m; ++c)
            e += inversa ? paridade(k, c, m) * bit(i, c) + paridade(l, c, m) * bit(j, c)
                         : paridade(i, c, m) * bit(k, c) + paridade(j, c, m) * bit(l, c);
          s += (e % 2 ? -1.0L : 1.0L) * f(k, l) / n;
        }
      r(i, j) = static_cast<FLT>(s);
    }
  return r;
}

}  // namespace

TEST(Walsh, BothDirectionsMatchTheDefinitionAndUndoEachOther) {
  std::mt19937 g(11);
  std::uniform_real_distribution<float> u(-1, 1);
  for (int n : {1, 2, 4, 8, 16, 32}) {
    IMGFLT f(n, n);
    for (int k = 0; k < n * n; ++k) f.data()[k] = u(g);
    f.fundo() = 5;
    for (bool inversa : {false, true}) {
      const IMGFLT r = inversa ? walsh_inversa(f) : walsh(f);
      const IMGFLT e = direta(f, inversa);
      ASSERT_EQ(r.nl(), n);
      ASSERT_EQ(r.nc(), n);
      EXPECT_EQ(r.fundo(), 0);
      EXPECT_EQ(ordem_walsh(), static_cast<int>(std::log2(n)));
      for (int k = 0; k < n * n; ++k) EXPECT_NEAR(r.data()[k], e.data()[k], 1e-6) << n << " " << inversa << " " << k;
    }
    const IMGFLT volta = walsh_inversa(walsh(f));
    for (int k = 0; k < n * n; ++k) EXPECT_NEAR(volta.data()[k], f.data()[k], 1e-6) << n << " " << k;
  }
}

TEST(Walsh, ConstantImageGoesToTheFirstElement) {
  const IMGFLT r = walsh(IMGFLT(8, 8, 0.5f));
  EXPECT_EQ(r(0, 0), 4.0f);
  for (int k = 1; k < 64; ++k) EXPECT_EQ(r.data()[k], 0.0f) << k;
}

TEST(Walsh, RefusesImagesThatAreNotSquarePowersOfTwo) {
  const std::string quadrada = stderr_line("Erro: Imagem deve ser quadrada ");
  const std::string potencia = stderr_line("Erro: Imagem deve ser quadrada e de dimensao 2^M ");
  EXPECT_EXIT(walsh(IMGFLT(2, 4)), testing::ExitedWithCode(1), quadrada);
  EXPECT_EXIT(walsh_inversa(IMGFLT(0, 0)), testing::ExitedWithCode(1), quadrada);
  EXPECT_EXIT(walsh(IMGFLT(3, 3)), testing::ExitedWithCode(1), potencia);
  EXPECT_EXIT(walsh_inversa(IMGFLT(12, 12)), testing::ExitedWithCode(1), potencia);
}
