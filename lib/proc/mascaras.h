// Filter masks for convolui: gradients (Sobel, Prewitt, their diagonal forms
// and Roberts), the two discrete Laplacians and the Laplacian of Gaussian.
//
// Each mask is an IMGFLT with the default centre: (1, 1) for 3 x 3, (0, 0)
// for the 2 x 2 Roberts masks, (r, r) for a (2r + 1) x (2r + 1) Laplacian of
// Gaussian. The gradient masks take the direction 'x' or 'y'; any other
// character ends the program.
#pragma once
#include "image/img.h"

namespace imagorix {

IMGFLT sobel(char dir);
IMGFLT prewitt(char dir);
IMGFLT sobeld(char dir);
IMGFLT prewittd(char dir);
IMGFLT roberts(char dir);

// -1 around 8, and the four-neighbour 0 -1 0 / -1 4 -1 / 0 -1 0.
IMGFLT laplaciano8();
IMGFLT laplaciano4();

// The Laplacian of Gaussian of standard deviation sigma, r = 3 sigma
// truncated, element (i, j) with d2 = (i - r)^2 + (j - r)^2:
// exp(-d2 / (2 sigma^2)) * (d2 / (2 pi sigma^6) - 1 / (pi sigma^4)),
// computed in extended precision and stored as float. sigma <= 0 (or NaN)
// gives the 1 x 1 mask holding 0.
IMGFLT mascaralog(double sigma);

// img convolved with mascaralog(sigma), borders clamped (mode 'x').
IMGFLT filtralog(const IMGFLT& img, double sigma);

}  // namespace imagorix
