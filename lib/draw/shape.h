// Shapes (vectors of PONTO2 in user coordinates, y growing upward) drawn
// into binary and colour images through a user-to-image map.
//
// A user point (x, y) lands on
//   column = border + Desloc.x + arred((x - MinU.x) * fatx)
//   row    = border + MaxD.y - Desloc.y - arred((y - MinU.y) * faty)
// so the smallest y is on the bottom row of the drawing. ShapeMinMax fits a
// map to a shape and an image size; a map that was never fitted stops every
// plot.
#pragma once
#include <ostream>

#include "base/ponto.h"
#include "base/vetor.h"
#include "draw/desenho.h"
#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

struct MapU2D {
  PONTO2 MinU{1e30, 1e30};    // smallest user coordinates
  PONTO2 MaxU{-1e30, -1e30};  // largest user coordinates
  PONTOI2 MaxD;               // drawable width and height in pixels, minus one
  bool GrudaY = false;        // the height limited the scale (equal scales)
  double fatx = 0;            // pixels per user unit along x
  double faty = 0;            // pixels per user unit along y
  PONTOI2 Desloc;             // offset in pixels that centres the drawing
  int borda = 0;              // margin in pixels on every side

  // The pixel of user point p; coordinates beyond int saturate.
  POSLC pixel(const PONTO2& p) const;
};

// Fits map to shape for an nl x nc image with a margin of border pixels on
// every side; with equal, both axes get the scale of the tighter one and the
// drawing is centred along the other. Ends the program when the shape spans
// no width or no height ("Erro inesperado ShapeMinMax") or the margins leave
// no room ("Erro: Borda muito grande").
void ShapeMinMax(MapU2D& map, const VETOR<PONTO2>& shape, int nl, int nc, int border, bool equal);

// One field a line, each line flushed: MinU=, MaxU=, MaxD=, GrudaY= (0 or
// 1), fatx=, faty=, Desloc=.
std::ostream& operator<<(std::ostream& os, const MapU2D& map);

// Marks the vertices. IMGBIN: a dot of size 5 on the first, an xmark of arm 3
// on the last, of arm 2 on the others. IMGCOR: every vertex's pixel gets v,
// then the first is painted green and the last blue.
void shapevert(const MapU2D& map, const VETOR<PONTO2>& shape, IMGBIN& img, bool v);
void shapevert(const MapU2D& map, const VETOR<PONTO2>& shape, IMGCOR& img, int v);
// The polyline through the vertices in order, back to the first when
// closed, in one-pixel lines; pen A ends on the last point drawn.
void shape2img(const MapU2D& map, const VETOR<PONTO2>& shape, IMGBIN& img, bool v, bool closed);
void shape2img(const MapU2D& map, const VETOR<PONTO2>& shape, IMGCOR& img, int v, bool closed);
// The same with a map fitted to the shape and the whole image, equal scales,
// a margin of 3 pixels for IMGBIN and none for IMGCOR.
void shapevert(const VETOR<PONTO2>& shape, IMGBIN& img, bool v);
void shapevert(const VETOR<PONTO2>& shape, IMGCOR& img, int v);
void shape2img(const VETOR<PONTO2>& shape, IMGBIN& img, bool v, bool closed);
void shape2img(const VETOR<PONTO2>& shape, IMGCOR& img, int v, bool closed);

// A pixel at every user point (i sx, j sy) of the map's range (i from
// floor(MinU.x / sx) to ceil(MaxU.x / sx), j likewise), skipping those that
// fall outside the image, then a dot of size 3 at the user origin. Nothing
// at all unless sx > 0 and sy > 0.
void shapegrade(const MapU2D& map, IMGBIN& img, double sx, double sy, bool v);
void shapegrade(const MapU2D& map, IMGCOR& img, double sx, double sy, int v);

}  // namespace imagorix
