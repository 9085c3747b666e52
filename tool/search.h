// The search of sign for a payload region whose carriers compress enough.
//
// The region starts at B = 16 and is L = T + 32 positions long. Each
// iteration compresses the disagreement bits of positions 0 ... 15 and
// B ... B+L-1 and prints one line; the region then grows by 32 positions, or,
// when the bits did not compress at all, moves 32 positions on and starts
// again at T + 32. It ends when the free room holds the MAC and the 37 header
// bits.
#pragma once

#include "carriers.h"

namespace kova {

struct REGION {
  int B;  // first position of the region
  int n;  // bits compressed: 16 + the region's length
  int w;  // their compressed length
};

// Runs the search on the carriers for a MAC of T bits and the Golomb
// parameter m, printing "Beginning: ..." per iteration on stdout. Ends the
// program with the list's index message when the first region does not fit
// the list, and with "Error: Impossible to authenticate the image" when the
// next region would run past its end.
//
// The compressed length of every iteration is computed without compressing:
// from the positions of the '1' bits and running sums of the code lengths of
// the runs between them, so an iteration costs the same however long the
// region has grown.
REGION SearchRegion(const CARRIERS& car, int T, int m);

}  // namespace kova
