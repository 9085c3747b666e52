// Text matrices: the images as a person can type or inspect them.
//
// Layout as written (LeTxt accepts any arrangement of the same tokens, with
// comments, see base/lenum.h):
//
//   nl nc
//   <empty line>
//   one line per row, each pixel followed by a blank
//   <empty line>
//   centre-row centre-column
//
// Pixels: IMGBIN 0 or 1 (1 is white); IMGGRY and IMGSHT integers in width 3;
// IMGCOR red, green, blue in width 3 separated by blanks and followed by four
// blanks instead of one; IMGFLT reals in width 3 and IMGDBL in width 8, in the
// default notation of stream output (6 significant digits); IMGCPX
// "(re,im)". The centre is optional when reading: without it the image keeps
// the default centre.
//
// LeTxt and ImpTxt are members of the image classes; the stream operators
// below write the same text (IMGDBL in width 3 there) with the stream's own
// number formatting.
#pragma once
#include <iosfwd>

#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

std::ostream& operator<<(std::ostream& os, const IMGBIN& img);
std::ostream& operator<<(std::ostream& os, const IMGGRY& img);
std::ostream& operator<<(std::ostream& os, const IMGCOR& img);
std::ostream& operator<<(std::ostream& os, const IMGSHT& img);
std::ostream& operator<<(std::ostream& os, const IMGFLT& img);
std::ostream& operator<<(std::ostream& os, const IMGDBL& img);
std::ostream& operator<<(std::ostream& os, const IMGCPX& img);

// One colour as "(red,green,blue)".
std::ostream& operator<<(std::ostream& os, const COR& c);

}  // namespace imagorix
