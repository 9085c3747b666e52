// Reversing colour pixels' bytes: the shuffled version against the plain one,
// in place and between buffers, on every length around its step of five
// pixels, and never past the last pixel.
#include "image/trocarb.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

using namespace imagorix;

TEST(TrocaRb, ReversesEachPixel) {
  const unsigned char o[6] = {1, 2, 3, 4, 5, 6};
  unsigned char d[6] = {};
  detail::troca_rb_simples(o, d, 2);
  EXPECT_EQ(std::vector<unsigned char>(d, d + 6), (std::vector<unsigned char>{3, 2, 1, 6, 5, 4}));
}

TEST(TrocaRb, AgreesWithThePlainVersion) {
  for (std::size_t n : {0, 1, 2, 4, 5, 6, 9, 10, 11, 15, 16, 21, 31, 32, 33, 64, 100, 641, 1920}) {
    // Guard bytes on both sides must come through untouched.
    std::vector<unsigned char> o(3 * n + 32), esperado(3 * n + 32, 0xA5), d(3 * n + 32, 0xA5);
    for (std::size_t i = 0; i < o.size(); ++i) o[i] = static_cast<unsigned char>(i * 37 + 11);
    detail::troca_rb_simples(o.data() + 16, esperado.data() + 16, n);
    detail::troca_rb(o.data() + 16, d.data() + 16, n);
    EXPECT_EQ(d, esperado) << n << " pixels";
    // In place.
    std::vector<unsigned char> p = o, q = o;
    detail::troca_rb_simples(q.data() + 16, q.data() + 16, n);
    detail::troca_rb(p.data() + 16, p.data() + 16, n);
    EXPECT_EQ(p, q) << n << " pixels in place";
    // Twice gives the pixels back.
    detail::troca_rb(p.data() + 16, p.data() + 16, n);
    EXPECT_EQ(p, o) << n << " pixels twice";
  }
}
