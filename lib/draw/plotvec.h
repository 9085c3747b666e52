// Plots of a vector of reals as a new image: one column per element, the
// value range over the rows (the minimum on the bottom row, the maximum on
// row 0), in one of three styles:
//   '.'  a point per element
//   ':'  a bar per element, from the bottom row up to its value
//   '-'  a step line: across to each element's column at the previous
//        value, then up or down to its own
// The colour plot draws in colour v (red in bits 0-7, green 8-15, blue 16-23)
// on white, the binary plot black on white. The bars and steps move pen A
// and leave it on the last point drawn.
//
// A vector without two different values ends the program with
// "Erro inesperado FuncaoMinMax"; another style with "Erro: modo invalido".
#pragma once
#include "base/vetor.h"
#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

IMGCOR plotvec(const VETOR<double>& v, int height, char style, int colour);
IMGBIN plotvec(const VETOR<double>& v, int height, char style);

}  // namespace imagorix
