// Images and pixel comparisons shared by the image tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

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

// Where a and b first differ: empty when they have the same sizes and the
// same pixels. Spare bits past the last column of a binary image are not
// pixels and are not compared.
template <class I>
std::string pixel_difference(const I& a, const I& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc())
    return "sizes " + std::to_string(a.nl()) + "x" + std::to_string(a.nc()) + " and " +
           std::to_string(b.nl()) + "x" + std::to_string(b.nc());
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c)
      if (!(a(l, c) == b(l, c))) return "pixel (" + std::to_string(l) + ", " + std::to_string(c) + ")";
  return "";
}

template <class I>
bool same_pixels(const I& a, const I& b) {
  return pixel_difference(a, b).empty();
}

// A test failure naming the first difference, when there is one.
template <class I>
void expect_same_pixels(const I& a, const I& b) {
  const std::string d = pixel_difference(a, b);
  EXPECT_TRUE(d.empty()) << "the images differ: " << d;
}

}  // namespace testsupport
