// Resampling: changing the size of an image one axis at a time.
//
// An axis that grows (factor >= 1) is filled by linear interpolation, target
// position k reading source position k / factor with no half-pixel offset;
// an axis that shrinks averages the source rows (columns) r whose
// floor(factor * r + 0.5), reduced to the last target row, falls on the same
// target row. Sources are read clamped (mode 'x'), so beyond the last row is
// the last row.
//
// escala and redimensiona resample the axis with the larger factor first and
// the other one on the result. The result keeps the argument's background
// and centre when the size stays; a new size comes with a fresh image's.
// Grey and colour images are resized through IMGFLT (value / 255) and back.
//
// escalacentro scales a grey image about its centre into a target whose
// size and centre the caller has set, in centred coordinates (x to the
// right, y upward); positions outside the source read its background
// (border 'C') or its nearest pixel (border 'X').
#pragma once
#include "image/img.h"

namespace imagorix {

// Fill t (distinct from s), already sized, from s along the rows (vertical
// axis) or the columns (horizontal axis) with factor x. Columns (rows) of t
// beyond those of s read the last one. A factor giving a negative target row
// ends the program with the counter vector's index message. A target row
// that no source row falls on (only possible with sizes chosen by the
// caller) takes the source row nearest to k / x.
void reamostral(const IMGFLT& s, IMGFLT& t, double x);
void reamostrac(const IMGFLT& s, IMGFLT& t, double x);

// floor(fatl * nl + 0.5) rows and floor(fatc * nc + 0.5) columns. Factors
// must be above 0 ("Erro: fatl<=0", "Erro: fatc<=0") and give at least one
// row and column ("Erro: b.nl<=0", "Erro: b.nc<=0").
IMGFLT escala(const IMGFLT& img, double fatl, double fatc);

// nl2 rows and nc2 columns, at least 1 each ("Erro: b.nl<=0",
// "Erro: b.nc<=0"); factors nl2 / nl and nc2 / nc.
IMGFLT redimensiona(const IMGFLT& img, int nl2, int nc2);
IMGGRY redimensiona(const IMGGRY& img, int nl2, int nc2);
IMGCOR redimensiona(const IMGCOR& img, int nl2, int nc2);

// t := s scaled by fatx horizontally and faty vertically about the two
// centres; t's background is left alone. borda is 'C' or 'X' ("Erro: Borda
// deve ser C ou X (default)"), then the factors must be above 0
// ("Erro: fatx<=0", "Erro: faty<=0").
void escalacentro(const IMGGRY& s, IMGGRY& t, double fatx, double faty, char borda = 'X');

}  // namespace imagorix
