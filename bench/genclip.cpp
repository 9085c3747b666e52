// Writes a colour AVI clip for the video benchmark: nf frames of nl x nc of
// a pattern that moves from frame to frame, 40000 microseconds per frame.
//
//   genclip NF NL NC OUT.avi
#include <cstdio>
#include <cstdlib>

#include "video/avi.h"
#include "video/i3d.h"

using namespace imagorix;

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: genclip NF NL NC OUT.avi\n");
    return 2;
  }
  const int nf = std::atoi(argv[1]), nl = std::atoi(argv[2]), nc = std::atoi(argv[3]);
  I3DCOR k(nf, nl, nc);
  for (int f = 0; f < nf; ++f)
    for (int l = 0; l < nl; ++l) {
      COR* p = k(f).row(l);
      for (int c = 0; c < nc; ++c)
        p[c] = COR{static_cast<BYTE>(c + 3 * f), static_cast<BYTE>(l - 2 * f), static_cast<BYTE>((c ^ l) + f)};
    }
  k.fd() = 40000;
  ImpAvi(k, argv[4]);
  return 0;
}
