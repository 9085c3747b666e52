// Point records. PONTOI4 is four ints compared lexicographically; the
// watermark tool keeps its block list as a VETOR of them.
#pragma once
#include <compare>

#include "base/erro.h"

namespace imagorix {

struct PONTOI4 {
  int v[4] = {0, 0, 0, 0};

  PONTOI4() = default;
  PONTOI4(int a, int b, int c, int d) : v{a, b, c, d} {}

  int& operator()(int i) {
    if (static_cast<unsigned>(i) > 3u) erro("Indice invalida PONTOI4");
    return v[i];
  }
  int operator()(int i) const { return const_cast<PONTOI4&>(*this)(i); }

  friend auto operator<=>(const PONTOI4&, const PONTOI4&) = default;
};

}  // namespace imagorix
