// Convolution of a real image with a small real mask.
//
// The mask's origin is its own centre row and centre column (lc(), cc()),
// and it is applied flipped: output (i, j) is the sum over the mask rows l
// and, inside, the mask columns m of
//
//     img(i + lc - l, j + cc - m, modo) * mask(l, m)
//
// with the image read through the access mode modo (see image/acesso.h), so
// the mode says what lies beyond the borders: the background ('n', 'c',
// 'N', 'C'), the nearest pixel ('x', 'X'), the image wrapped around ('r',
// 's'), or a fatal "Indice invalido" ('e'); another mode ends the program.
// The sum starts at 0 and is a double, rounded after each term in that
// order, and the pixel is the sum rounded to the image's type. For IMGFLT
// every product is exact in double, so results are the same bits as that
// sum written out term by term.
//
// The result has the image's size, background 0 and the default centre.
#pragma once
#include "image/img.h"

namespace imagorix {

IMGFLT convolui(const IMGFLT& img, const IMGFLT& mask, char modo);
IMGDBL convolui(const IMGDBL& img, const IMGDBL& mask, char modo);

}  // namespace imagorix
