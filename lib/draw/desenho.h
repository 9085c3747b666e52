// Drawing on images: square dots, straight lines with a square brush,
// arrows, circles, plus and cross marks, lines through the two process-wide
// pens, and the orientation of three points.
//
// Positions are (row, column), row 0 at the top, except for the centred
// forms (movetoc, linetoc, linec), whose (x, y) put the origin at the image's
// centre row and column with y growing upward. Values: a truth value for
// IMGBIN (true white), a byte for IMGGRY, a colour int for IMGCOR (red in
// bits 0-7, green 8-15, blue 16-23) and for IMGYUV (Y, U, V in the same
// bytes; U and V go to the chroma samples of (row / 2, column / 2)).
//
// A size s of 1 is one pixel; any other is the s x s square of rows
// row - s / 2 ... row - s / 2 + s - 1 and the same columns (an even s reaches
// one pixel further down and right); sizes below 1 draw nothing. Nothing is
// clipped or refused: every write outside the image stores the value into
// the image's background value, as the image's own access does, and never
// touches a pixel.
//
// Pen A (row, column) and pen B (x, y) are shared by every image and class
// and start at (0, 0). Nothing here is reentrant.
#pragma once
#include "base/ponto.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/imgyuv.h"

namespace imagorix {

// A position in image coordinates.
struct POSLC {
  int l = 0, c = 0;
  friend bool operator==(const POSLC&, const POSLC&) = default;
};

// The brush of the size at (l, c).
void dot(IMGBIN& img, int l, int c, int size, bool v);
void dot(IMGCOR& img, int l, int c, int size, int v);

// The digital line between the two endpoints (both included), each point
// painted with the brush. It steps along the rows when they differ more than
// the columns, otherwise along the columns, always from the endpoint with the
// smaller coordinate on that axis, so both directions paint the same pixels.
void line(IMGBIN& img, int l1, int c1, int l2, int c2, bool v, int size);
void line(IMGGRY& img, int l1, int c1, int l2, int c2, BYTE v, int size);
void line(IMGCOR& img, int l1, int c1, int l2, int c2, int v, int size);
void line(IMGYUV& img, int l1, int c1, int l2, int c2, int v, int size);

// A one-pixel line with a head of two 3-pixel strokes at (l2, c2), each 45
// degrees off the line; no head when the endpoints coincide.
void arrow(IMGBIN& img, int l1, int c1, int l2, int c2, bool v);
void arrow(IMGGRY& img, int l1, int c1, int l2, int c2, BYTE v);
void arrow(IMGCOR& img, int l1, int c1, int l2, int c2, int v);

// The circle of radius r around (l0, c0) by the midpoint walk over one
// octant, mirrored eight ways, each point painted with the brush.
void circle(IMGBIN& img, int l0, int c0, int r, bool v, int size);
void circle(IMGGRY& img, int l0, int c0, int r, BYTE v, int size);
void circle(IMGCOR& img, int l0, int c0, int r, int v, int size);

// (l, c) and n pixels on each side: along the row and the column (plusmark)
// or along the two diagonals (xmark). n < 1 paints only the centre.
void plusmark(IMGBIN& img, int l, int c, int n, bool v);
void plusmark(IMGGRY& img, int l, int c, int n, BYTE v);
void plusmark(IMGCOR& img, int l, int c, int n, int v);
void xmark(IMGBIN& img, int l, int c, int n, bool v);
void xmark(IMGGRY& img, int l, int c, int n, BYTE v);
void xmark(IMGCOR& img, int l, int c, int n, int v);

// Pen A: moveto puts it at (l, c); lineto draws a one-pixel line from it to
// (l, c) and leaves it there.
void moveto(int l, int c);
void lineto(IMGBIN& img, int l, int c, bool v);
void lineto(IMGGRY& img, int l, int c, BYTE v);
void lineto(IMGCOR& img, int l, int c, int v);
POSLC canetaA();

// Pen B, in centred coordinates: movetoc puts it at (x, y); linetoc draws a
// linec from it to (x, y) and leaves it there. linec is line's walk in
// centred coordinates (stepping along y when y differs more than x), one
// pixel per point.
void movetoc(int x, int y);
void linetoc(IMGGRY& img, int x, int y, BYTE v);
void linetoc(IMGCOR& img, int x, int y, int v);
void linec(IMGGRY& img, int x1, int y1, int x2, int y2, BYTE v);
void linec(IMGCOR& img, int x1, int y1, int x2, int y2, int v);
PONTOI2 canetaB();

// The sign (-1, 0 or 1) of the cross product (p2 - p1) x (p3 - p1), x the
// first coordinate: 1 when p1, p2, p3 turn counter-clockwise with y upward.
// Integer points are computed exactly; real ones in extended precision, with
// magnitudes below 1e-20 taken as 0.
int orient(const PONTOI2& p1, const PONTOI2& p2, const PONTOI2& p3);
int orient(const PONTO2& p1, const PONTO2& p2, const PONTO2& p3);

}  // namespace imagorix
