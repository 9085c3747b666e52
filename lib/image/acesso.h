// Access modes shared by the image classes.
//
// A pixel access (l, c, modo) first turns the caller's coordinates into a row
// and a column, then either finds a pixel or falls outside the image, in which
// case the image hands out its background value instead.
//
//   'n'  0  (l, c) as given
//   'x'  1  (l, c), each clamped into the image
//   'e'  2  (l, c); outside ends with "Indice invalido"
//   'r'  3  (l mod nl, c mod nc), remainders non-negative
//   'c'  4  (l + centre row, c + centre column)
//   's'  5  as 'c', wrapped around like 'r'
//   'N' 10  (x, y) with y counted upward from the bottom row
//   'X' 11  (x, y) about the centre, y upward, clamped into the image
//   'C' 14  (x, y) about the centre, y upward
//
// The modes that cannot fall outside ('x', 'r', 's', 'X') have no pixel to
// give on an empty image; there they yield the background value.
#pragma once
#include "base/erro.h"

namespace imagorix::detail {

inline long long limita(long long v, int n) { return v < 0 ? 0 : (v >= n ? n - 1 : v); }
inline long long resto(long long v, int n) {
  const long long r = v % n;
  return r < 0 ? r + n : r;
}

// Turns (l, c) in mode modo into a position of an nl x nc image whose centre
// is (lc, cc). Returns false when that position is outside the image; l and c
// are then left unchanged. Sums are taken in 64 bits, so no input overflows.
inline bool posicao(int nl, int nc, int lc, int cc, int& l, int& c, char modo) {
  const bool cheia = nl > 0 && nc > 0;
  long long L = l, C = c;
  switch (modo) {
    case 'n': case 0:
      break;
    case 'x': case 1:
      if (!cheia) return false;
      L = limita(L, nl);
      C = limita(C, nc);
      break;
    case 'e': case 2:
      if (L < 0 || L >= nl || C < 0 || C >= nc) erro("Indice invalido", "");
      break;
    case 'r': case 3:
      if (!cheia) return false;
      L = resto(L, nl);
      C = resto(C, nc);
      break;
    case 'c': case 4:
      L += lc;
      C += cc;
      break;
    case 's': case 5:
      if (!cheia) return false;
      L = resto(L + lc, nl);
      C = resto(C + cc, nc);
      break;
    case 'N': case 10:
      L = static_cast<long long>(nl) - 1 - c;
      C = l;
      break;
    case 'X': case 11:
      if (!cheia) return false;
      L = limita(static_cast<long long>(lc) - c, nl);
      C = limita(static_cast<long long>(l) + cc, nc);
      break;
    case 'C': case 14:
      L = static_cast<long long>(lc) - c;
      C = static_cast<long long>(l) + cc;
      break;
    default:
      erro("Erro: Modo de acesso invalido", "");
  }
  if (L < 0 || L >= nl || C < 0 || C >= nc) return false;
  l = static_cast<int>(L);
  c = static_cast<int>(C);
  return true;
}

}  // namespace imagorix::detail
