// Reads a colour AVI whole into a sequence (LeAvi) and writes it again
// (ImpAvi): the path of a program that holds the clip, which the video
// benchmark times next to the converter's frame-by-frame copy.
//
//   aviinteiro IN.avi OUT.avi
#include <cstdio>

#include "video/avi.h"
#include "video/i3d.h"

using namespace imagorix;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: aviinteiro IN.avi OUT.avi\n");
    return 2;
  }
  I3DCOR k;
  LeAvi(k, argv[1]);
  ImpAvi(k, argv[2]);
  return 0;
}
