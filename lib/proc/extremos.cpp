// Extremum search.
//
// kargmax keeps the best k in a heap instead of a sorted list: a later pixel
// enters only with a strictly larger value than the worst kept, which is the
// tie rule of an insertion that places equal values after the kept ones.
//
// kminlmax walks the pixels in the order a choice is made (by value, then by
// scan order) instead of scanning the whole image once per choice: the first
// pixel in that order far enough from the earlier choices is the choice, and
// a pixel found too close stays too close, since choices are only added. So
// one cursor per group moves forward through the order, and each pixel is
// checked against the choices at most once per group on its way. Grey
// images are ordered by counting; real images through a heap.
#include "proc/extremos.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "base/erro.h"

namespace imagorix {

std::vector<std::pair<int, int>> kargmax(const IMGFLT& a, int k) {
  if (a.n() < k) erro("Erro: kargmax a.n()<k", "");
  std::vector<std::pair<int, int>> r;
  if (k <= 0 || !a.data()) return r;
  struct ITEM {
    FLT v;
    int p;
  };
  // Better: larger value, then earlier pixel. The heap keeps the worst kept
  // item on top.
  const auto melhor = [](const ITEM& x, const ITEM& y) { return x.v > y.v || (x.v == y.v && x.p < y.p); };
  std::vector<ITEM> h;
  h.reserve(static_cast<std::size_t>(std::min(k, 1 << 16)));
  const FLT* v = a.data();
  for (int p = 0, n = a.n(); p < n; ++p) {
    if (!(v[p] > 0)) continue;
    if (static_cast<int>(h.size()) < k) {
      h.push_back({v[p], p});
      std::push_heap(h.begin(), h.end(), melhor);
    } else if (v[p] > h.front().v) {
      std::pop_heap(h.begin(), h.end(), melhor);
      h.back() = {v[p], p};
      std::push_heap(h.begin(), h.end(), melhor);
    }
  }
  std::sort(h.begin(), h.end(), melhor);
  r.reserve(h.size());
  for (const ITEM& e : h) r.emplace_back(e.p / a.nc(), e.p % a.nc());
  return r;
}

namespace {

struct ESCOLHA {
  VETOR<PONTOI2> pos;
  int feitas = 0;
  int nc;
  double d;

  // Whether pixel p is farther than d from every choice so far (the
  // distance to no choice at all counts as 1e30).
  bool longe(int p) const {
    const int l = p / nc, c = p % nc;
    if (feitas == 0) return 1e30L > d;
    for (int m = 0; m < feitas; ++m) {
      const long double dl = static_cast<long double>(l) - pos.data()[m].x;
      const long double dc = static_cast<long double>(c) - pos.data()[m].y;
      if (!(std::sqrt(dl * dl + dc * dc) > d)) return false;
    }
    return true;
  }

  // The next n choices from the pixels proximo() hands out in order (-1
  // when there are no more), or the program ends with falha.
  template <class F>
  void escolhe(F proximo, int n, const char* falha) {
    for (int m = 0; m < n; ++m) {
      int p = proximo();
      while (p >= 0 && !longe(p)) p = proximo();
      if (p < 0) erro(falha, "");
      pos.data()[feitas++] = PONTOI2(p / nc, p % nc);
    }
  }
};

// Hands out the elements of ordem one after the other.
struct LISTA {
  const std::vector<int>& ordem;
  std::size_t i = 0;
  int operator()() { return i < ordem.size() ? ordem[i++] : -1; }
};

// Hands out the pixels of a real image in order of value (smallest first
// when sobe, else largest first), then scan order, among those with a value
// below 1e30 (above -1e30). A heap built in one pass gives each next pixel
// in logarithmic time, so a few choices do not pay for sorting the image.
struct MONTE {
  // Whether pixel x comes after pixel y: the heap's top is the first.
  struct DEPOIS {
    const FLT* v;
    bool sobe;
    bool operator()(int x, int y) const {
      if (v[x] != v[y]) return sobe ? v[x] > v[y] : v[x] < v[y];
      return x > y;
    }
  };
  DEPOIS depois;
  std::vector<int> h;
  MONTE(const FLT* v, int n, bool sobe) : depois{v, sobe} {
    for (int p = 0; p < n; ++p)
      if (sobe ? v[p] < 1e30 : v[p] > -1e30) h.push_back(p);
    std::make_heap(h.begin(), h.end(), depois);
  }
  int operator()() {
    if (h.empty()) return -1;
    std::pop_heap(h.begin(), h.end(), depois);
    const int p = h.back();
    h.pop_back();
    return p;
  }
};

ESCOLHA prepara(int nc, int nmin, int nmax, double d) {
  if (nmin < 0 || nmax < 0 || d < 0) erro("Erro: kminlmax", "");
  const long long total = static_cast<long long>(nmin) + nmax;
  if (total > INT_MAX) erro(VETOR_FALTA);
  ESCOLHA e{VETOR<PONTOI2>(static_cast<int>(total)), 0, nc, d};
  for (int m = 0; m < e.pos.n(); ++m) e.pos(m) = PONTOI2(0, 0);
  return e;
}

}  // namespace

VETOR<PONTOI2> kminlmax(const IMGGRY& a, int nmin, int nmax, double d) {
  ESCOLHA e = prepara(a.nc(), nmin, nmax, d);
  const int n = a.data() ? a.n() : 0;
  const BYTE* v = a.data();
  // Counting order: by value, scan order within a value.
  std::vector<int> inicio(257, 0);
  for (int p = 0; p < n; ++p) ++inicio[v[p] + 1];
  for (int g = 0; g < 256; ++g) inicio[g + 1] += inicio[g];
  std::vector<int> cresce(static_cast<std::size_t>(n));
  {
    std::vector<int> livre(inicio.begin(), inicio.end() - 1);
    for (int p = 0; p < n; ++p) cresce[livre[v[p]]++] = p;
  }
  e.escolhe(LISTA{cresce}, nmin, "Erro inesperado 1");
  if (nmax > 0) {
    // Largest value first, still in scan order within a value.
    std::vector<int> desce;
    desce.reserve(cresce.size());
    for (int g = 255; g >= 0; --g) desce.insert(desce.end(), cresce.begin() + inicio[g], cresce.begin() + inicio[g + 1]);
    e.escolhe(LISTA{desce}, nmax, "Erro inesperado 2");
  }
  return std::move(e.pos);
}

VETOR<PONTOI2> kminlmax(const IMGFLT& a, int nmin, int nmax, double d) {
  ESCOLHA e = prepara(a.nc(), nmin, nmax, d);
  const int n = a.data() ? a.n() : 0;
  const FLT* v = a.data();
  if (nmin > 0) e.escolhe(MONTE(v, n, true), nmin, "Erro inesperado 1");
  if (nmax > 0) e.escolhe(MONTE(v, n, false), nmax, "Erro inesperado 2");
  return std::move(e.pos);
}

}  // namespace imagorix
