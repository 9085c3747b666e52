// The library's own binary image files, and a hexadecimal dump of binary
// images for inclusion in source text.
//
// Native file (LeImg/ImpImg of IMGSHT, IMGFLT, IMGDBL, IMGCPX), little-endian:
//
//   0   7  tag "IMGSHT*", "IMGFLT*", "IMGDBL*" or "IMGCPX*"
//   7   1  0x1A when written; not checked when read
//   8   4  element size: 2, 4, 8, 8
//   12  4  nl
//   16  4  nc
//   20  4  centre row
//   24  4  centre column
//   28     the pixels row by row in their memory form (complex: real part,
//          then imaginary part)
//
// The files keep the exact values and the centre of the image.
#pragma once
#include <string>

#include "image/imgbin.h"

namespace imagorix {

// Writes "nl, nc,\n" and then the pixels in row-major order as one stream of
// bits (1 is white, no row boundaries), cut into 32-bit words with the first
// pixel in the most significant bit and the last word completed with zero
// bits; each word as "0x%08lx, ", with a line feed after every 8 words.
void ImpHex(const IMGBIN& img, const std::string& nome);

}  // namespace imagorix
