#include "golomb.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bitstr.h"

using namespace kova;

TEST(Golomb, RemainderBitsForEveryPayloadParameter) {
  for (int m = 2; m <= 33; ++m) {
    const int want = m == 2 ? 1 : m <= 4 ? 2 : m <= 8 ? 3 : m <= 16 ? 4 : m <= 32 ? 5 : 6;
    EXPECT_EQ(GOLOMB(m).b, want) << "m=" << m;
  }
  EXPECT_EQ(GOLOMB(512).b, 9);
  EXPECT_EQ(GOLOMB(513).b, 10);
  EXPECT_EQ(GOLOMB(1000).b, 10);
}

TEST(Golomb, CodeWordsOfSmallParameters) {
  const std::vector<std::string> m3 = {"00", "010", "011", "100", "1010", "1011", "1100", "11010"};
  const std::vector<std::string> m4 = {"000", "001", "010", "011", "1000", "1001", "1010", "1011"};
  const GOLOMB g3(3), g4(4), g5(5);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(g3.code[i], m3[i]) << i;
    EXPECT_EQ(g4.code[i], m4[i]) << i;
  }
  const std::vector<std::string> r5 = {"00", "01", "10", "110", "111"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g5.rem[i], r5[i]) << i;
  EXPECT_EQ(g5.code[12], "11" "0" "10");
}

TEST(Golomb, EncodesTheWorkedExamples) {
  const GOLOMB g(3);
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"0001", "1100"}, {"000", "0100"}, {"1", "100"}, {"0", "0010"},
      {std::string(16, '0'), "011111010"},
      // Nothing to code: the supposed closing '1' alone.
      {"", "000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(g.encode(c.in), c.out);
    EXPECT_EQ(g.decode(c.out), c.in);
  }
}

// Runs of 1000 zeros and more lie beyond the code table; they are coded as
// the unary quotient and the remainder, the word decode reads back.
TEST(Golomb, LongRunsExtendTheTable) {
  const GOLOMB g(3);
  EXPECT_EQ(g.encode(std::string(999, '0') + "1"), "1" + g.code[999]);
  EXPECT_EQ(g.encode(std::string(1000, '0') + "1"), "1" + std::string(333, '1') + "0" + "10");
  EXPECT_EQ(g.encode(std::string(1002, '0')), "0" + std::string(334, '1') + "0" + "0");
}

TEST(Golomb, RoundTripsForEveryPayloadParameter) {
  std::mt19937 gen(12345);
  std::vector<std::string> inputs = {"1", "0", "01", "10", "11", "00", std::string(999, '0'),
                                     std::string(1000, '0'), std::string(2500, '0') + "1",
                                     "1" + std::string(1234, '0') + "1" + std::string(3000, '0')};
  // Sparse and dense random strings, ending either way, with a few long runs.
  for (int p : {2, 10, 50, 90}) {
    for (int len : {37, 500, 3000}) {
      std::string s;
      for (int i = 0; i < len; ++i) s.push_back(static_cast<int>(gen() % 100) < p ? '1' : '0');
      inputs.push_back(s);
      inputs.push_back(s + std::string(1500, '0') + s);
    }
  }
  for (int m = 2; m <= 33; ++m) {
    const GOLOMB g(m);
    for (const std::string& s : inputs) {
      const std::string e = g.encode(s);
      ASSERT_EQ(g.decode(e), s) << "m=" << m << " length " << s.size();
    }
  }
}

TEST(Golomb, LargeParameterRoundTrip) {
  const GOLOMB g(1000);
  const std::string s = "0001" + std::string(999, '0') + "1" + std::string(5000, '0');
  EXPECT_EQ(g.decode(g.encode(s)), s);
}

// Strings of millions of bits: an encoder or decoder that erases from the
// front of its strings would not finish.
TEST(Golomb, MillionsOfBitsRoundTrip) {
  std::string s;
  for (int i = 0; i < 3000000; ++i) s.push_back(i % 7 == 0 || i % 11 == 0 ? '1' : '0');
  const GOLOMB g(3);
  EXPECT_EQ(g.decode(g.encode(s)), s);
}

TEST(Golomb, ParametersOutsideTheTablesAreRefused) {
  for (int m : {-5, 0, 1, 1001}) {
    EXPECT_EXIT(GOLOMB{m}, testing::ExitedWithCode(1),
                "^Error: the Golomb parameter m must lie in 2 \\.\\.\\. 1000 \n$")
        << m;
  }
}

TEST(Golomb, TruncatedCodesAreRefused) {
  const GOLOMB g(5);
  // Empty; a unary part with no end; a remainder cut short; a long remainder
  // missing its last bit.
  for (const char* e : {"", "1111", "10", "111"}) {
    EXPECT_EXIT(g.decode(e), testing::ExitedWithCode(1), "^Error: truncated Golomb code \n$") << e;
  }
  // A lone flag that promised a supposed '1' it cannot take back.
  EXPECT_EXIT(g.decode("0"), testing::ExitedWithCode(1), "^Error: truncated Golomb code \n$");
}
