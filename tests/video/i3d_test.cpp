// The sequence and 4-D classes: allocation, copies, access and filling.
#include "video/i3d.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "support/files.h"
#include "support/sequences.h"

using namespace imagorix;
using namespace testsupport;

namespace {

// A grey sequence whose element (f, l, c) says where it is.
I3DGRY numerada(int nf, int nl, int nc) {
  I3DGRY s(nf, nl, nc);
  for (int f = 0; f < nf; ++f)
    for (int l = 0; l < nl; ++l)
      for (int c = 0; c < nc; ++c) s(f, l, c) = BYTE(100 * f + 10 * l + c);
  return s;
}

}  // namespace

TEST(I3D, AllocationGivesZeroFramesOfTheSizeAndTheDefaultDuration) {
  I3DCOR k(3, 2, 4);
  EXPECT_EQ(k.nf(), 3);
  EXPECT_EQ(k.fd(), 250000);
  for (int f = 0; f < 3; ++f) {
    EXPECT_EQ(k(f).nl(), 2);
    EXPECT_EQ(k(f).nc(), 4);
    EXPECT_EQ(k(f).lc(), 0);
    EXPECT_EQ(k(f).cc(), 1);
    EXPECT_EQ(k(f, 1, 3), COR{});
  }
  k.fd() = 40000;
  k.aloca(1, 1, 1);
  EXPECT_EQ(k.fd(), 250000);
  // No frames: nothing to reach.
  const I3DFLT vazia(0, 5, 5);
  EXPECT_EQ(vazia.nf(), 0);
  EXPECT_EQ(vazia(0, 0, 0), 0.0f);
}

TEST(I3D, ResizeKeepsFramesOnlyForTheSameSizes) {
  I3DGRY s = numerada(2, 3, 4);
  const BYTE* antes = s(1).data();
  s.resize(2, 3, 4);
  EXPECT_EQ(s(1).data(), antes);
  EXPECT_EQ(s(1, 2, 3), 123);
  s.resize(2, 4, 3);
  EXPECT_EQ(s.nl(), 4);
  EXPECT_EQ(s(1, 2, 2), 0);
}

TEST(I3D, CopiesAreDeepAndCarryBackgroundAndDuration) {
  I3DCOR a(2, 2, 2);
  a.preenche(0x030201);
  a.fundo() = COR{9, 9, 9};
  a.fd() = 33367;
  I3DCOR b(a);
  I3DCOR c(5, 1, 1);
  c = a;
  for (I3DCOR* k : {&b, &c}) {
    EXPECT_EQ(k->nf(), 2);
    EXPECT_EQ((*k)(1, 1, 1), (COR{1, 2, 3}));
    EXPECT_EQ(k->fundo(), (COR{9, 9, 9}));
    EXPECT_EQ(k->fd(), 33367);
  }
  b(0, 0, 0) = COR{7, 7, 7};
  EXPECT_EQ(a(0, 0, 0), (COR{1, 2, 3}));
  c = c;
  EXPECT_EQ(c(1, 1, 1), (COR{1, 2, 3}));
}

TEST(I3D, AccessOutsideUsesTheBackground) {
  I3DGRY s = numerada(2, 2, 3);
  s.fundo() = 77;
  for (auto [f, l, c] : {std::tuple{2, 0, 0}, {-1, 0, 0}, {0, 2, 0}, {0, 0, 3}, {1, -1, 2}})
    EXPECT_EQ(s(f, l, c), 77) << f << " " << l << " " << c;
  s(2, 0, 0) = 5;  // a store outside changes the background, no frame
  EXPECT_EQ(s.fundo(), 5);
  EXPECT_TRUE(same_sequence(s, numerada(2, 2, 3)));
}

TEST(I3D, FillSetsEveryElementButNotTheBackground) {
  I3DCPX x(2, 2, 2);
  EXPECT_EQ(x.fundo(), CPXF(0, 0));
  x.preenche(1.5f, -2.0f);
  EXPECT_EQ(x(1, 1, 1), CPXF(1.5f, -2.0f));
  EXPECT_EQ(x.fundo(), CPXF(0, 0));
  I3DCOR k(1, 1, 2);
  k.preenche(0x0A0B0C);  // lowest byte red
  EXPECT_EQ(k(0, 0, 1), (COR{0x0C, 0x0B, 0x0A}));
  I3DSHT h(2, 1, 1);
  h.preenche(SHT(-300));
  EXPECT_EQ(h(1, 0, 0), -300);
}

TEST(I3DDeathTest, FrameIndexOutside) {
  const std::pair<std::function<void()>, std::string> casos[] = {
      {[] { I3DGRY(2, 1, 1)(2); }, "Erro I3DGRY::operator() - Indice invalido "},
      {[] { I3DCOR(2, 1, 1)(-1); }, "Erro I3DCOR::operator() - Indice invalido "},
      {[] { I3DFLT()(0); }, "Erro I3DFLT::operator() - Indice invalido "},
      {[] { I4DGRY(1, 1, 1, 1)(1); }, "Erro I4DGRY::operator() - Indice invalido "},
  };
  for (const auto& [f, msg] : casos) EXPECT_EXIT(f(), testing::ExitedWithCode(1), stderr_line(msg));
}

// Sizes no memory could hold are refused before anything is allocated.
TEST(I3DDeathTest, SizesThatDoNotFit) {
  const std::pair<std::function<void()>, std::string> casos[] = {
      {[] { I3DGRY(2, 70000, 70000); }, "Erro I3DGRY::aloca - Falta memoria "},
      {[] { I3DCPX(INT_MAX, 46340, 46340); }, "Erro I3DCPX::aloca - Falta memoria "},
#if !defined(__SANITIZE_ADDRESS__)
      // Refused when the frame table cannot be had, which the sanitizer's
      // allocator ends the process for instead of returning null.
      {[] { I3DSHT(INT_MAX, 1, 1); }, "Erro I3DSHT::aloca - Falta memoria "},
#endif
      {[] { I4DFLT(INT_MAX, INT_MAX, 1000, 1000); }, "Erro I4DFLT::aloca - Falta memoria "},
  };
  for (const auto& [f, msg] : casos)
    EXPECT_EXIT(
        {
          cap_address_space();
          f();
        },
        testing::ExitedWithCode(1), stderr_line(msg));
}

TEST(I4D, AllocationAssignmentAndAccess) {
  I4DSHT a(2, 3, 2, 2);
  EXPECT_EQ(a(1).nf(), 3);
  EXPECT_EQ(a(1)(2).nc(), 2);
  a.preenche(SHT(4));
  a(1, 2, 1, 1) = -9;
  a.fundo() = 1;
  EXPECT_EQ(a(2, 0, 0, 0), 1);
  I4DSHT b(1, 1, 1, 1);
  b = a;
  EXPECT_EQ(b.nvol(), 2);
  EXPECT_EQ(b(1, 2, 1, 1), -9);
  EXPECT_EQ(b(0, 0, 0, 0), 4);
  EXPECT_EQ(b.fundo(), 1);
  b(0, 0, 0, 0) = 0;
  EXPECT_EQ(a(0, 0, 0, 0), 4);
  const I4DSHT c(a);
  EXPECT_EQ(c(1, 2, 1, 1), -9);
  // Same sizes: the volumes are assigned in place.
  const SHT* antes = b(1)(2).data();
  b = c;
  EXPECT_EQ(b(1)(2).data(), antes);
  EXPECT_EQ(b(0, 0, 0, 0), 4);
}
