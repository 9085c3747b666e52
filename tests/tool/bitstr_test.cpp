#include "bitstr.h"

#include <gtest/gtest.h>

using namespace kova;

TEST(Bitstr, WritesMostSignificantBitFirst) {
  EXPECT_EQ(bitstr(0), "0");
  EXPECT_EQ(bitstr(1), "1");
  EXPECT_EQ(bitstr(6), "110");
  EXPECT_EQ(bitstr(65535), "1111111111111111");
  EXPECT_EQ(bitstr(2147483647), std::string(31, '1'));
}

TEST(Bitstr, PadsToWidthButNeverCuts) {
  EXPECT_EQ(bitstr(5, 16), "0000000000000101");
  EXPECT_EQ(bitstr(0, 5), "00000");
  EXPECT_EQ(bitstr(31, 5), "11111");
  EXPECT_EQ(bitstr(65536, 16), "1" + std::string(16, '0'));
  EXPECT_EQ(bitstr(6, 0), "110");
}

TEST(Bitstr, NegativeValuesAreRefused) {
  EXPECT_EXIT(bitstr(-1), testing::ExitedWithCode(1), "^Error: bitstr of a negative number \n$");
}

TEST(Bitstr, UnaryAndValue) {
  EXPECT_EQ(unary(0), "0");
  EXPECT_EQ(unary(3), "1110");
  EXPECT_EQ(bitval(""), 0);
  EXPECT_EQ(bitval("0000000000000101"), 5);
  EXPECT_EQ(bitval("110"), 6);
  EXPECT_EQ(bitval(std::string(31, '1')), 2147483647);
  for (int v : {0, 1, 2, 37, 65535, 123456789}) EXPECT_EQ(bitval(bitstr(v, 20)), v);
}

TEST(Bitstr, PowersOfTwo) {
  for (int v : {1, 2, 4, 32, 1024, 1 << 30}) EXPECT_TRUE(ispow2(v)) << v;
  for (int v : {0, 3, 6, 33, 1000, -2, -2147483647 - 1}) EXPECT_FALSE(ispow2(v)) << v;
}
