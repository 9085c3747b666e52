#include "search.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "kova_run.h"
#include "search_reference.h"
#include "test_pages.h"

using namespace kova;

namespace {

// What SearchRegion does, seen from outside: run in a child process, whose
// standard streams go to files, so that the lines printed before an error
// are kept and an error ends only the child.
struct Outcome {
  std::string out, err;
  int status = -1;
  REGION r{-1, -1, -1};
};

Outcome RunSearch(const CARRIERS& car, int T, int m) {
  Outcome o;
  int result[2];
  if (pipe(result) != 0) return o;
  const KovaResult k = testsupport::run_in_child([&] {
    close(result[0]);
    const REGION r = SearchRegion(car, T, m);
    return write(result[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r) ? 0 : 99;
  });
  close(result[1]);
  // A REGION is far smaller than what a pipe holds unread.
  REGION r;
  if (read(result[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r)) o.r = r;
  close(result[0]);
  o.out = k.out;
  o.err = k.err;
  o.status = k.status;
  return o;
}

// Runs both searches on one image and compares everything they give.
reference::SearchTrace ExpectSameSearch(IMGBIN& img, int key, int T, int m) {
  static const VETOR<int> vis = MakeVisTable();
  const CARRIERS car(img, vis, key);
  const reference::SearchTrace want = reference::Search(car, T, m);
  const CARRIERS fresh(img, vis, key);  // nothing sorted yet
  const Outcome got = RunSearch(fresh, T, m);
  EXPECT_EQ(got.out, want.out);
  EXPECT_EQ(got.err, want.err);
  EXPECT_EQ(got.status, want.ok() ? 0 : 1);
  if (want.ok()) {
    EXPECT_EQ(got.r.B, want.B);
    EXPECT_EQ(got.r.n, want.n);
    EXPECT_EQ(got.r.w, want.w);
  }
  return want;
}

struct Picture {
  const char* name;
  std::function<IMGBIN(int nl, int nc, unsigned seed)> make;
};

const std::vector<Picture>& Pictures() {
  using namespace pages;
  static const std::vector<Picture> all = {
      {"text", [](int nl, int nc, unsigned s) { return Text(nl, nc, s); }},
      {"noise", [](int nl, int nc, unsigned s) { return Noise(nl, nc, s, 50); }},
      {"light noise", [](int nl, int nc, unsigned s) { return Noise(nl, nc, s, 85); }},
      {"mostly white", [](int nl, int nc, unsigned s) { return Noise(nl, nc, s, 99); }},
      {"white", [](int nl, int nc, unsigned) { return IMGBIN(nl, nc, 1); }},
      {"black", [](int nl, int nc, unsigned) { return IMGBIN(nl, nc, 0); }},
      // Incompressible corners first: the region has to move past them.
      {"corners then sparse", [](int nl, int nc, unsigned s) { return TwoKinds(nl, nc, s, 20, 90, 8); }},
      // Bits that compress a little: the region grows many times.
      {"slow growth", [](int nl, int nc, unsigned s) { return TwoKinds(nl, nc, s, 3, 60, 21); }},
  };
  return all;
}

}  // namespace

// The tool's running sums against compressing every iteration afresh, on
// every kind of picture, MAC length and Golomb parameter; sizes are chosen
// per MAC length so that searches end in each of their three ways.
TEST(Search, PrintsAndReturnsWhatCompressingEveryIterationGives) {
  struct Size {
    int T, nl, nc;
  };
  const Size sizes[] = {{32, 24, 29},    {32, 45, 47},     {32, 64, 62},
                        {128, 61, 64},   {128, 100, 101},  {1024, 97, 101},
                        {1024, 121, 125}, {1024, 151, 152}};
  int moved = 0, grew_long = 0, bounds = 0, impossible = 0, found = 0;
  unsigned seed = 1;
  for (const Size& s : sizes)
    for (int m : {2, 3, 7, 33})
      for (const Picture& p : Pictures()) {
        SCOPED_TRACE(std::string(p.name) + " " + std::to_string(s.nl) + "x" + std::to_string(s.nc) +
                     " T=" + std::to_string(s.T) + " m=" + std::to_string(m));
        IMGBIN img = p.make(s.nl, s.nc, ++seed);
        const reference::SearchTrace t = ExpectSameSearch(img, static_cast<int>(seed) * 7919, s.T, m);
        moved += t.moves > 0 && t.ok();
        grew_long += t.growths >= 10;
        bounds += t.err == reference::kBounds;
        impossible += t.err == reference::kImpossible;
        found += t.ok();
      }
  // The table must keep reaching every branch of the loop.
  EXPECT_GT(moved, 0);
  EXPECT_GT(grew_long, 0);
  EXPECT_GT(bounds, 0);
  EXPECT_GT(impossible, 0);
  EXPECT_GT(found, 0);
}

// Runs of 1000 zeros or more are past the coder's table; both ways must
// still agree on their length.
TEST(Search, LongWhiteRunsAreCountedLikeTheCoder) {
  IMGBIN img(150, 300, 1);
  img.set(100, 100, false);
  for (int m : {2, 3, 33}) {
    SCOPED_TRACE(m);
    const reference::SearchTrace t = ExpectSameSearch(img, 5, 1024, m);
    EXPECT_TRUE(t.ok());
    EXPECT_GE(t.n, 1000);
  }
}

// With T = 128 on a white strip of nb blocks: the first region needs 176
// positions, and a search that ends must leave room for one more region.
// White bits compress to at best 12 bits out of 176 (m = 33), one short of
// the 165 free bits needed, so the second iteration is the first that can
// end, and it needs 240 blocks.
TEST(Search, SmallestListsForAMacOf128) {
  struct Case {
    int nb, m;
    std::string err;
    int lines;
  };
  const Case cases[] = {
      {128, 3, reference::kBounds, 0},      {175, 33, reference::kBounds, 0},
      {176, 33, reference::kImpossible, 1}, {207, 33, reference::kImpossible, 1},
      {208, 33, reference::kImpossible, 2}, {239, 33, reference::kImpossible, 2},
      {240, 33, "", 2},                     {240, 3, reference::kImpossible, 3},
      {304, 3, "", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.nb) + " blocks, m=" + std::to_string(c.m));
    IMGBIN img(4, 3 * c.nb + 2, 1);
    const reference::SearchTrace t = ExpectSameSearch(img, 11, 128, c.m);
    EXPECT_EQ(t.err, c.err);
    EXPECT_EQ(t.iterations, c.lines);
  }
  // The two iterations of the smallest list that works, written out.
  IMGBIN img(3, 720, 1);
  const reference::SearchTrace t = ExpectSameSearch(img, 11, 128, 33);
  EXPECT_EQ(t.out,
            "Beginning: 16\tOrig. size n: 176\tCompr. size w: 12\tFree bits n-w: 164\n"
            "Beginning: 16\tOrig. size n: 208\tCompr. size w: 13\tFree bits n-w: 195\n");
  EXPECT_EQ(t.B, 16);
  EXPECT_EQ(t.n, 208);
  EXPECT_EQ(t.w, 13);
}

// A move: the iteration after one with free < 0 begins 32 positions on and
// has n = T + 48 again. Here the first half of a 10000-block list does not
// compress, so the region travels far along the list before it can grow.
TEST(Search, IncompressibleRegionsMoveOn) {
  IMGBIN img = pages::TwoKinds(300, 301, 4, 55, 90, 10);
  const reference::SearchTrace t = ExpectSameSearch(img, 3, 128, 3);
  ASSERT_TRUE(t.ok());
  EXPECT_NE(t.out.find("Beginning: 16\tOrig. size n: 176\t"), std::string::npos);
  EXPECT_NE(t.out.find("Beginning: 48\tOrig. size n: 176\t"), std::string::npos);
  EXPECT_GT(t.B, 5000);
  EXPECT_GT(t.growths, 1);
}
