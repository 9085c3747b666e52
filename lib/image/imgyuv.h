// IMGYUV: a planar YUV 4:2:0 picture held in a grey image.
//
// For nl x nc luma pixels, img has 3 * nl / 2 rows of nc pixels: the luma
// plane, then the two chroma planes of nl / 2 x nc / 2 pixels each, one after
// the other. The offsets count pixels from the start of img's block.
#pragma once
#include "base/types.h"
#include "image/img.h"

namespace imagorix {

class IMGYUV {
 public:
  int ou = 0;    // offset of the first chroma plane
  int ov = 0;    // offset of the second chroma plane
  int ncuv = 0;  // chroma row length
  int nly = 0;   // luma rows
  int ncy = 0;   // luma row length
  IMGGRY img;

  // An empty picture; fill img and call inicializa() before use.
  IMGYUV() = default;
  // nl and nc must be even.
  IMGYUV(int nl, int nc);

  // Derives the plane layout from img, which must hold storage with a row
  // count divisible by 3 and an even row length.
  void inicializa();

  BYTE* y() { return img.data(); }
  BYTE* u() { return img.data() + ou; }
  BYTE* v() { return img.data() + ov; }
};

}  // namespace imagorix
