// Bilevel pages from grey and colour ones, at a chosen or an Otsu threshold.
#include "image/binariza.h"

#include <array>
#include <cstdint>

#include "base/erro.h"

namespace imagorix {

namespace {

inline BYTE cinza(BYTE v) { return v; }
inline BYTE cinza(const COR& c) { return static_cast<BYTE>((c.r + c.g + c.b + 1) / 3); }

template <class P>
IMGBIN limiar_em(const IMG<P>& g, int limiar) {
  if (limiar < 0 || limiar > 256) erro("Erro binariza - Limiar invalido");
  IMGBIN b(g.nl(), g.nc());
  for (int l = 0; l < g.nl(); ++l) {
    const P* s = g.row(l);
    std::uint32_t* w = b.row(l);
    for (int c = 0; c < g.nc(); ++c)
      if (cinza(s[c]) >= limiar) w[c >> 5] |= 0x80000000u >> (c & 31);
  }
  b.fundo() = cinza(g.fundo()) >= limiar;
  b.lc() = g.lc();
  b.cc() = g.cc();
  return b;
}

template <class P>
int otsu(const IMG<P>& g) {
  std::array<std::uint64_t, 256> h{};
  for (int l = 0; l < g.nl(); ++l) {
    const P* s = g.row(l);
    for (int c = 0; c < g.nc(); ++c) ++h[cinza(s[c])];
  }
  // Between-class variance of the split below t, up to a constant factor:
  // (mu_T w0 - mu0)^2 / (w0 (1 - w0)), with counts in place of fractions.
  std::uint64_t total = 0, soma = 0;
  for (int v = 0; v < 256; ++v) total += h[v], soma += h[v] * static_cast<std::uint64_t>(v);
  int melhor = 128;
  long double maior = -1;
  std::uint64_t n0 = 0, s0 = 0;
  for (int t = 1; t < 256; ++t) {
    n0 += h[t - 1];
    s0 += h[t - 1] * static_cast<std::uint64_t>(t - 1);
    const std::uint64_t n1 = total - n0;
    if (n0 == 0 || n1 == 0) continue;
    const long double d = static_cast<long double>(soma) * n0 - static_cast<long double>(s0) * total;
    const long double var = d * d / (static_cast<long double>(n0) * n1);
    if (var > maior) {
      maior = var;
      melhor = t;
    }
  }
  return melhor;
}

}  // namespace

IMGBIN binariza(const IMGGRY& g, int limiar) { return limiar_em(g, limiar); }
IMGBIN binariza(const IMGCOR& c, int limiar) { return limiar_em(c, limiar); }
int limiar_otsu(const IMGGRY& g) { return otsu(g); }
int limiar_otsu(const IMGCOR& c) { return otsu(c); }

}  // namespace imagorix
