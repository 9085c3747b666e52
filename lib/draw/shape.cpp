// Shape plots: fitting a user-to-image map, printing it, and drawing a
// shape's vertices, its polyline and a grid through it.
#include "draw/shape.h"

#include <cmath>

#include "base/erro.h"
#include "draw/pinta.h"

namespace imagorix {

namespace {

int satura_ll(long long v) {
  return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

bool nao_ajustado(const MapU2D& map) { return map.MinU.x == 1e30; }

template <class I>
void vertices_bin(const MapU2D& map, const VETOR<PONTO2>& shape, I& img, bool v) {
  if (nao_ajustado(map)) erro("Erro shapevert: MapU2D nao inicializado");
  const int n = shape.n();
  for (int i = 0; i < n; ++i) {
    const POSLC p = map.pixel(shape(i));
    if (i == 0) dot(img, p.l, p.c, 5, v);
    else xmark(img, p.l, p.c, i == n - 1 ? 3 : 2, v);
  }
}

template <class I, class V>
void poligono(const MapU2D& map, const VETOR<PONTO2>& shape, I& img, V v, bool closed) {
  if (nao_ajustado(map)) erro("Erro shape2img: MapU2D nao inicializado");
  if (shape.n() < 1) return;
  const POSLC primeiro = map.pixel(shape(0));
  moveto(primeiro.l, primeiro.c);
  for (int i = 0; i < shape.n(); ++i) {
    const POSLC p = map.pixel(shape(i));
    lineto(img, p.l, p.c, v);
  }
  if (closed) lineto(img, primeiro.l, primeiro.c, v);
}

// floor or ceil of a quotient as a loop bound that cannot overflow.
long long limite(double q) {
  if (!(q == q)) return 0;
  if (q > 4e18) return 4000000000000000000LL;
  if (q < -4e18) return -4000000000000000000LL;
  return static_cast<long long>(q);
}

template <class I, class V>
void grade(const MapU2D& map, I& img, double sx, double sy, V v) {
  if (nao_ajustado(map)) erro("Erro shapegrade: MapU2D nao inicializado");
  if (!(sx > 0 && sy > 0)) return;
  const long long i0 = limite(std::floor(map.MinU.x / sx)), i1 = limite(std::ceil(map.MaxU.x / sx));
  const long long j0 = limite(std::floor(map.MinU.y / sy)), j1 = limite(std::ceil(map.MaxU.y / sy));
  for (long long i = i0; i <= i1; ++i)
    for (long long j = j0; j <= j1; ++j) {
      const POSLC p = map.pixel(PONTO2(static_cast<double>(i) * sx, static_cast<double>(j) * sy));
      if (detail::dentro(img, p.l, p.c)) detail::pinta(img, p.l, p.c, v);
    }
  const POSLC o = map.pixel(PONTO2(0, 0));
  dot(img, o.l, o.c, 3, v);
}

}  // namespace

POSLC MapU2D::pixel(const PONTO2& p) const {
  const long long c = static_cast<long long>(borda) + Desloc.x + arred((p.x - MinU.x) * fatx);
  const long long l = static_cast<long long>(borda) + MaxD.y - Desloc.y - arred((p.y - MinU.y) * faty);
  return {satura_ll(l), satura_ll(c)};
}

void ShapeMinMax(MapU2D& map, const VETOR<PONTO2>& shape, int nl, int nc, int border, bool equal) {
  map.MinU = PONTO2(1e30, 1e30);
  map.MaxU = PONTO2(-1e30, -1e30);
  map.borda = border;
  for (int i = 0; i < shape.n(); ++i) {
    const PONTO2& p = shape(i);
    if (p.x > map.MaxU.x) map.MaxU.x = p.x;
    if (p.y > map.MaxU.y) map.MaxU.y = p.y;
    if (p.x < map.MinU.x) map.MinU.x = p.x;
    if (p.y < map.MinU.y) map.MinU.y = p.y;
  }
  if (!(map.MaxU.x > map.MinU.x) || !(map.MaxU.y > map.MinU.y)) erro("Erro inesperado ShapeMinMax");
  const long long folga = 2LL * border + 1;
  if (folga >= nc || folga >= nl) erro("Erro: Borda muito grande");
  map.MaxD = PONTOI2(satura_ll(nc - folga), satura_ll(nl - folga));
  const double dx = map.MaxU.x - map.MinU.x, dy = map.MaxU.y - map.MinU.y;
  const double mx = map.MaxD.x, my = map.MaxD.y;
  if (equal) {
    if (my / mx < dy / dx) {
      map.GrudaY = true;
      map.fatx = my / dy;
      map.Desloc = PONTOI2((map.MaxD.x - satura(std::floor(dx * map.fatx))) / 2, 0);
    } else {
      map.GrudaY = false;
      map.fatx = mx / dx;
      map.Desloc = PONTOI2(0, (map.MaxD.y - satura(std::floor(dy * map.fatx))) / 2);
    }
    map.faty = map.fatx;
  } else {
    map.fatx = mx / dx;
    map.faty = my / dy;
    map.Desloc = PONTOI2((map.MaxD.x - satura(std::floor(dx * map.fatx))) / 2,
                         (map.MaxD.y - satura(std::floor(dy * map.faty))) / 2);
  }
}

std::ostream& operator<<(std::ostream& os, const MapU2D& map) {
  os << "MinU=" << map.MinU << std::endl;
  os << "MaxU=" << map.MaxU << std::endl;
  os << "MaxD=" << map.MaxD << std::endl;
  os << "GrudaY=" << (map.GrudaY ? 1 : 0) << std::endl;
  os << "fatx=" << map.fatx << std::endl;
  os << "faty=" << map.faty << std::endl;
  os << "Desloc=" << map.Desloc << std::endl;
  return os;
}

void shapevert(const MapU2D& map, const VETOR<PONTO2>& shape, IMGBIN& img, bool v) {
  vertices_bin(map, shape, img, v);
}

void shapevert(const MapU2D& map, const VETOR<PONTO2>& shape, IMGCOR& img, int v) {
  if (nao_ajustado(map)) erro("Erro shapevert: MapU2D nao inicializado");
  const int n = shape.n();
  for (int i = 0; i < n; ++i) {
    const POSLC p = map.pixel(shape(i));
    detail::pinta(img, p.l, p.c, v);
  }
  if (n < 1) return;
  const POSLC a = map.pixel(shape(0)), b = map.pixel(shape(n - 1));
  detail::pinta(img, a.l, a.c, 255 << 8);
  detail::pinta(img, b.l, b.c, 255 << 16);
}

void shape2img(const MapU2D& map, const VETOR<PONTO2>& shape, IMGBIN& img, bool v, bool closed) {
  poligono(map, shape, img, v, closed);
}
void shape2img(const MapU2D& map, const VETOR<PONTO2>& shape, IMGCOR& img, int v, bool closed) {
  poligono(map, shape, img, v, closed);
}

void shapevert(const VETOR<PONTO2>& shape, IMGBIN& img, bool v) {
  MapU2D map;
  ShapeMinMax(map, shape, img.nl(), img.nc(), 3, true);
  shapevert(map, shape, img, v);
}
void shapevert(const VETOR<PONTO2>& shape, IMGCOR& img, int v) {
  MapU2D map;
  ShapeMinMax(map, shape, img.nl(), img.nc(), 0, true);
  shapevert(map, shape, img, v);
}
void shape2img(const VETOR<PONTO2>& shape, IMGBIN& img, bool v, bool closed) {
  MapU2D map;
  ShapeMinMax(map, shape, img.nl(), img.nc(), 3, true);
  shape2img(map, shape, img, v, closed);
}
void shape2img(const VETOR<PONTO2>& shape, IMGCOR& img, int v, bool closed) {
  MapU2D map;
  ShapeMinMax(map, shape, img.nl(), img.nc(), 0, true);
  shape2img(map, shape, img, v, closed);
}

void shapegrade(const MapU2D& map, IMGBIN& img, double sx, double sy, bool v) { grade(map, img, sx, sy, v); }
void shapegrade(const MapU2D& map, IMGCOR& img, double sx, double sy, int v) { grade(map, img, sx, sy, v); }

}  // namespace imagorix
