// Filter masks and the Laplacian-of-Gaussian filter.
#include "proc/mascaras.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include "base/erro.h"
#include "proc/convolucao.h"

namespace imagorix {

namespace {

// The mask for 'x' or 'y' of a gradient; another direction ends the program
// with the function's own message.
IMGFLT gradiente(char dir, const char* nome, int lado, std::initializer_list<double> x,
                 std::initializer_list<double> y) {
  if (dir != 'x' && dir != 'y') erro(std::string("Erro ") + nome + ": direcao invalido", "");
  return IMGFLT(lado, lado, dir == 'x' ? x : y);
}

}  // namespace

IMGFLT sobel(char dir) {
  return gradiente(dir, "sobel", 3, {1, 0, -1, 2, 0, -2, 1, 0, -1}, {-1, -2, -1, 0, 0, 0, 1, 2, 1});
}
IMGFLT prewitt(char dir) {
  return gradiente(dir, "prewitt", 3, {1, 0, -1, 1, 0, -1, 1, 0, -1}, {-1, -1, -1, 0, 0, 0, 1, 1, 1});
}
IMGFLT sobeld(char dir) {
  return gradiente(dir, "sobeld", 3, {0, -1, -2, 1, 0, -1, 2, 1, 0}, {-2, -1, 0, -1, 0, 1, 0, 1, 2});
}
IMGFLT prewittd(char dir) {
  return gradiente(dir, "prewittd", 3, {0, -1, -1, 1, 0, -1, 1, 1, 0}, {-1, -1, 0, -1, 0, 1, 0, 1, 1});
}
IMGFLT roberts(char dir) {
  return gradiente(dir, "roberts", 2, {0, -1, 1, 0}, {-1, 0, 0, 1});
}

IMGFLT laplaciano8() { return IMGFLT(3, 3, {-1, -1, -1, -1, 8, -1, -1, -1, -1}); }
IMGFLT laplaciano4() { return IMGFLT(3, 3, {0, -1, 0, -1, 4, -1, 0, -1, 0}); }

IMGFLT mascaralog(double sigma) {
  if (!(sigma > 0)) return IMGFLT(1, 1, 0.0f);
  // A radius whose side 2r + 1 does not fit an int cannot be allocated
  // anyway; say so before the conversion to int would overflow.
  if (!(3 * sigma < 1073741823.0)) erro("Erro IMGFLT::aloca - Falta memoria", "");
  const int r = static_cast<int>(3 * sigma);
  // The constants are doubles, widened.
  const long double pi = 3.141592653589793, pi2 = 6.283185307179586;
  const long double s = sigma, s2 = s * s, s4 = s2 * s2, s6 = s4 * s2;
  IMGFLT m(2 * r + 1, 2 * r + 1);
  for (int i = 0; i <= 2 * r; ++i)
    for (int j = 0; j <= 2 * r; ++j) {
      const long double d2 = static_cast<long double>(i - r) * (i - r) + static_cast<long double>(j - r) * (j - r);
      m(i, j) = static_cast<FLT>(std::exp(d2 / (-2 * s2)) * (d2 / (pi2 * s6) - 1 / (pi * s4)));
    }
  return m;
}

IMGFLT filtralog(const IMGFLT& img, double sigma) { return convolui(img, mascaralog(sigma), 'x'); }

}  // namespace imagorix
