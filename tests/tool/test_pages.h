// Small binary images for the tool tests, made in memory from a seed so that
// every run sees the same pixels.
#pragma once
#include <random>

#include "image/imgbin.h"

namespace pages {

using imagorix::IMGBIN;

// Independent pixels, white with the given percentage.
inline IMGBIN Noise(int nl, int nc, unsigned seed, int white_percent = 50) {
  std::mt19937 gen(seed);
  IMGBIN img(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) img.set(l, c, static_cast<int>(gen() % 100) < white_percent);
  return img;
}

// A white page with lines of small glyphs (stroked boxes with gaps, word
// spaces between them) and a few specks: long white runs, edges of every
// kind, some solid black.
inline IMGBIN Text(int nl, int nc, unsigned seed) {
  std::mt19937 gen(seed);
  IMGBIN img(nl, nc, 1);
  for (int top = 2; top + 9 < nl; top += 10 + static_cast<int>(gen() % 5)) {
    for (int c = 2 + static_cast<int>(gen() % 4); c + 7 < nc;) {
      if (gen() % 6 == 0) {  // word space
        c += 4 + static_cast<int>(gen() % 3);
        continue;
      }
      const int w = 2 + static_cast<int>(gen() % 5), h = 5 + static_cast<int>(gen() % 3);
      const bool solid = gen() % 8 == 0;
      for (int r = top; r < top + h; ++r)
        for (int k = c; k < c + w; ++k) {
          const bool edge = k == c || k == c + w - 1 || r == top || r == top + h - 1;
          if ((solid || edge) && gen() % 6 != 0) img.set(r, k, false);
        }
      c += w + 1 + static_cast<int>(gen() % 2);
    }
  }
  for (int i = 0; i < nl * nc / 400; ++i)
    img.set(static_cast<int>(gen() % nl), static_cast<int>(gen() % nc), false);
  return img;
}

// Blocks of two kinds, and nothing else. A corner block (rows 001, 0.1,
// 111: VIS 10, three black neighbours) comes before every white block (VIS
// 150, none black) in the carrier order; both predict a white centre, so a
// black centre is a disagreement. Corners get one with probability
// p_corner, white blocks with p_white. Pixels outside blocks are noise.
inline IMGBIN TwoKinds(int nl, int nc, unsigned seed, int corner_percent, int p_corner,
                       int p_white) {
  std::mt19937 gen(seed);
  IMGBIN img = Noise(nl, nc, seed + 1, 50);
  static const int corner[9] = {0, 0, 1, 0, 1, 1, 1, 1, 1};
  for (int bi = 0; bi < nl / 3; ++bi)
    for (int bj = 0; bj < nc / 3; ++bj) {
      const bool is_corner = static_cast<int>(gen() % 100) < corner_percent;
      for (int k = 0; k < 9; ++k) img.set(3 * bi + k / 3, 3 * bj + k % 3, is_corner ? corner[k] : 1);
      const int p = is_corner ? p_corner : p_white;
      img.set(3 * bi + 1, 3 * bj + 1, static_cast<int>(gen() % 100) >= p);
    }
  return img;
}

}  // namespace pages
