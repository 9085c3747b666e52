// Grey and colour pages made bilevel on purpose, at a chosen threshold or at
// the one Otsu's method finds, instead of the class rule's fixed 128.
#pragma once
#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

// White where the grey level is at least limiar (0 ... 256: 0 makes every
// pixel white, 256 every pixel black); colour pages go by the grey level
// the class rule gives them, (r + g + b + 1) / 3. Size, background (white
// at or above limiar) and centre follow the page. A limiar outside
// 0 ... 256 ends the program with "Erro binariza - Limiar invalido".
IMGBIN binariza(const IMGGRY& g, int limiar);
IMGBIN binariza(const IMGCOR& c, int limiar);

// Otsu's threshold of the page's grey levels: the limiar that splits the
// histogram into the two classes of greatest between-class variance (the
// lowest such limiar on ties). A page of one grey level, or an empty one,
// gives 128, the class rule.
int limiar_otsu(const IMGGRY& g);
int limiar_otsu(const IMGCOR& c);

}  // namespace imagorix
