// fontsheet OUT: writes a picture of the built-in font: the font image
// itself at twice its size, then every printable character drawn by text at
// zoom 1 and 2. The suffix of OUT chooses the format.
//
//   build/bench/fontsheet docs/font.bmp
#include <cstdio>
#include <string>

#include "draw/texto.h"
#include "image/leimp.h"

using namespace imagorix;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fontsheet OUT\n");
    return 1;
  }
  const IMGBIN& f = fonte();
  const int margem = 16, z = 2;
  std::string todos;
  for (int k = 32; k < 127; ++k) todos += static_cast<char>(k);
  const std::string linhas[] = {todos.substr(0, 48), todos.substr(48)};
  const int nc = f.nc() * z + 2 * margem;
  const int nl = margem + 14 * 2 + margem / 2 + f.nl() * z + margem + 2 * 18 + margem / 2 + 2 * 32 + margem;
  IMGBIN img(nl, nc, 1);
  int l = margem;
  text(img, l, margem, "The built-in font: 251 x 381 pixels, cells of 25 x 19", false, 1, true, true);
  text(img, l + 14, margem, "rows by columns, glyphs of 14 x 8 (shown at twice its size)", false, 1, true, true);
  l += 14 * 2 + margem / 2;
  for (int r = 0; r < f.nl() * z; ++r)
    for (int c = 0; c < f.nc() * z; ++c) img(l + r, margem + c) = f(r / z, c / z);
  l += f.nl() * z + margem;
  for (const std::string& s : linhas) {
    text(img, l, margem, s, false, 1, true, true);
    l += 18;
  }
  l += margem / 2;
  for (const std::string& s : linhas) {
    text(img, l, margem, s, false, 2, true, true);
    l += 32;
  }
  imp(img, argv[1]);
  return 0;
}
