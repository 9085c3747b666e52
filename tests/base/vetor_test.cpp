#include "base/vetor.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "base/ponto.h"
#include "base/types.h"

#include <algorithm>
#include <vector>

using namespace imagorix;

TEST(Vetor, EmptyVectorRejectsEveryIndex) {
  VETOR<int> v(0);
  EXPECT_EQ(v.n(), 0);
  EXPECT_EXIT(v(0), testing::ExitedWithCode(1), "^Erro VETOR::operator\\(\\) - Indice invalido \n$");
}

TEST(Vetor, AccessModes) {
  VETOR<int> v(5);
  for (int i = 0; i < 5; ++i) v(i) = 10 + i;
  v.fundo() = -1;
  EXPECT_EQ(v(-1, 'r'), 14);
  EXPECT_EQ(v(7, 'r'), 12);
  EXPECT_EQ(v(7, 3), 12);
  EXPECT_EQ(v(5, 'n'), -1);
  EXPECT_EQ(v(4, 0), 14);
  v.centro() = 2;
  EXPECT_EQ(v(-2, 'c'), 10);
  EXPECT_EQ(v(3, 'c'), -1);
  EXPECT_EQ(v(2, 4), 14);
  EXPECT_EXIT(v(1, 1), testing::ExitedWithCode(1), "^Erro VETOR::operator\\(i,modo\\) - modo invalido \n$");
  EXPECT_EXIT(v(5, 'e'), testing::ExitedWithCode(1), "^Erro VETOR::operator\\(i,'e'\\) - Indice invalido \n$");
}

TEST(Vetor, ResizeKeepsContentsOnlyForTheSameCount) {
  VETOR<int> v(3);
  v(0) = 1; v(1) = 2; v(2) = 3;
  v.centro() = 1;
  v.resize(3);
  EXPECT_EQ(v(2), 3);
  EXPECT_EQ(v.centro(), 1);
  v.resize(4);
  EXPECT_EQ(v.n(), 4);
  EXPECT_EQ(v.centro(), 0);
}

TEST(Vetor, CopyIsDeepAndCarriesTheCentre) {
  VETOR<double> a(2);
  a(0) = 1.5; a(1) = 2.5;
  a.centro() = 1;
  VETOR<double> b(a);
  b(0) = 9;
  EXPECT_EQ(a(0), 1.5);
  EXPECT_EQ(b(1), 2.5);
  EXPECT_EQ(b.centro(), 1);
  VETOR<double> c(7);
  c = a;
  EXPECT_EQ(c.n(), 2);
  EXPECT_EQ(c(1), 2.5);
}

namespace {

// Counts the elements alive (a vector's background is one too), so that
// storage a vector drops without releasing shows as elements never
// destroyed.
struct Vivo {
  static inline int vivos = 0;
  Vivo() { ++vivos; }
  ~Vivo() { --vivos; }
};

}  // namespace

TEST(Vetor, AlocaReleasesWhatTheVectorHeld) {
  {
    VETOR<Vivo> v(5);
    v.centro() = 2;
    v.aloca(3);
    EXPECT_EQ(Vivo::vivos, 3 + 1);
    EXPECT_EQ(v.n(), 3);
    EXPECT_EQ(v.centro(), 0);
    v.aloca(0);
    EXPECT_EQ(Vivo::vivos, 0 + 1);
  }
  EXPECT_EQ(Vivo::vivos, 0);
}

TEST(Vetor, MovesCarryTheBackground) {
  VETOR<int> a(3);
  a.fundo() = 42;
  a.centro() = 1;
  VETOR<int> b(std::move(a));
  EXPECT_EQ(b(7, 'n'), 42);
  VETOR<int> c(1);
  c.fundo() = 5;
  c = std::move(b);
  EXPECT_EQ(c.n(), 3);
  EXPECT_EQ(c.centro(), 1);
  EXPECT_EQ(c(-1, 'n'), 42);
}

TEST(Vetor, NegativeCountHasNoStorage) {
  VETOR<int> v(-3);
  EXPECT_EQ(v.n(), -3);
  EXPECT_EQ(v.data(), nullptr);
}

// The request (32 GiB) is refused for certain under a cap on the address
// space, whatever memory the machine has. AddressSanitizer reports an
// exhausted allocation as its own error instead of returning no memory, and
// needs a huge address space for its shadow memory.
TEST(Vetor, HugeAllocationEndsWithTheMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator does not return null for an exhausted request";
#else
  EXPECT_EXIT(
      {
        rlimit r;
        r.rlim_cur = r.rlim_max = rlim_t{1} << 30;
        setrlimit(RLIMIT_AS, &r);
        VETOR<PONTOI4> v(2147483647);
      },
      testing::ExitedWithCode(1), "^Erro VETOR::aloca - Falta memoria \n$");
#endif
}

TEST(Quicksort, SortsPontoi4Lexicographically) {
  VETOR<PONTOI4> v(6);
  const int src[6][4] = {{3, 0, 0, 0}, {1, 2, 3, 4}, {1, 2, 3, 1}, {1, 1, 9, 9}, {0, 5, 5, 5}, {1, 2, 2, 8}};
  for (int i = 0; i < 6; ++i) v(i) = PONTOI4(src[i][0], src[i][1], src[i][2], src[i][3]);
  quicksort(v, 0, 5);
  const int want[6][4] = {{0, 5, 5, 5}, {1, 1, 9, 9}, {1, 2, 2, 8}, {1, 2, 3, 1}, {1, 2, 3, 4}, {3, 0, 0, 0}};
  for (int i = 0; i < 6; ++i)
    for (int k = 0; k < 4; ++k) EXPECT_EQ(v(i)(k), want[i][k]) << i << "," << k;
}

TEST(Quicksort, LargeRandomRangeMatchesStdSort) {
  const int n = 20000;
  VETOR<PONTOI4> v(n);
  std::vector<PONTOI4> ref;
  unsigned s = 12345;
  for (int i = 0; i < n; ++i) {
    s = s * 1103515245u + 12345u;
    v(i) = PONTOI4(int(s >> 28), int((s >> 20) & 7), int(s % 1000), i);
    ref.push_back(v(i));
  }
  quicksort(v, 0, n - 1);
  std::sort(ref.begin(), ref.end());
  for (int i = 0; i < n; ++i) ASSERT_EQ(v(i), ref[i]) << i;
}

TEST(Quicksort, RangeBounds) {
  VETOR<PONTOI4> v(5);
  for (int i = 0; i < 5; ++i) v(i) = PONTOI4(5 - i, 0, 0, 0);
  quicksort(v, 3, 3);
  EXPECT_EQ(v(3)(0), 2);
  EXPECT_EXIT(quicksort(v, 0, -1), testing::ExitedWithCode(1), "^Erro: deveria ter l<=r \n$");
}

TEST(Selectk, FindsTheKthSmallest) {
  VETOR<double> v(5);
  const double src[] = {5, 1, 4, 2, 3};
  for (int i = 0; i < 5; ++i) v(i) = src[i];
  EXPECT_EQ(selectk(v, 0, 2, 4), 3.0);
  VETOR<BYTE> b(4);
  const BYTE bs[] = {200, 7, 255, 100};
  for (int i = 0; i < 4; ++i) b(i) = bs[i];
  EXPECT_EQ(selectk(b, 0, 3, 3), 255);
  EXPECT_EXIT(selectk(v, 1, 0, 4), testing::ExitedWithCode(1), "^Erro: deveria ter l<=k<=r \n$");
}

TEST(Pontoi4, IndexOutsideFourEndsTheProgram) {
  PONTOI4 p(1, 2, 3, 4);
  EXPECT_EQ(p(3), 4);
  EXPECT_EXIT(p(-1), testing::ExitedWithCode(1), "^Indice invalida PONTOI4 \n$");
  EXPECT_EXIT(p(4), testing::ExitedWithCode(1), "^Indice invalida PONTOI4 \n$");
}
