#include "carriers.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "random/random.h"
#include "test_pages.h"

using namespace kova;

namespace {

bool same(const VETOR<PONTOI4>& a, const VETOR<PONTOI4>& b) {
  if (a.n() != b.n()) return false;
  for (int i = 0; i < a.n(); ++i)
    if (a(i) != b(i)) return false;
  return true;
}

}  // namespace

TEST(VisTable, FrequenciesAndExamples) {
  const VETOR<int> vis = MakeVisTable();
  ASSERT_EQ(vis.n(), 512);
  std::map<int, int> freq;
  for (int i = 0; i < 512; ++i) ++freq[vis(i)];
  const std::map<int, int> want = {{10, 32},  {20, 16},  {30, 16}, {40, 16},  {50, 16},
                                   {60, 176}, {70, 56},  {80, 32}, {90, 32},  {100, 16},
                                   {110, 64}, {120, 16}, {130, 4}, {140, 16}, {150, 4}};
  EXPECT_EQ(freq, want);
  EXPECT_EQ(vis(0), 150);
  EXPECT_EQ(vis(511), 150);
  EXPECT_EQ(vis(16), 150);
  EXPECT_EQ(vis(63), 100);
  EXPECT_EQ(vis(95), 10);
}

TEST(VisTable, CentreDoesNotCount) {
  const VETOR<int> vis = MakeVisTable();
  for (int i = 0; i < 512; ++i) EXPECT_EQ(vis(i), vis(i ^ 16)) << i;
}

TEST(VisTable, VariantsAreTurnsComplementsAndFlips) {
  VETOR<IMGGRY> t(maximo);
  VETOR<int> s(maximo);
  int count = 3;
  // Score 60: rows 110 / 0x1 / xxx.
  AddVariants(t, count, s, 60, BaseTemplate(5));
  EXPECT_EQ(count, 19);
  for (int k = 3; k < 19; ++k) EXPECT_EQ(s(k), 60);
  const auto rows = [](const IMGGRY& g) {
    std::string r;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r += std::to_string(g(i, j)) + (j < 2 ? " " : "/");
    return r;
  };
  EXPECT_EQ(rows(t(3)), "255 255 0/0 128 255/128 128 128/");
  // A quarter turn sends cell (i, j) to (2 - j, i).
  EXPECT_EQ(rows(t(4)), "0 255 128/255 128 128/255 0 128/");
  EXPECT_EQ(rows(t(5)), "128 128 128/255 128 0/0 255 255/");
  // Complements swap black and white; don't care becomes 127.
  EXPECT_EQ(rows(t(7)), "0 0 255/255 127 0/127 127 127/");
  // Upside down, then its turns, then their complements.
  EXPECT_EQ(rows(t(11)), "128 128 128/0 128 255/255 255 0/");
  EXPECT_EQ(rows(t(12)), "128 255 0/128 128 255/128 0 255/");
  EXPECT_EQ(rows(t(15)), "127 127 127/255 127 0/0 0 255/");
  EXPECT_EQ(rows(t(16)), "127 0 255/127 127 0/127 255 0/");
}

TEST(VisTable, FullTemplateTableIsRefused) {
  VETOR<IMGGRY> t(20);
  VETOR<int> s(20);
  int count = 4;
  AddVariants(t, count, s, 10, BaseTemplate(1));  // 4 + 16 entries just fit
  count = 5;
  EXPECT_EXIT(AddVariants(t, count, s, 10, BaseTemplate(1)), testing::ExitedWithCode(1),
              "^Error: The constant 'maximo' should be increased \n$");
}

TEST(VisTable, MatchesIgnoresDontCareCells) {
  const IMGGRY t(3, 3, {0, 128, 255, 127, 0, 1, 255, 255, 255});
  EXPECT_TRUE(Matches(IMGGRY(3, 3, {0, 0, 255, 0, 0, 0, 255, 255, 255}), t));
  EXPECT_TRUE(Matches(IMGGRY(3, 3, {0, 255, 255, 255, 0, 255, 255, 255, 255}), t));
  EXPECT_FALSE(Matches(IMGGRY(3, 3, {255, 0, 255, 0, 0, 0, 255, 255, 255}), t));
  EXPECT_FALSE(Matches(IMGGRY(3, 3, {0, 0, 255, 0, 0, 0, 255, 255, 0}), t));
  EXPECT_EXIT(Matches(IMGGRY(3, 4), t), testing::ExitedWithCode(1), "^Erro: bate \n$");
}

TEST(Neighbourhood, CodeBitsAndOutsideCells) {
  IMGBIN img(3, 3, 0);
  img.set(0, 0, true);
  EXPECT_EQ(NeighbourhoodCode(img, 1, 1), 256);
  img.set(0, 0, false);
  img.set(1, 1, true);
  EXPECT_EQ(NeighbourhoodCode(img, 1, 1), 16);
  img.set(2, 2, true);
  EXPECT_EQ(NeighbourhoodCode(img, 1, 1), 17);
  EXPECT_EQ(BlackNeighbours(img, 1, 1), 7);
  // At a corner, the five cells outside take the (white) background.
  EXPECT_EQ(NeighbourhoodCode(img, 0, 0), 0b111'100'101);
  EXPECT_EQ(BlackNeighbours(img, 0, 0), 2);
  img.fundo() = 0;
  EXPECT_EQ(BlackNeighbours(img, 0, 0), 7);
}

TEST(Neighbourhood, UniformNeighboursScore150WhateverTheCentre) {
  const VETOR<int> vis = MakeVisTable();
  for (int colour : {0, 1}) {
    for (bool centre : {false, true}) {
      IMGBIN img(3, 3, colour);
      img.set(1, 1, centre);
      EXPECT_EQ(VisScore(vis, img, 1, 1), 150);
      EXPECT_EQ(BlackNeighbours(img, 1, 1), colour ? 0 : 8);
    }
  }
}

TEST(Prediction, MajorityOfNeighboursWithTiesWhite) {
  for (int z = 0; z <= 8; ++z) {
    EXPECT_EQ(Predicted(z), z <= 4) << z;
    for (bool centre : {false, true}) {
      const char bit = DisagreementBit(centre, z);
      EXPECT_EQ(bit, centre == Predicted(z) ? '0' : '1');
      EXPECT_EQ(RestoredCentre(bit, z), centre);
    }
  }
  // Four black neighbours: predicted white.
  IMGBIN img(3, 3, {0, 0, 1,
                    0, 1, 1,
                    0, 1, 1});
  IMGBIN keep(img);
  const VETOR<int> vis = MakeVisTable();
  CARRIERS car(img, vis, 1);
  ASSERT_EQ(car.n(), 1);
  EXPECT_EQ(car.entry(0)(1), 4);
  EXPECT_EQ(car.disagreement(0), '0');
  img.set(1, 1, false);
  EXPECT_EQ(car.disagreement(0), '1');
  car.restore(0, '0');
  EXPECT_TRUE(img.get(1, 1));
  car.restore(0, '1');
  EXPECT_FALSE(img.get(1, 1));
}

TEST(Blocks, SevenBySevenHasFourCentres) {
  const VETOR<int> vis = MakeVisTable();
  IMGBIN img = pages::Noise(7, 7, 3);
  CARRIERS car(img, vis, 99);
  ASSERT_EQ(car.n(), 4);
  std::set<std::pair<int, int>> centres;
  for (int p = 0; p < 4; ++p) {
    const int k = car.entry(p)(3);
    EXPECT_EQ(car.row(p), 3 * (k / 2) + 1);
    EXPECT_EQ(car.col(p), 3 * (k % 2) + 1);
    centres.insert({car.row(p), car.col(p)});
  }
  EXPECT_EQ(centres, (std::set<std::pair<int, int>>{{1, 1}, {1, 4}, {4, 1}, {4, 4}}));
  // Row 6 and column 6 are in no block: changing them changes nothing.
  const VETOR<PONTOI4> before = SortBlocks(img, vis, 99);
  for (int i = 0; i < 7; ++i) {
    img.set(6, i, !img.get(6, i));
    img.set(i, 6, !img.get(i, 6));
  }
  EXPECT_TRUE(same(before, SortBlocks(img, vis, 99)));
  EXPECT_EXIT(car.row(4), testing::ExitedWithCode(1), "^Erro VETOR::operator\\(\\) - Indice invalido \n$");
}

TEST(Blocks, ImagesNarrowerThanABlockHaveNone) {
  const VETOR<int> vis = MakeVisTable();
  for (auto [nl, nc] : {std::pair{2, 10}, {10, 2}, {0, 0}, {2, 2}}) {
    IMGBIN img(nl, nc, 1);
    EXPECT_EQ(CARRIERS(img, vis, 5).n(), 0) << nl << "x" << nc;
  }
}

// Entries are (VIS, black neighbours, rank, index), strictly ascending, and
// the ranks are the key's draws modulo nb, one per block in index order.
// Sizes from one block to enough blocks for ranks of 15 bits.
TEST(Blocks, SortedListOfScoresAndKeyedRanks) {
  const VETOR<int> vis = MakeVisTable();
  struct Case {
    int nl, nc, white_percent, key;
  };
  for (const Case& t : {Case{3, 3, 50, 1}, Case{40, 35, 70, -123456}, Case{64, 97, 95, 0},
                        Case{400, 421, 60, 2147483647}}) {
    SCOPED_TRACE(std::to_string(t.nl) + "x" + std::to_string(t.nc));
    const IMGBIN img = pages::Noise(t.nl, t.nc, 7, t.white_percent);
    const VETOR<PONTOI4> b = SortBlocks(img, vis, t.key);
    const int bpr = t.nc / 3, nb = t.nl / 3 * bpr;
    ASSERT_EQ(b.n(), nb);
    imagorix::RANDOM g(t.key);
    std::vector<int> rank(static_cast<std::size_t>(nb));
    for (int& r : rank) r = g.next() % nb;
    std::vector<bool> seen(static_cast<std::size_t>(nb));
    for (int p = 0; p < nb; ++p) {
      const PONTOI4& e = b(p);
      ASSERT_GE(e(3), 0);
      ASSERT_LT(e(3), nb);
      ASSERT_FALSE(seen[static_cast<std::size_t>(e(3))]);
      seen[static_cast<std::size_t>(e(3))] = true;
      const int r = 3 * (e(3) / bpr) + 1, c = 3 * (e(3) % bpr) + 1;
      ASSERT_EQ(e(0), VisScore(vis, img, r, c));
      ASSERT_EQ(e(1), BlackNeighbours(img, r, c));
      ASSERT_EQ(e(2), rank[static_cast<std::size_t>(e(3))]);
      if (p > 0) {
        ASSERT_LT(b(p - 1), e);
      }
    }
  }
}

TEST(Blocks, FlippingCentresKeepsTheOrder) {
  const VETOR<int> vis = MakeVisTable();
  IMGBIN img = pages::Noise(61, 47, 11);
  const VETOR<PONTOI4> before = SortBlocks(img, vis, 2024);
  std::mt19937 gen(5);
  for (int l = 1; l < 60; l += 3)
    for (int c = 1; c < 45; c += 3)
      if (gen() % 2) img.set(l, c, !img.get(l, c));
  EXPECT_TRUE(same(before, SortBlocks(img, vis, 2024)));
}

TEST(Blocks, KeysOnlyReorderTies) {
  const VETOR<int> vis = MakeVisTable();
  const IMGBIN img = pages::Noise(60, 60, 13, 80);
  const VETOR<PONTOI4> a = SortBlocks(img, vis, 1), b = SortBlocks(img, vis, 2);
  ASSERT_EQ(a.n(), b.n());
  int moved = 0;
  for (int p = 0; p < a.n(); ++p) {
    EXPECT_EQ(a(p)(0), b(p)(0));
    EXPECT_EQ(a(p)(1), b(p)(1));
    moved += a(p)(3) != b(p)(3);
  }
  EXPECT_GT(moved, 0);
}

// CARRIERS sorts only as far as positions are asked for; whatever the order
// of the questions, every entry must be the one the plain sort puts there.
// Mostly white pages make groups far larger than what is sorted at once.
TEST(Blocks, CarrierOrderIsThePlainSortedList) {
  const VETOR<int> vis = MakeVisTable();
  struct Case {
    int nl, nc, white_percent, key;
    bool backwards;
  };
  for (const Case& t : {Case{40, 35, 50, 3, false}, Case{330, 310, 99, 77, false},
                        Case{330, 310, 99, 77, true}, Case{250, 299, 100, -5, false},
                        // A key whose every draw is 0: all ranks tie.
                        Case{330, 310, 99, 123459876, false}}) {
    SCOPED_TRACE(std::to_string(t.nl) + "x" + std::to_string(t.nc));
    IMGBIN img = pages::Noise(t.nl, t.nc, 21, t.white_percent);
    const VETOR<PONTOI4> want = SortBlocks(img, vis, t.key);
    const CARRIERS car(img, vis, t.key);
    ASSERT_EQ(car.n(), want.n());
    // A few jumps ahead first, then every position.
    for (int p : {5, want.n() / 3, 17, want.n() - 1}) ASSERT_EQ(car.entry(p), want(p)) << p;
    for (int i = 0; i < want.n(); ++i) {
      const int p = t.backwards ? want.n() - 1 - i : i;
      ASSERT_EQ(car.entry(p), want(p)) << p;
    }
  }
}
