#include "image/imgbin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "image/img.h"

using namespace imagorix;

namespace {

// All pixels of an IMGBIN in row-major order.
std::vector<int> pixels(const IMGBIN& b) {
  std::vector<int> v;
  for (int l = 0; l < b.nl(); ++l)
    for (int c = 0; c < b.nc(); ++c) v.push_back(b(l, c));
  return v;
}

}  // namespace

TEST(ImgBin, WordLayoutOfThreeByThirtyThree) {
  IMGBIN b(3, 33, 0);
  EXPECT_EQ(b.wpr(), 2);
  EXPECT_EQ(b.nw(), 6);
  EXPECT_EQ(b.n(), 99);
  EXPECT_EQ(b.fundo() & 1u, 1u);
  EXPECT_EQ(b.lc(), 1);
  EXPECT_EQ(b.cc(), 16);
  EXPECT_EQ(b.row(1), b.data() + 2);
  EXPECT_EQ(b.row(2), b.data() + 4);

  b(0, 32) = 1;
  b(1, 0) = 1;
  b(2, 31) = 1;
  const std::vector<std::uint32_t> want = {0, 0x80000000u, 0x80000000u, 0, 1u, 0};
  EXPECT_EQ(std::vector<std::uint32_t>(b.data(), b.data() + 6), want);
  EXPECT_TRUE(b.get(0, 32));
  b.set(0, 32, false);
  b.set(0, 5, true);
  EXPECT_EQ(b.row(0)[0], 0x04000000u);
  EXPECT_EQ(b.row(0)[1], 0u);
}

TEST(ImgBin, SizesCentresAndEmptyImages) {
  struct Caso { int nl, nc, n, wpr, nw, lc, cc; bool storage; };
  const Caso casos[] = {
      {0, 0, 0, 0, 0, 0, 0, false},
      {4, 7, 28, 1, 4, 1, 3, true},
      {1, 32, 32, 1, 1, 0, 15, true},
      {2, 64, 128, 2, 4, 0, 31, true},
      {2, 65, 130, 3, 6, 0, 32, true},
      {-3, 5, -15, 0, 0, -2, 2, false},
      {5, 0, 0, 0, 0, 2, 0, false},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(testing::Message() << k.nl << "x" << k.nc);
    const IMGBIN b(k.nl, k.nc);
    EXPECT_EQ(b.nl(), k.nl);
    EXPECT_EQ(b.nc(), k.nc);
    EXPECT_EQ(b.n(), k.n);
    EXPECT_EQ(b.wpr(), k.wpr);
    EXPECT_EQ(b.nw(), k.nw);
    EXPECT_EQ(b.lc(), k.lc);
    EXPECT_EQ(b.cc(), k.cc);
    EXPECT_EQ(b.data() != nullptr, k.storage);
    EXPECT_EQ(b.fundo() & 1u, 1u);
  }
}

TEST(ImgBin, SizesThatOverflowEndWithTheAllocationMessage) {
  const char* msg = "^Erro IMGBIN::aloca - falta memoria \n$";
  EXPECT_EXIT(IMGBIN(65536, 65536), testing::ExitedWithCode(1), msg);
  EXPECT_EXIT(IMGBIN(-65536, 65536), testing::ExitedWithCode(1), msg);
  EXPECT_EXIT(IMGBIN(2, std::numeric_limits<int>::max()), testing::ExitedWithCode(1), msg);
  IMGBIN b(2, 2);
  EXPECT_EXIT(b.resize(100000, 100000), testing::ExitedWithCode(1), msg);
}

TEST(ImgBin, AccessOutsideUsesTheBackgroundBit) {
  IMGBIN b(10, 10, 0);
  b(4, 4) = 1;
  b(9, 0) = 1;
  EXPECT_TRUE(b(10, 0));  // background is white after aloca
  b(10, 0) = 0;
  EXPECT_EQ(b.fundo() & 1u, 0u);
  EXPECT_FALSE(b(-1, 3, 'n'));
  b(-1, 3, 'c') = 1;  // row 3, column 7: inside
  EXPECT_TRUE(b(3, 7));
  b(0, 6, 'C') = 1;   // row -2: outside
  EXPECT_EQ(b.fundo() & 1u, 1u);
  EXPECT_EQ(pixels(b), pixels([] {
              IMGBIN w(10, 10, 0);
              w(4, 4) = 1; w(9, 0) = 1; w(3, 7) = 1;
              return w;
            }()));
  EXPECT_TRUE(b(0, 0, 'N'));
  EXPECT_TRUE(b(0, 0, 'X'));
  EXPECT_TRUE(b(5, -4, 's'));   // (9, 0)
  EXPECT_FALSE(b(5, -3, 's'));  // (9, 1)
  const IMGBIN& cb = b;
  EXPECT_TRUE(cb(4, 4));
  EXPECT_TRUE(cb(-16, -6, 'r'));  // (4, 4)
  EXPECT_TRUE(cb(10, 0));  // background, white again
}

TEST(ImgBin, AccessModeErrors) {
  IMGBIN b(10, 10, 0);
  EXPECT_EXIT(b(10, 0, 'e'), testing::ExitedWithCode(1), "^Indice invalido \n$");
  EXPECT_EXIT(b(0, -1, 2), testing::ExitedWithCode(1), "^Indice invalido \n$");
  EXPECT_EXIT(b(0, 0, 'q'), testing::ExitedWithCode(1), "^Erro: Modo de acesso invalido \n$");
  EXPECT_EXIT(b(0, 0, 7), testing::ExitedWithCode(1), "^Erro: Modo de acesso invalido \n$");
}

TEST(ImgBin, ConstructorsFromValues) {
  const IMGBIN lista(2, 3, {1, 0, 0, 5, 0, -1});
  EXPECT_EQ(pixels(lista), (std::vector<int>{1, 0, 0, 1, 0, 1}));

  const IMGBIN branca(2, 40, 7);
  const IMGBIN preta(2, 40, 0);
  for (int c = 0; c < 40; ++c) {
    EXPECT_TRUE(branca(1, c));
    EXPECT_FALSE(preta(1, c));
  }
  EXPECT_EQ(preta.fundo() & 1u, 1u);

  EXPECT_EXIT(IMGBIN(2, 2, {1, 0, 1}), testing::ExitedWithCode(1),
              "^Erro IMGBIN::IMGBIN - Numero de valores invalido \n$");
}

TEST(ImgBin, CopyMoveAndAssignment) {
  IMGBIN a(3, 33, 0);
  a(2, 32) = 1;
  a.row(0)[1] |= 0x1234u;  // spare bits travel with whole-word copies
  a.fundo() = 0;
  a.lc() = 0;
  a.cc() = 30;

  const IMGBIN copia(a);
  EXPECT_EQ(std::vector<std::uint32_t>(copia.data(), copia.data() + 6),
            std::vector<std::uint32_t>(a.data(), a.data() + 6));
  EXPECT_EQ(copia.fundo(), 0u);
  EXPECT_EQ(copia.lc(), 0);
  EXPECT_EQ(copia.cc(), 30);
  a(2, 32) = 0;
  EXPECT_TRUE(copia(2, 32));  // deep

  // Same-size assignment reuses the block and carries centre and background.
  IMGBIN b(3, 33, 1);
  const std::uint32_t* bloco = b.data();
  b = copia;
  EXPECT_EQ(b.data(), bloco);
  EXPECT_EQ(b.cc(), 30);
  EXPECT_EQ(b.fundo(), 0u);
  EXPECT_EQ(b.row(0)[1], copia.row(0)[1]);

  // Self-assignment changes nothing.
  IMGBIN& mesmo = b;
  b = mesmo;
  EXPECT_EQ(b.data(), bloco);
  EXPECT_EQ(b.cc(), 30);
  EXPECT_EQ(pixels(b), pixels(copia));

  // Assignment of another size gets the source's storage size.
  IMGBIN c(1, 1);
  c = copia;
  EXPECT_EQ(c.wpr(), 2);
  EXPECT_EQ(pixels(c), pixels(copia));

  IMGBIN d(std::move(c));
  EXPECT_EQ(d.nl(), 3);
  EXPECT_EQ(pixels(d), pixels(copia));
  EXPECT_EQ(c.data(), nullptr);
  EXPECT_EQ(c.n(), 0);
  c = std::move(d);
  EXPECT_EQ(pixels(c), pixels(copia));
  EXPECT_EQ(d.nw(), 0);
}

TEST(ImgBin, ResizeKeepsEverythingOnlyForTheSameSize) {
  IMGBIN b(4, 5, 1);
  b.lc() = 3;
  b.fundo() = 0;
  b.resize(4, 5);
  EXPECT_EQ(b.lc(), 3);
  EXPECT_EQ(b.fundo(), 0u);
  EXPECT_TRUE(b(3, 4));
  b.resize(5, 4);
  EXPECT_EQ(b.nl(), 5);
  EXPECT_EQ(b.lc(), 2);
  EXPECT_EQ(b.fundo() & 1u, 1u);
  b.resize(0, 0);
  EXPECT_EQ(b.data(), nullptr);
}

TEST(ImgBin, BulkSetters) {
  IMGBIN b(2, 33, 0);
  b.fundo() = 0;
  b.preenche(true);
  EXPECT_EQ(pixels(b), std::vector<int>(66, 1));
  EXPECT_EQ(b.fundo(), 0u);

  IMGBIN g(2, 3);
  const BYTE bytes[6] = {0, 1, 0, 2, 0, 255};
  g.preenchebytes(bytes, 6);
  EXPECT_EQ(pixels(g), (std::vector<int>{0, 1, 0, 1, 0, 1}));
  EXPECT_EXIT(g.preenchebytes(bytes, 5), testing::ExitedWithCode(1),
              "^Erro IMGBIN::preenchebytes - Vetor menor que a imagem \n$");

  // Bits not padded to rows: pixel (1, 0) of a 33-wide image is bit 33.
  const std::uint32_t bits[3] = {0xA0000000u, 0x60000001u, 0x80000000u};
  IMGBIN p(2, 33, 0);
  p.preenchebits(bits, 3);
  std::vector<int> want(66, 0);
  want[0] = want[2] = want[33] = want[34] = want[63] = want[64] = 1;
  EXPECT_EQ(pixels(p), want);
  EXPECT_EXIT(p.preenchebits(bits, 2), testing::ExitedWithCode(1),
              "^Erro IMGBIN::preenchebits - Vetor menor que a imagem \n$");
}

// Conversions into IMGBIN: the boundary values of every rule, through both the
// constructor and the assignment, and the background by the same rule.
TEST(ImgBin, FromGrey) {
  IMGGRY g(1, 4, {127, 128, 0, 255});
  g.fundo() = 200;
  const IMGBIN b(g);
  EXPECT_EQ(pixels(b), (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(b.fundo() & 1u, 1u);
  EXPECT_EQ(b.lc(), 0);
  EXPECT_EQ(b.cc(), 1);

  // Same size: the target's centre stays, its background follows the grey one.
  IMGBIN t(1, 4, 1);
  t.lc() = 7;
  t.cc() = 8;
  g.fundo() = 3;
  t = g;
  EXPECT_EQ(pixels(t), pixels(b));
  EXPECT_EQ(t.lc(), 7);
  EXPECT_EQ(t.cc(), 8);
  EXPECT_EQ(t.fundo() & 1u, 0u);
}

TEST(ImgBin, FromColour) {
  IMGCOR c(1, 4, {128, 127, 127, 128, 128, 127, 0, 0, 0, 255, 255, 255});
  c.fundo() = COR{200, 200, 0};
  const IMGBIN b(c);
  EXPECT_EQ(pixels(b), (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(b.fundo() & 1u, 1u);
  IMGBIN t;
  t = c;
  EXPECT_EQ(pixels(t), pixels(b));
}

TEST(ImgBin, FromReal) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  IMGFLT f(1, 6, {0.5, nan, std::nextafter(0.5f, 0.0f), -1.0, INFINITY, 0.0});
  f.fundo() = nan;
  const IMGBIN b(f);
  EXPECT_EQ(pixels(b), (std::vector<int>{1, 1, 0, 0, 1, 0}));
  EXPECT_EQ(b.fundo() & 1u, 1u);
  IMGBIN t(1, 6);
  t = f;
  EXPECT_EQ(pixels(t), pixels(b));
}

TEST(ImgBin, FromComplex) {
  // Modulus 0.5 is white; 0.3 + 0.39i (0.492) is black; huge parts must not
  // overflow into a wrong answer, tiny ones must not underflow to white.
  IMGCPX z(1, 7, {0.5, 0, 0, -0.5, 0.3, 0.39, 3e38, 3e38, 0, 0, 1e-30, 1e-30, -0.36, 0.36});
  const IMGBIN b(z);
  EXPECT_EQ(pixels(b), (std::vector<int>{1, 1, 0, 1, 0, 0, 1}));
  EXPECT_EQ(b.fundo() & 1u, 0u);  // background 0 + 0i
  IMGBIN t(3, 3);
  t = z;
  EXPECT_EQ(pixels(t), pixels(b));
}
