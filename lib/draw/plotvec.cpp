// Vector plots in colour and in black and white.
#include "draw/plotvec.h"

#include <climits>
#include <cmath>

#include "base/erro.h"
#include "base/ponto.h"
#include "draw/desenho.h"
#include "draw/pinta.h"
#include "numeric/norma.h"

namespace imagorix {

namespace {

template <class I, class V>
void plota(I& img, const VETOR<double>& v, double min, double max, int h, char style, V ink) {
  const long double escala = (static_cast<long double>(h) - 1) / (static_cast<long double>(max) - min);
  const int n = v.n();
  // The row of element i: the minimum on row h - 1, the maximum on row 0.
  auto linha = [&](int i) {
    const long double y = (static_cast<long double>(v(i)) - min) * escala + 0.5L;
    const long long l = static_cast<long long>(h) - 1 - satura(static_cast<double>(std::floor(y)));
    return l > INT_MAX ? INT_MAX : l < INT_MIN ? INT_MIN : static_cast<int>(l);
  };
  switch (style) {
    case '.':
      for (int i = 0; i < n; ++i) detail::pinta(img, linha(i), i, ink);
      break;
    case ':':
      for (int i = 0; i < n; ++i) {
        moveto(h - 1, i);
        lineto(img, linha(i), i, ink);
      }
      break;
    case '-':
      moveto(linha(0), 0);
      for (int j = 1; j < n; ++j) {
        lineto(img, linha(j - 1), j, ink);
        lineto(img, linha(j), j, ink);
      }
      break;
    default:
      erro("Erro: modo invalido");
  }
}

}  // namespace

IMGCOR plotvec(const VETOR<double>& v, int height, char style, int colour) {
  double min = 0, max = 0;
  FuncaoMinMax(v, min, max);
  IMGCOR img(height, v.n(), 0xFFFFFF);
  plota(img, v, min, max, height, style, colour);
  return img;
}

IMGBIN plotvec(const VETOR<double>& v, int height, char style) {
  double min = 0, max = 0;
  FuncaoMinMax(v, min, max);
  IMGBIN img(height, v.n(), 1);
  plota(img, v, min, max, height, style, false);
  return img;
}

}  // namespace imagorix
