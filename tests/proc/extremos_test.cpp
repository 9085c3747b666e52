// Extremum search: the worked examples, the messages, and both routines
// against the scan-per-choice method they replace.
#include "proc/extremos.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace imagorix;

namespace {

using POS = std::vector<std::pair<int, int>>;

// k + 1 slots kept sorted by insertion, as first written.
POS literal_kargmax(const IMGFLT& a, int k) {
  std::vector<std::pair<double, std::pair<int, int>>> s(k + 1, {-1e30, {0, 0}});
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c) {
      const double v = a(l, c);
      if (!(v > s[k - 1].first)) continue;
      int i = k - 1;
      while (i >= 0 && s[i].first < v) {
        s[i + 1] = s[i];
        --i;
      }
      s[i + 1] = {v, {l, c}};
    }
  s.pop_back();
  while (!s.empty() && s.back().first <= 0) s.pop_back();
  POS r;
  for (const auto& e : s) r.push_back(e.second);
  return r;
}

// One scan of the whole image per choice: the value test, then the
// distance to every earlier choice. Empty when the search fails.
template <class P>
std::vector<std::pair<int, int>> literal_kminlmax(const IMG<P>& a, int nmin, int nmax, double d, double alto) {
  std::vector<std::pair<int, int>> pos;
  auto longe = [&](int l, int c) {
    long double e = 1e30L;
    for (const auto& p : pos) {
      const long double dl = l - p.first, dc = c - p.second;
      e = std::min(e, std::sqrt(dl * dl + dc * dc));
    }
    return e > d;
  };
  for (int m = 0; m < nmin + nmax; ++m) {
    const bool minimo = m < nmin;
    double melhor = minimo ? alto : -alto;
    std::pair<int, int> p{0, 0};
    for (int l = 0; l < a.nl(); ++l)
      for (int c = 0; c < a.nc(); ++c) {
        const double v = a(l, c);
        if ((minimo ? v < melhor : v > melhor) && longe(l, c)) {
          melhor = v;
          p = {l, c};
        }
      }
    if (melhor == (minimo ? alto : -alto)) return {};
    pos.push_back(p);
  }
  return pos;
}

std::vector<std::pair<int, int>> pares(const VETOR<PONTOI2>& v) {
  std::vector<std::pair<int, int>> r;
  for (int i = 0; i < v.n(); ++i) r.emplace_back(v(i).x, v(i).y);
  return r;
}

}  // namespace

TEST(Kargmax, WorkedExamples) {
  const IMGFLT a(1, 4, {3, 5, 5, -1});
  EXPECT_EQ(kargmax(a, 3), (POS{{0, 1}, {0, 2}, {0, 0}}));
  EXPECT_EQ(kargmax(a, 4), (POS{{0, 1}, {0, 2}, {0, 0}}));
  EXPECT_EQ(kargmax(a, 1), (POS{{0, 1}}));
  EXPECT_TRUE(kargmax(IMGFLT(2, 3, {0, -1, -0.5, 0, -7, 0}), 4).empty());
  EXPECT_TRUE(kargmax(a, 0).empty());
  EXPECT_EXIT(kargmax(a, 5), testing::ExitedWithCode(1), "^Erro: kargmax a.n\\(\\)<k \n$");
}

TEST(Kargmax, EqualsTheSortedSlots) {
  std::mt19937 g(1);
  for (int caso = 0; caso < 40; ++caso) {
    // Few distinct values, so that ties are everywhere.
    IMGFLT a(1 + g() % 12, 1 + g() % 12);
    for (int k = 0; k < a.n(); ++k) a.data()[k] = float(int(g() % 9) - 3) / 2;
    const int k = 1 + g() % a.n();
    SCOPED_TRACE(std::to_string(caso) + " k " + std::to_string(k));
    EXPECT_EQ(kargmax(a, k), literal_kargmax(a, k));
  }
}

TEST(Kminlmax, WorkedExamples) {
  // The second minimum may not coincide with the first (0 is not above 0).
  EXPECT_EQ(pares(kminlmax(IMGGRY(3, 3, 7), 2, 0, 0)), (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}}));
  EXPECT_EQ(pares(kminlmax(IMGFLT(3, 3, 7.0f), 2, 0, 0)), (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}}));
  // Minima first, then maxima, which keep their distance from the minima.
  const IMGGRY g(2, 3, {9, 1, 2, 8, 0, 9});
  // With d = 1 the other 9, next to the minimum, is passed over for the 2.
  EXPECT_EQ(pares(kminlmax(g, 1, 2, 1)), (std::vector<std::pair<int, int>>{{1, 1}, {0, 0}, {0, 2}}));
  EXPECT_EQ(pares(kminlmax(g, 1, 2, 0.5)), (std::vector<std::pair<int, int>>{{1, 1}, {0, 0}, {1, 2}}));
  EXPECT_EQ(kminlmax(g, 0, 0, 3).n(), 0);
}

TEST(Kminlmax, Failures) {
  struct RECUSA {
    const char* mensagem;
    std::function<void()> f;
  };
  const IMGGRY um(1, 1, 5);
  const IMGFLT umf(1, 1, 5.0f);
  const RECUSA casos[] = {
      {"Erro: kminlmax", [&] { kminlmax(um, -1, 0, 0); }},
      {"Erro: kminlmax", [&] { kminlmax(um, 0, -1, 0); }},
      {"Erro: kminlmax", [&] { kminlmax(umf, 0, 0, -0.5); }},
      {"Erro inesperado 1", [&] { kminlmax(um, 2, 0, 0); }},
      {"Erro inesperado 1", [&] { kminlmax(umf, 2, 0, 0); }},
      {"Erro inesperado 1", [&] { kminlmax(IMGGRY(), 1, 0, 0); }},
      {"Erro inesperado 2", [&] { kminlmax(um, 1, 1, 0); }},
      {"Erro inesperado 2", [&] { kminlmax(umf, 1, 1, 0); }},
      // No real value below 1e30 to be a minimum.
      {"Erro inesperado 1", [&] { kminlmax(IMGFLT(1, 2, 1e31f), 1, 0, 0); }},
      // Nothing is farther than an infinite distance, not even from nothing.
      {"Erro inesperado 2", [&] { kminlmax(IMGGRY(4, 4, 1), 0, 1, INFINITY); }},
  };
  for (const RECUSA& r : casos) {
    SCOPED_TRACE(r.mensagem);
    EXPECT_EXIT(r.f(), testing::ExitedWithCode(1), std::string("^") + r.mensagem + " \n$");
  }
}

TEST(Kminlmax, EqualsAScanPerChoice) {
  std::mt19937 g(2);
  const double distancias[] = {0, 1, 1.5, std::sqrt(2.0), 2, 3.2};
  for (int caso = 0; caso < 60; ++caso) {
    const int nl = 1 + g() % 10, nc = 1 + g() % 10;
    IMGGRY a(nl, nc);
    IMGFLT f(nl, nc);
    for (int k = 0; k < a.n(); ++k) {
      a.data()[k] = BYTE(g() % 6 * 50);  // few values: many ties
      f.data()[k] = float(int(g() % 7) - 3) / 4;
    }
    const int nmin = g() % 4, nmax = g() % 4;
    const double d = distancias[g() % 6];
    SCOPED_TRACE(std::to_string(caso) + ": " + std::to_string(nmin) + " " + std::to_string(nmax) + " " +
                 std::to_string(d));
    const auto eg = literal_kminlmax(a, nmin, nmax, d, INT_MAX);
    if (eg.empty() && nmin + nmax > 0)
      EXPECT_EXIT(kminlmax(a, nmin, nmax, d), testing::ExitedWithCode(1), "^Erro inesperado [12] \n$");
    else
      EXPECT_EQ(pares(kminlmax(a, nmin, nmax, d)), eg);
    const auto ef = literal_kminlmax(f, nmin, nmax, d, 1e30);
    if (ef.empty() && nmin + nmax > 0)
      EXPECT_EXIT(kminlmax(f, nmin, nmax, d), testing::ExitedWithCode(1), "^Erro inesperado [12] \n$");
    else
      EXPECT_EQ(pares(kminlmax(f, nmin, nmax, d)), ef);
  }
}
