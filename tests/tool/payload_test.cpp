#include "payload.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "bitstr.h"
#include "golomb.h"
#include "random/hash.h"
#include "support/images.h"
#include "test_pages.h"

using namespace kova;

namespace {

std::string random_bits(int n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(gen() % 2 ? '1' : '0');
  return s;
}

// The MAC input built pixel by pixel, the plain way.
std::string reference_mac(const IMGBIN& img, int T, int key) {
  imagorix::HASH h(T / 32, key);
  std::uint32_t acc = 0;
  int count = 0;
  for (int l = 0; l < img.nl(); ++l) {
    for (int c = 0; c < img.nc(); ++c) {
      acc = acc * 2 + (img(l, c) ? 1u : 0u);
      if (++count == 32) {
        h.absorb(acc);
        acc = 0;
        count = 0;
      }
    }
  }
  if (count) h.absorb(acc);
  std::string mac;
  for (int i = 0; i < T; ++i) mac.push_back(h(i) ? '1' : '0');
  return mac;
}

// An image with its carriers: 90 x 100 pixels, 30 x 33 blocks, and a spare
// column outside every block.
struct Marked : testing::Test {
  static constexpr int T = 64, key = 4711, B = 48, m = 5;
  IMGBIN img = pages::Noise(90, 100, 1);
  VETOR<int> vis = MakeVisTable();
  CARRIERS car{img, vis, key};
  std::string C = random_bits(100, 2);

  void mark() {
    WritePayload(car, B, T, MakePayload(B, m, C));
    BlankMac(car, B, T);
    WriteMac(car, B, ComputeMac(img, T, key));
  }
};

}  // namespace

TEST_F(Marked, FieldsReadBack) {
  mark();
  const HEADER h = ReadHeader(car, T);
  EXPECT_EQ(h.B, B);
  EXPECT_EQ(h.m, m);
  EXPECT_EQ(h.w, 100);
  EXPECT_EQ(ReadCompressed(car, h, T), C);
  // k = 1: fifteen white carriers, then a black one. m - 2 = 3: 00011.
  for (int p = 0; p < 15; ++p) EXPECT_TRUE(car.get(p)) << p;
  EXPECT_FALSE(car.get(15));
  const bool m_field[5] = {true, true, true, false, false};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(car.get(B + T + i), m_field[i]) << i;
  // Compressed bits: '1' is black.
  for (int i = 0; i < 100; ++i) EXPECT_EQ(car.get(B + T + 21 + i), C[i] == '0') << i;
}

TEST_F(Marked, MacIsWhiteForOneAndRecomputes) {
  mark();
  const std::string stored = ReadMac(car, B, T);
  for (int i = 0; i < T; ++i) EXPECT_EQ(car.get(B + i), stored[i] == '1') << i;
  BlankMac(car, B, T);
  EXPECT_EQ(ComputeMac(img, T, key), stored);
  EXPECT_NE(ComputeMac(img, T, key + 1), stored);
}

// One flipped pixel anywhere but on the MAC carriers changes the MAC; one
// flipped MAC carrier changes the stored MAC.
TEST_F(Marked, OneChangedPixelIsNoticed) {
  mark();
  const IMGBIN marked(img);
  const std::string stored = ReadMac(car, B, T);
  struct Pixel {
    const char* what;
    int l, c;
  };
  const Pixel pixels[] = {
      {"header carrier", car.row(3), car.col(3)},
      {"payload carrier", car.row(B + T + 30), car.col(B + T + 30)},
      {"unused carrier", car.row(500), car.col(500)},
      {"non-carrier", car.row(200) - 1, car.col(200)},
      {"column outside blocks", 45, 99},
      {"first pixel", 0, 0},
  };
  for (const Pixel& p : pixels) {
    SCOPED_TRACE(p.what);
    img = marked;
    img.set(p.l, p.c, !img.get(p.l, p.c));
    EXPECT_EQ(ReadMac(car, B, T), stored);
    BlankMac(car, B, T);
    EXPECT_NE(ComputeMac(img, T, key), stored);
  }
  img = marked;
  car.set(B + 7, !car.get(B + 7));
  EXPECT_NE(ReadMac(car, B, T), stored);
  BlankMac(car, B, T);
  EXPECT_EQ(ComputeMac(img, T, key), stored);
}

TEST(Mac, PacksPixelsAcrossRows) {
  // Pixel counts multiple of 32 or not, rows aligned to words or not.
  const std::pair<int, int> sizes[] = {{8, 32}, {4, 64}, {10, 48}, {9, 37}, {3, 3}, {1, 31}, {5, 95}};
  for (auto [nl, nc] : sizes) {
    SCOPED_TRACE(std::to_string(nl) + "x" + std::to_string(nc));
    const IMGBIN img = pages::Noise(nl, nc, static_cast<unsigned>(nl * 1000 + nc));
    EXPECT_EQ(ComputeMac(img, 128, 99), reference_mac(img, 128, 99));
    EXPECT_EQ(ComputeMac(img, 32, -5), reference_mac(img, 32, -5));
  }
}

TEST(Mac, LastPartialWordIsLowAligned) {
  // 33 pixels: one full word of white, then a single white pixel that must
  // enter as the word 1.
  const IMGBIN img(1, 33, 1);
  imagorix::HASH h(4, 8);
  h.absorb(0xFFFFFFFFu);
  h.absorb(1u);
  std::string want;
  for (int i = 0; i < 128; ++i) want.push_back(h(i) ? '1' : '0');
  EXPECT_EQ(ComputeMac(img, 128, 8), want);
  EXPECT_EQ(ComputeMac(IMGBIN(0, 0), 32, 8).size(), 32u);
}

TEST(Payload, HeaderOfTheFirstRegion) {
  const std::string P = MakePayload(16, 3, "101");
  EXPECT_EQ(P, std::string(16, '0') + "00001" + "0000000000000011" + "101");
  EXPECT_EQ(MakePayload(16 + 32 * 65535, 33, "").substr(0, 21), std::string(16, '1') + "11111");
}

TEST(Payload, ValuesTheFieldsCannotHoldAreRefused) {
  struct Case {
    int B, m, w;
    const char* message;
  };
  const Case cases[] = {
      {17, 3, 0, "^Error: the payload region must begin at 16 \\+ 32k with k <= 65535 \n$"},
      {0, 3, 0, "^Error: the payload region must begin at 16 \\+ 32k with k <= 65535 \n$"},
      {16 + 32 * 65536, 3, 0, "^Error: the payload region must begin at 16 \\+ 32k with k <= 65535 \n$"},
      {16, 1, 0, "^Error: m must lie in 2 \\.\\.\\. 33 \n$"},
      {16, 34, 0, "^Error: m must lie in 2 \\.\\.\\. 33 \n$"},
      {16, 3, 65536, "^Error: more than 65535 compressed bits \n$"},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(MakePayload(c.B, c.m, std::string(static_cast<std::size_t>(c.w), '1')),
                testing::ExitedWithCode(1), c.message)
        << c.B << " " << c.m << " " << c.w;
  }
  EXPECT_EQ(MakePayload(16, 3, std::string(65535, '1')).size(), 37u + 65535u);
}

TEST(Payload, PositionsPastTheListEndTheProgram) {
  IMGBIN img = pages::Noise(30, 30, 4);
  const VETOR<int> vis = MakeVisTable();
  CARRIERS car(img, vis, 1);  // 100 carriers
  EXPECT_EXIT(ReadMac(car, 48, 64), testing::ExitedWithCode(1),
              "^Erro VETOR::operator\\(\\) - Indice invalido \n$");
}

// Everything a signer and a verifier do, in memory: the carriers of the
// region are replaced, and their compressed bits give back the original.
TEST(Payload, RestoresTheOriginalImage) {
  for (int m : {2, 3, 33}) {
    SCOPED_TRACE(m);
    const int T = 96, key = 77, B = 80, L = T + 320;
    const IMGBIN original = pages::Noise(120, 121, 9, 97);
    IMGBIN img(original);
    const VETOR<int> vis = MakeVisTable();
    CARRIERS car(img, vis, key);
    const std::string S = Disagreements(car, B, L);
    ASSERT_EQ(S.size(), 16u + L);
    const std::string C = GOLOMB(m).encode(S);
    ASSERT_LE(static_cast<int>(C.size()) + T + HeaderBits, L + 16);
    WritePayload(car, B, T, MakePayload(B, m, C));
    BlankMac(car, B, T);
    WriteMac(car, B, ComputeMac(img, T, key));
    ASSERT_FALSE(testsupport::same_pixels(img, original));

    CARRIERS back(img, vis, key);
    const HEADER h = ReadHeader(back, T);
    ASSERT_EQ(h.B, B);
    ASSERT_EQ(h.m, m);
    const std::string stored = ReadMac(back, h.B, T);
    BlankMac(back, h.B, T);
    ASSERT_EQ(ComputeMac(img, T, key), stored);
    Restore(back, h.B, GOLOMB(h.m).decode(ReadCompressed(back, h, T)));
    EXPECT_TRUE(testsupport::same_pixels(img, original));
  }
}
