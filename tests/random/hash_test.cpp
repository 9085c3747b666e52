#include "random/hash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace imagorix;

namespace {

using Words = std::vector<std::uint32_t>;

Words words_of(const HASH& h) {
  const VETOR<std::uint32_t>& d = h.digest();
  Words out;
  for (int i = 0; i < d.n(); ++i) out.push_back(d(i));
  return out;
}

// The digest computed word by word, both halves reseeding a fresh generator
// on every absorb: what HASH must reproduce bit for bit.
struct PlainDigest {
  Words table;
  PlainDigest(int n, int key) {
    RANDOM g(key);
    for (int i = 0; i < n; ++i) table.push_back(g.next32());
  }
  void absorb(std::uint32_t w) {
    RANDOM g;
    g.seed(static_cast<int>(w & 0xFFFF));
    for (auto& t : table) t ^= g.next32();
    g.seed(static_cast<int>(w >> 16));
    for (auto& t : table) t ^= g.next32();
  }
};

Words message(int len, int seed) {
  RANDOM g(seed);
  Words m;
  for (int i = 0; i < len; ++i) m.push_back(g.next32());
  return m;
}

}  // namespace

TEST(Hash, KeyGivesInitialDigest) {
  for (int n : {1, 4, 7}) {
    for (int key : {0, 1, -1, 123456789}) {
      SCOPED_TRACE(testing::Message() << "n=" << n << " key=" << key);
      RANDOM g(key);
      Words want;
      for (int i = 0; i < n; ++i) want.push_back(g.next32());
      EXPECT_EQ(words_of(HASH(n, key)), want);
    }
  }
}

TEST(Hash, MatchesWordByWordDigest) {
  // Random words plus the ones a binary image is full of, and some whose
  // halves repeat across words.
  Words m = message(3000, 4242);
  for (std::uint32_t w : {0u, 0xFFFFFFFFu, 0x0000FFFFu, 0xFFFF0000u, 0x12345678u, 0x56781234u, 0x1234ABCDu})
    m.insert(m.begin() + static_cast<long>(w % 2000), w);
  for (int n : {1, 2, 4, 5}) {
    SCOPED_TRACE(n);
    HASH h(n, 777);
    PlainDigest ref(n, 777);
    for (std::size_t i = 0; i < m.size(); ++i) {
      h.absorb(m[i]);
      ref.absorb(m[i]);
      // Reading midway must not disturb what follows.
      if (i % 997 == 0) {
        ASSERT_EQ(words_of(h), ref.table) << "after word " << i;
      }
    }
    EXPECT_EQ(words_of(h), ref.table);
  }
}

TEST(Hash, ContributionDependsOnlyOnTheWord) {
  const Words m = message(50, 9);
  Words reversed(m.rbegin(), m.rend());
  HASH fwd(4, 31), back(4, 31), other_key(4, -31);
  for (std::uint32_t w : m) fwd.absorb(w);
  for (std::uint32_t w : reversed) back.absorb(w);
  for (std::uint32_t w : m) other_key.absorb(w);
  EXPECT_EQ(words_of(fwd), words_of(back));

  // digest XOR initial digest is the same whatever the key.
  const Words i31 = words_of(HASH(4, 31)), im31 = words_of(HASH(4, -31));
  const Words d31 = words_of(fwd), dm31 = words_of(other_key);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d31[i] ^ i31[i], dm31[i] ^ im31[i]);
  EXPECT_NE(d31, i31);
}

TEST(Hash, WordsThatCancel) {
  const Words initial = words_of(HASH(4, 5));
  struct Case {
    const char* what;
    Words m;
  };
  const std::vector<Case> cases = {
      {"same word twice", {0xDEADBEEFu, 0xDEADBEEFu}},
      {"same word twice, apart", {0xDEADBEEFu, 0x00010002u, 0xDEADBEEFu, 0x00010002u}},
      {"equal halves", {0x12341234u}},
      {"all black, all white", {0u, 0xFFFFFFFFu}},
      // Halves swapped between two words: the same two streams, twice.
      {"swapped halves", {0xAAAA5555u, 0x5555AAAAu}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HASH h(4, 5);
    for (std::uint32_t w : c.m) h.absorb(w);
    EXPECT_EQ(words_of(h), initial);
  }
  HASH h(4, 5);
  h.absorb(0x12341235u);
  EXPECT_NE(words_of(h), initial);
}

TEST(Hash, BitsAreNumberedFromTheTopOfWordZero) {
  HASH h(3, 2024);
  h.absorb(0xCAFEF00Du);
  const Words d = words_of(h);
  for (int i = 0; i < 96; ++i)
    EXPECT_EQ(h(i), (d[i / 32] >> (31 - i % 32)) & 1u) << "bit " << i;
  EXPECT_EQ(h(0), int(d[0] >> 31));
  EXPECT_EQ(h(31), int(d[0] & 1u));
  EXPECT_EQ(h(32), int(d[1] >> 31));
}

TEST(Hash, EmptyDigestIgnoresWords) {
  for (int n : {0, -2}) {
    HASH h(n, 1);
    h.absorb(0x01020304u);
    EXPECT_EQ(h.digest().n(), n);
    EXPECT_EQ(h.digest().data(), nullptr);
  }
}

TEST(HashDeathTest, BitIndexOutOfRange) {
  const char* msg = "^Erro: HASH::operator\\(\\) - Indice invalido \n$";
  HASH h(2, 1);
  EXPECT_EXIT(h(64), testing::ExitedWithCode(1), msg);
  EXPECT_EXIT(h(-1), testing::ExitedWithCode(1), msg);
  HASH empty(0, 1);
  EXPECT_EXIT(empty(0), testing::ExitedWithCode(1), msg);
  HASH negative(-3, 1);
  EXPECT_EXIT(negative(0), testing::ExitedWithCode(1), msg);
}

TEST(HashBit, WordCountRoundsUp) {
  const std::vector<std::pair<int, int>> cases = {{32, 1}, {33, 2}, {1, 1}, {128, 4}, {129, 5}, {0, 0}};
  for (auto [nbits, words] : cases) {
    SCOPED_TRACE(nbits);
    HASHBIT h(nbits, 3);
    EXPECT_EQ(words_of(h), words_of(HASH(words, 3)));
  }
}

TEST(HashBit, PacksBitsFirstBitHighest) {
  const Words m = message(3, 606);
  auto bit = [&](int k) { return ((m[k / 32] >> (31 - k % 32)) & 1u) != 0; };

  // 32 bits: one word absorbed by addbit itself; finish has nothing left.
  HASHBIT b32(64, 11);
  for (int k = 0; k < 32; ++k) b32.addbit(bit(k));
  HASH w32(2, 11);
  w32.absorb(m[0]);
  EXPECT_EQ(words_of(b32), words_of(w32));
  b32.finish();
  EXPECT_EQ(words_of(b32), words_of(w32));

  // 33 bits: finish absorbs bits 2 ... 33 of the message.
  HASHBIT b33(64, 11);
  for (int k = 0; k < 33; ++k) b33.addbit(bit(k));
  EXPECT_EQ(words_of(b33), words_of(w32));
  b33.finish();
  HASH w33(2, 11);
  w33.absorb(m[0]);
  w33.absorb((m[0] << 1) | (m[1] >> 31));
  EXPECT_EQ(words_of(b33), words_of(w33));

  // A second finish must not absorb the same word again (which would cancel it).
  b33.finish();
  EXPECT_EQ(words_of(b33), words_of(w33));

  // After finish, the next 32 bits form a word of their own.
  for (int k = 64; k < 96; ++k) b33.addbit(bit(k));
  b33.finish();
  w33.absorb(m[2]);
  EXPECT_EQ(words_of(b33), words_of(w33));
}
