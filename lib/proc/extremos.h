// Extremum search: the positions of the largest values of a real image, and
// of minima and maxima kept apart by a minimum distance.
//
// Pixels are visited in scan order (rows from 0, columns from 0 within a
// row), and ties go to the earlier pixel. Distances are Euclidean between
// positions.
#pragma once
#include <utility>
#include <vector>

#include "base/ponto.h"
#include "base/vetor.h"
#include "image/img.h"

namespace imagorix {

// The positions (row, column) of the k largest strictly positive values of
// a, largest first; fewer when fewer are positive. k above a.n() ends the
// program ("Erro: kargmax a.n()<k"); k <= 0 gives none.
std::vector<std::pair<int, int>> kargmax(const IMGFLT& a, int k);

// nmin minima, then nmax maxima, each group in the order chosen. Each choice
// is the first pixel in scan order holding the smallest (largest) value among
// the pixels farther than d from every earlier choice, minima included. A
// position is PONTOI2{x = row, y = column}. A negative count or distance ends
// the program ("Erro: kminlmax"); so does running out of pixels far enough
// ("Erro inesperado 1" for a minimum, "Erro inesperado 2" for a maximum). The
// real form takes values below 1e30 as minima and above -1e30 as maxima.
VETOR<PONTOI2> kminlmax(const IMGGRY& a, int nmin, int nmax, double d);
VETOR<PONTOI2> kminlmax(const IMGFLT& a, int nmin, int nmax, double d);

}  // namespace imagorix
