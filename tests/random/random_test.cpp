#include "random/random.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace imagorix;

namespace {

constexpr std::int64_t kM = 2147483647;

// A*k mod M with a 64-bit product: what the 32-bit step must agree with.
std::int64_t park_miller(std::int64_t k) {
  const std::int64_t r = (16807 * k) % kM;
  return r < 0 ? r + kM : r;
}

// True if a and b are at the same point of their sequences.
bool same_state(RANDOM a, RANDOM b) {
  for (int i = 0; i < 3; ++i)
    if (a.next() != b.next()) return false;
  return true;
}

RANDOM advanced(RANDOM g, int draws) {
  for (int i = 0; i < draws; ++i) g.next();
  return g;
}

std::vector<int> as_vector(const VETOR<int>& v) {
  std::vector<int> out;
  for (int i = 0; i < v.n(); ++i) out.push_back(v(i));
  return out;
}

// Leaves the shared gauss cache empty, whatever earlier tests did to it.
void empty_gauss_cache() {
  RANDOM g(7);
  const RANDOM before = g;
  g.gauss();
  if (!same_state(g, before)) g.gauss();  // a fresh pair was drawn: take the cached half
}

const std::vector<int> kDegenerateSeeds = {123459876, 2024023771, -2024023771};

}  // namespace

TEST(Random, DefaultSequence) {
  RANDOM g;
  EXPECT_EQ(g.next(), 1893934089);
  EXPECT_EQ(g.next(), 1347617989);
  EXPECT_EQ(g.next(), 2052999861);

  EXPECT_EQ(RANDOM().next32(), 602398985u);
  EXPECT_EQ(RANDOM().nextreal(), 1893934089 * 4.656612875245797e-10);
}

TEST(Random, GlobalStartsInDefaultState) {
  EXPECT_TRUE(same_state(rnd, RANDOM()));
}

TEST(Random, SeedFollowsParkMiller) {
  const std::vector<int> seeds = {0, 1, -1, 42, 520916123, INT_MAX, INT_MIN, -123456789, 987654321};
  for (int s : seeds) {
    SCOPED_TRACE(s);
    // The plain start is s XOR mask; seed takes one step, next the following.
    std::int64_t plain = park_miller(s ^ RANDOM::MASK);
    RANDOM g;
    g.seed(s);
    RANDOM h(s);
    for (int i = 0; i < 5; ++i) {
      plain = park_miller(plain);
      EXPECT_EQ(g.next(), plain);
      EXPECT_EQ(h.next(), plain);
    }
  }
}

// next() reduces with a 64-bit product instead of the two divisions of the
// seeding step; it must agree on every plain value, edges of the range and of
// the decomposition included. A plain value k is reached by seeding with the
// value whose step gives k: k times the inverse of 16807, modulo 2^31 - 1.
TEST(Random, NextAgreesWithParkMillerOnEveryKindOfValue) {
  const std::int64_t M = RANDOM::M;
  std::int64_t inv = 1;
  for (std::int64_t b = RANDOM::A, e = M - 2; e > 0; e >>= 1, b = b * b % M)
    if (e & 1) inv = inv * b % M;
  std::vector<std::int64_t> plain = {1, 2, M - 1, M - 2, RANDOM::Q - 1, RANDOM::Q, RANDOM::Q + 1,
                                     M / 2, M / 2 + 1, 16807, 520916123};
  std::uint64_t x = 88172645463325252ull;
  for (int i = 0; i < 100000; ++i) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    plain.push_back(static_cast<std::int64_t>(x % static_cast<std::uint64_t>(M - 1)) + 1);
  }
  for (std::int64_t k : plain) {
    const auto s = static_cast<int>(static_cast<std::int32_t>(k * inv % M) ^ RANDOM::MASK);
    RANDOM g(s);
    ASSERT_EQ(g.next(), park_miller(k)) << k;
  }
}

TEST(Random, SeedReplacesWholeState) {
  RANDOM g(5);
  for (int i = 0; i < 10; ++i) g.next();
  g.gauss();
  g.seed(5);
  EXPECT_TRUE(same_state(g, RANDOM(5)));
}

TEST(Random, DegenerateSeedsStickAtZero) {
  for (int s : kDegenerateSeeds) {
    SCOPED_TRACE(s);
    RANDOM g(s);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g.next(), 0);
    EXPECT_EQ(g.next32(), 0u);
    EXPECT_EQ(g.nextreal(), 0.0);
    // Every draw 0: each exchange takes the next position.
    EXPECT_EQ(as_vector(g.perm(6)), (std::vector<int>{1, 2, 3, 4, 0, 5}));
  }
}

TEST(Random, GaussOnDegenerateGeneratorReturnsZero) {
  empty_gauss_cache();
  for (int s : kDegenerateSeeds) {
    RANDOM g(s);
    EXPECT_EQ(g.gauss(), 0.0f);
    EXPECT_EQ(g.gauss(), 0.0f);
  }
  // Nothing was cached: the next call on a live generator draws a fresh pair.
  RANDOM live(3);
  const RANDOM before = live;
  live.gauss();
  EXPECT_FALSE(same_state(live, before));
}

TEST(Random, NextrealStaysBelowOne) {
  RANDOM g(99);
  for (int i = 0; i < 1000; ++i) {
    const RANDOM copy = g;
    const double x = g.nextreal();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    ASSERT_EQ(x, RANDOM(copy).next() * RANDOM::Scale);
  }
}

// Polar Box-Muller over the generator, with the roundings to single precision
// the deviates are defined with.
TEST(Random, GaussPairsAndSharedCache) {
  for (int s : {1, 17, 2024, -5}) {
    SCOPED_TRACE(s);
    empty_gauss_cache();
    RANDOM ref(s);
    float x, y;
    double rsq;
    do {
      const int a = ref.next(), b = ref.next();
      x = static_cast<float>(2.0 * a * RANDOM::Scale - 1.0);
      y = static_cast<float>(2.0 * b * RANDOM::Scale - 1.0);
      rsq = double(x) * x + double(y) * y;
    } while (rsq >= 1.0 || rsq == 0.0);
    const float r = static_cast<float>(rsq);
    const float fac = static_cast<float>(std::sqrt(-2.0 * std::log(double(r)) / double(r)));

    RANDOM g(s);
    EXPECT_EQ(g.gauss(), y * fac);
    EXPECT_TRUE(same_state(g, ref));

    // The other half of the pair comes out of any object, with no draw.
    RANDOM other(12345);
    const RANDOM before = other;
    EXPECT_EQ(other.gauss(), x * fac);
    EXPECT_TRUE(same_state(other, before));
  }
}

TEST(Random, SmallPermsAreIdentityWithoutDraws) {
  for (int n : {-3, 0, 1, 2}) {
    SCOPED_TRACE(n);
    RANDOM g(8);
    const VETOR<int> p = g.perm(n);
    const VETOR<int> q = g.invperm(n);
    EXPECT_EQ(p.n(), n);
    EXPECT_EQ(q.n(), n);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(p(i), i);
      EXPECT_EQ(q(i), i);
    }
    if (n <= 0) {
      EXPECT_EQ(p.data(), nullptr);
    }
    EXPECT_TRUE(same_state(g, RANDOM(8)));
  }
}

TEST(Random, PermOfThreeFollowsParityOfItsDraw) {
  bool seen_even = false, seen_odd = false;
  for (int s = 0; s < 12; ++s) {
    SCOPED_TRACE(s);
    RANDOM g(s);
    const int draw = RANDOM(s).next();
    const std::vector<int> p = as_vector(g.perm(3));
    if (draw % 2 == 0) {
      seen_even = true;
      EXPECT_EQ(p, (std::vector<int>{1, 0, 2}));
    } else {
      seen_odd = true;
      EXPECT_EQ(p, (std::vector<int>{2, 1, 0}));
    }
    EXPECT_TRUE(same_state(g, advanced(RANDOM(s), 1)));
  }
  EXPECT_TRUE(seen_even && seen_odd);
}

TEST(Random, PermOfFourFromItsDraws) {
  for (int s : {3, 4, 5, 6, 77, -8}) {
    SCOPED_TRACE(s);
    RANDOM d(s);
    std::vector<int> want = {0, 1, 2, 3};
    std::swap(want[0], want[1 + d.next() % 3]);
    std::swap(want[1], want[2 + d.next() % 2]);
    RANDOM g(s);
    EXPECT_EQ(as_vector(g.perm(4)), want);
    EXPECT_TRUE(same_state(g, d));
  }
}

TEST(Random, PermAndInvpermAreInverseArrangements) {
  for (int n : {3, 5, 32, 257}) {
    SCOPED_TRACE(n);
    RANDOM a(n * 31), b(n * 31);
    const VETOR<int> p = a.perm(n);
    const VETOR<int> q = b.invperm(n);
    std::vector<int> seen(n, 0);
    for (int i = 0; i < n; ++i) {
      ASSERT_GE(p(i), 0);
      ASSERT_LT(p(i), n);
      ++seen[p(i)];
      EXPECT_EQ(q(p(i)), i);
    }
    EXPECT_EQ(seen, std::vector<int>(n, 1));
    EXPECT_NE(p(0), 0);  // position 0 is always exchanged with a later one
    EXPECT_TRUE(same_state(a, advanced(RANDOM(n * 31), n - 2)));
    EXPECT_TRUE(same_state(b, a));
  }
}

TEST(Random, PermbitsMovesBitKToPositionPermK) {
  for (int s : {2, 90, -41}) {
    SCOPED_TRACE(s);
    RANDOM arr(s);
    const VETOR<int> p = arr.perm(32);
    for (int k = 0; k < 32; ++k) {
      RANDOM g(s);
      EXPECT_EQ(g.permbits(0x80000000u >> k), 0x80000000u >> p(k));
      EXPECT_TRUE(same_state(g, arr));
    }
  }
}

TEST(Random, BitOperationsRoundTrip) {
  RANDOM words(2718);
  std::vector<std::uint32_t> ws = {0u, 0xFFFFFFFFu, 0x80000001u};
  for (int t = 0; t < 200; ++t) ws.push_back(words.next32());
  for (std::uint32_t w : ws) {
    const int s = words.next();
    SCOPED_TRACE(w);

    RANDOM a(s), b(s);
    const std::uint32_t pw = a.permbits(w);
    EXPECT_EQ(std::popcount(pw), std::popcount(w));
    EXPECT_EQ(b.unpermbits(pw), w);
    EXPECT_TRUE(same_state(a, advanced(RANDOM(s), 30)));
    EXPECT_TRUE(same_state(b, a));

    RANDOM c(s), d(s), e(s);
    const std::uint32_t mw = c.mixbits(w);
    EXPECT_EQ(d.unmixbits(mw), w);
    // The two next32 draws come before the 30 of the arrangement.
    const std::uint32_t x = e.next32();
    EXPECT_EQ(e.permbits(w ^ x), mw);
    EXPECT_TRUE(same_state(c, advanced(RANDOM(s), 32)));
    EXPECT_TRUE(same_state(d, c));
  }
}

TEST(Random, ScrambleChainsOnInputWords) {
  for (int n : {1, 2, 7, 40}) {
    SCOPED_TRACE(n);
    RANDOM src(n);
    VETOR<std::uint32_t> v(n);
    for (int i = 0; i < n; ++i) v(i) = src.next32();
    if (n == 7) v(3) = v(4) = 0xFFFFFFFFu;
    const VETOR<std::uint32_t> orig(v);

    RANDOM g(-n), ref(-n), u(-n);
    g.scramble(v);
    for (int i = 0; i < n; ++i)
      EXPECT_EQ(v(i), ref.mixbits(orig(i) ^ (i > 0 ? orig(i - 1) : 0u)));
    EXPECT_TRUE(same_state(g, advanced(RANDOM(-n), 32 * n)));

    u.unscramble(v);
    for (int i = 0; i < n; ++i) EXPECT_EQ(v(i), orig(i));
    EXPECT_TRUE(same_state(u, g));
  }
}

TEST(RandomDeathTest, ScrambleOfEmptyVectorIsAnIndexError) {
  VETOR<std::uint32_t> empty;
  RANDOM g;
  EXPECT_EXIT(g.scramble(empty), testing::ExitedWithCode(1),
              "^Erro VETOR::operator\\(\\) - Indice invalido \n$");
  EXPECT_EXIT(g.unscramble(empty), testing::ExitedWithCode(1),
              "^Erro VETOR::operator\\(\\) - Indice invalido \n$");
}
