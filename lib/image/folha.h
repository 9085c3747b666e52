// A page as a PNG or TIFF file holds it: bilevel, grey or colour, in the
// class of that kind, and its conversion into any image class by the class
// rules.
#pragma once
#include <type_traits>

#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

struct FOLHA {
  enum Tipo { BINARIA, CINZA, COLORIDA };
  Tipo tipo = CINZA;
  IMGBIN bin;  // the one of the three that tipo names holds the page
  IMGGRY gry;
  IMGCOR cor;

  // The page in class I. Short images take grey only, so bilevel and colour
  // pages reach them through grey.
  template <class I>
  void em(I& img) const {
    switch (tipo) {
      case BINARIA:
        if constexpr (std::is_same_v<I, IMGBIN>) img = bin;
        else if constexpr (std::is_same_v<I, IMGSHT>) img = I(IMGGRY(bin));
        else img = I(bin);
        return;
      case CINZA:
        if constexpr (std::is_same_v<I, IMGGRY>) img = gry;
        else img = I(gry);
        return;
      case COLORIDA:
        if constexpr (std::is_same_v<I, IMGCOR>) img = cor;
        else if constexpr (std::is_same_v<I, IMGSHT>) img = I(IMGGRY(cor));
        else img = I(cor);
        return;
    }
  }
};

}  // namespace imagorix
