// Comparing sequences in the sequence tests.
#pragma once
#include "video/i3d.h"

namespace testsupport {

// Whether a and b have the same sizes and equal elements in every frame.
template <class P>
bool same_sequence(const imagorix::I3D<P>& a, const imagorix::I3D<P>& b) {
  if (a.nf() != b.nf() || a.nl() != b.nl() || a.nc() != b.nc()) return false;
  for (int f = 0; f < a.nf(); ++f)
    for (int l = 0; l < a.nl(); ++l)
      for (int c = 0; c < a.nc(); ++c)
        if (!(a(f, l, c) == b(f, l, c))) return false;
  return true;
}

}  // namespace testsupport
