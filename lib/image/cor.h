// COR: the pixel of IMGCOR, three bytes red, green, blue, packed.
#pragma once
#include "base/types.h"

namespace imagorix {

struct COR {
  BYTE r = 0, g = 0, b = 0;

  friend bool operator==(const COR&, const COR&) = default;
};

// Readers and writers move rows of COR as raw bytes.
static_assert(sizeof(COR) == 3, "COR must be three packed bytes");

}  // namespace imagorix
