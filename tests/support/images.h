// Images and pixel comparisons shared by the image tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "image/imgbin.h"

namespace testsupport {

// A binary image of random words made from seed, spare bits past the last
// column set too, so that a writer letting them through would show it.
inline imagorix::IMGBIN random_words_image(int nl, int nc, unsigned seed) {
  std::mt19937 g(seed);
  imagorix::IMGBIN b(nl, nc);
  for (std::uint32_t* w = b.data(); w != b.data() + b.nw(); ++w) *w = g();
  return b;
}

// Asserts that a and b have the same sizes and pixels. Spare bits past the
// last column of a binary image are not pixels and are not compared.
inline void expect_same_pixels(const imagorix::IMGBIN& a, const imagorix::IMGBIN& b) {
  ASSERT_EQ(a.nl(), b.nl());
  ASSERT_EQ(a.nc(), b.nc());
  const std::uint32_t last = (a.nc() & 31) ? ~0u << (32 - (a.nc() & 31)) : ~0u;
  for (int l = 0; l < a.nl(); ++l)
    for (int k = 0; k < a.wpr(); ++k) {
      const std::uint32_t m = k == a.wpr() - 1 ? last : ~0u;
      ASSERT_EQ(a.row(l)[k] & m, b.row(l)[k] & m) << "row " << l << " word " << k;
    }
}

template <class I>
void expect_same_pixels(const I& a, const I& b) {
  ASSERT_EQ(a.nl(), b.nl());
  ASSERT_EQ(a.nc(), b.nc());
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c) ASSERT_TRUE(a(l, c) == b(l, c)) << l << "," << c;
}

}  // namespace testsupport
