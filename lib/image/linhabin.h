// Rows of a binary image as PNG and TIFF pack them: eight pixels a byte, the
// first pixel in the high bit, a row of nc pixels in (nc + 7) / 8 bytes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/bitref.h"

namespace imagorix::detail {

// nbytes bytes of a row (a row with fewer than its words hold reads as zeros
// past them) into the (nc + 31) / 32 words at w, each bit inverted when
// inverte; the bits past column nc are cleared.
inline void bytes_para_palavras(const unsigned char* b, std::size_t nbytes, std::uint32_t* w, int nc,
                                bool inverte) {
  if (nc <= 0) return;
  const std::size_t palavras = (static_cast<std::size_t>(nc) + 31) / 32;
  for (std::size_t k = 0; k < palavras; ++k) {
    std::uint32_t v = 0;
    for (std::size_t j = 0; j < 4; ++j) {
      const std::size_t i = 4 * k + j;
      v = v << 8 | (i < nbytes ? b[i] : 0u);
    }
    w[k] = inverte ? ~v : v;
  }
  w[palavras - 1] &= mascara_final(nc);
}

// The row of nc pixels at w into (nc + 7) / 8 bytes at d, each bit inverted
// when inverte; the bits past column nc are 0 in the last byte.
inline void palavras_para_bytes(const std::uint32_t* w, int nc, unsigned char* d, bool inverte) {
  if (nc <= 0) return;
  const std::size_t bytes = (static_cast<std::size_t>(nc) + 7) / 8, palavras = (static_cast<std::size_t>(nc) + 31) / 32;
  for (std::size_t i = 0; i < bytes; ++i) {
    std::uint32_t v = inverte ? ~w[i / 4] : w[i / 4];
    if (i / 4 == palavras - 1) v &= mascara_final(nc);
    d[i] = static_cast<unsigned char>(v >> (24 - 8 * (i % 4)));
  }
}

}  // namespace imagorix::detail
