#include "base/matrizbit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace imagorix;

namespace {

std::string texto(const MATRIZBIT& m) {
  std::ostringstream s;
  s << m;
  return s.str();
}

}  // namespace

TEST(MatrizBit, RowsAreNotPaddedToWords) {
  MATRIZBIT m(3, 11);
  EXPECT_EQ(m.nbits(), 33);
  EXPECT_EQ(m.nw(), 2);
  m(1, 0) = true;   // linear bit 11
  m(2, 10) = true;  // linear bit 32
  EXPECT_EQ(m.data()[0], 0x80000000u >> 11);
  EXPECT_EQ(m.data()[1], 0x80000000u);
  EXPECT_TRUE(m(1, 0));
  EXPECT_FALSE(m(0, 11 - 1));
  m(1, 0) = m(0, 0);
  EXPECT_EQ(m.data()[0], 0u);
}

TEST(MatrizBit, StorageOfDegenerateSizes) {
  struct Caso { int nl, nc, nw; } casos[] = {
      {0, 5, 1},   // no rows but some columns: still one word
      {5, 0, 0},   // no columns: no storage
      {-2, 3, 0},  // a negative row count holds nothing
      {-2, -3, 0},
      {1, 32, 1},
      {2, 17, 2},
  };
  for (const Caso& c : casos) {
    MATRIZBIT m(c.nl, c.nc);
    EXPECT_EQ(m.nw(), c.nw) << c.nl << "x" << c.nc;
    EXPECT_EQ(m.data() == nullptr, c.nw == 0) << c.nl << "x" << c.nc;
  }
  EXPECT_EXIT(MATRIZBIT(65536, 65536), testing::ExitedWithCode(1),
              "^Erro MATRIZBIT::aloca - Falta memoria \n$");
}

TEST(MatrizBit, ValuesAndPrinting) {
  const MATRIZBIT m(2, 3, 1, 0, 1, 0, 5, 1);
  EXPECT_EQ(texto(m), "[1 0 1 ]\n[0 1 1 ]\n");
  EXPECT_EQ(texto(MATRIZBIT(2, 2, true)), "[1 1 ]\n[1 1 ]\n");
  EXPECT_EQ(texto(MATRIZBIT(1, 1, 1)), "[1 ]\n");
  EXPECT_EQ(texto(MATRIZBIT(0, 4)), "");
  EXPECT_EQ(texto(MATRIZBIT(2, 0)), "[]\n[]\n");
  EXPECT_EXIT(MATRIZBIT(2, 2, 1, 0, 1), testing::ExitedWithCode(1),
              "^Erro MATRIZBIT::MATRIZBIT - Numero de valores invalido \n$");
}

TEST(MatrizBit, IndexOutsideTheMatrixEndsTheProgram) {
  struct Caso { int l, c; } casos[] = {{-1, 0}, {3, 0}, {0, -1}, {0, 4}, {2, 4}};
  MATRIZBIT m(3, 4);
  const MATRIZBIT& k = m;
  for (const Caso& c : casos) {
    EXPECT_EXIT(m(c.l, c.c) = true, testing::ExitedWithCode(1),
                "^Erro MATRIZBIT::operator\\(\\) - Indice invalido \n$") << c.l << "," << c.c;
    EXPECT_EXIT((void)k(c.l, c.c), testing::ExitedWithCode(1),
                "^Erro MATRIZBIT::operator\\(\\) - Indice invalido \n$") << c.l << "," << c.c;
  }
}

TEST(MatrizBit, CopiesAreDeepAndResizeKeepsEqualSizes) {
  MATRIZBIT a(2, 3, 1, 1, 0, 0, 1, 0);
  MATRIZBIT b(a);
  b(0, 0) = false;
  EXPECT_TRUE(a(0, 0));

  MATRIZBIT c(40, 40, true);
  c = a;
  EXPECT_EQ(c.nl(), 2);
  EXPECT_EQ(c.nc(), 3);
  EXPECT_EQ(c.nw(), 1);
  EXPECT_EQ(texto(c), texto(a));
  c = c;
  EXPECT_EQ(texto(c), "[1 1 0 ]\n[0 1 0 ]\n");

  c.resize(2, 3);
  EXPECT_EQ(texto(c), "[1 1 0 ]\n[0 1 0 ]\n");
  c.resize(3, 2);
  EXPECT_EQ(c.nl(), 3);
  EXPECT_EQ(c.nc(), 2);
  EXPECT_EQ(texto(c), "[0 0 ]\n[0 0 ]\n[0 0 ]\n");
}
