// Pseudo-angles: cheap values that grow with the angle of a vector, for
// sorting and comparing directions without trigonometry.
#pragma once
#include "base/ponto.h"

namespace imagorix {

// The octant angle of (x, y), in [0, 8): 0, 2, 4 and 6 on the positive x,
// positive y, negative x and negative y axes, y/x or x/y in between. A null
// vector (both coordinates below 1e-20 in magnitude) ends the program.
double AnguloOctante(const PONTO2& p);

// The diamond angle of (x, y), in [0, 4): 0, 1, 2 and 3 on the positive x,
// positive y, negative x and negative y axes, linear along the sides of the
// unit diamond |x| + |y| = 1. A null vector gives 0.
double AnguloDiamante(double x, double y);

}  // namespace imagorix
