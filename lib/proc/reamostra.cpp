// Resampling of real, grey and colour images.
//
// Each pass runs row after row over contiguous pixels: the index maps of
// the axis being resampled (interpolation weights, or which target each
// source falls on) are worked out once and shared by every row, and each
// target pixel receives its source terms in the same order as a pixel by
// pixel pass, so the float sums are the same.
#include "proc/reamostra.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "base/erro.h"
#include "base/ponto.h"
#include "base/vetor.h"
#include "image/cor.h"

namespace imagorix {

namespace {

long long limita(long long v, int n) { return v < 0 ? 0 : (v >= n ? n - 1 : v); }

// Pixel (l, c) of s read clamped; an image with no pixels gives its
// background.
struct LEITOR {
  const IMGFLT& s;
  bool vazia;
  FLT operator()(long long l, long long c) const {
    if (vazia) return s.fundo();
    return s.row(static_cast<int>(limita(l, s.nl())))[limita(c, s.nc())];
  }
};

// Interpolation along an axis that grows: target k reads source c and c + 1
// with weights 1 - f and f, t = k / x, c = floor(t), f = t - c. a and b are
// c and c + 1 clamped into a source of n.
struct INTERP {
  long long c;
  double f;
  int a, b;
};
std::vector<INTERP> interpolacao(int m, double x, int n) {
  std::vector<INTERP> v(static_cast<std::size_t>(std::max(m, 0)));
  for (int k = 0; k < m; ++k) {
    const double t = k / x, c = std::floor(t);
    const long long ci = static_cast<long long>(c);
    v[k] = {ci, t - c, static_cast<int>(limita(ci, n)), static_cast<int>(limita(ci + 1, n))};
  }
  return v;
}

// Target of each of n source positions along an axis that shrinks to m:
// floor(x * r + 0.5), reduced to m - 1. A negative one (a factor below 0, or
// none at all) fails the counter vector's index check.
std::vector<int> destinos(int n, int m, double x) {
  std::vector<int> v(static_cast<std::size_t>(std::max(n, 0)));
  for (int r = 0; r < n; ++r) {
    const double k = std::floor(x * r + 0.5);
    if (k >= m - 1) v[r] = m - 1;
    else if (k >= 0) v[r] = static_cast<int>(k);
    else erro(VETOR_INDICE);
    if (v[r] < 0) erro(VETOR_INDICE);
  }
  return v;
}

// The source nearest to target k, for a target no source fell on.
long long mais_proximo(int k, double x) { return arred(k / x); }

double interpola(const INTERP& p, FLT a, FLT b) { return (1 - p.f) * a + p.f * b; }

}  // namespace

void reamostral(const IMGFLT& s, IMGFLT& t, double x) {
  if (!t.data()) return;
  const int nl = t.nl(), nc = t.nc();
  const LEITOR ler{s, s.data() == nullptr};
  const bool colunas_iguais = !ler.vazia && s.nc() == nc;
  if (x >= 1) {
    const std::vector<INTERP> p = interpolacao(nl, x, s.nl());
    for (int k = 0; k < nl; ++k) {
      FLT* d = t.row(k);
      if (colunas_iguais) {
        const FLT* a = s.row(p[k].a);
        const FLT* b = s.row(p[k].b);
        for (int j = 0; j < nc; ++j) d[j] = static_cast<FLT>(interpola(p[k], a[j], b[j]));
      } else {
        for (int j = 0; j < nc; ++j) d[j] = static_cast<FLT>(interpola(p[k], ler(p[k].c, j), ler(p[k].c + 1, j)));
      }
    }
    return;
  }
  const int ns = std::max(s.nl(), 0);
  const std::vector<int> k = destinos(ns, nl, x);
  std::vector<int> conta(static_cast<std::size_t>(nl), 0);
  t.preenche(0.0f);
  for (int r = 0; r < ns; ++r) {
    FLT* d = t.row(k[r]);
    ++conta[k[r]];
    if (colunas_iguais) {
      const FLT* a = s.row(r);
      for (int j = 0; j < nc; ++j) d[j] += a[j];
    } else {
      for (int j = 0; j < nc; ++j) d[j] += ler(r, j);
    }
  }
  for (int q = 0; q < nl; ++q) {
    FLT* d = t.row(q);
    if (conta[q] == 0) {
      const long long r = mais_proximo(q, x);
      for (int j = 0; j < nc; ++j) d[j] = ler(r, j);
    } else {
      for (int j = 0; j < nc; ++j) d[j] = static_cast<FLT>(static_cast<double>(d[j]) / conta[q]);
    }
  }
}

void reamostrac(const IMGFLT& s, IMGFLT& t, double x) {
  if (!t.data()) return;
  const int nl = t.nl(), nc = t.nc();
  const LEITOR ler{s, s.data() == nullptr};
  if (x >= 1) {
    const std::vector<INTERP> p = interpolacao(nc, x, s.nc());
    for (int i = 0; i < nl; ++i) {
      FLT* d = t.row(i);
      if (ler.vazia) {
        for (int k = 0; k < nc; ++k) d[k] = static_cast<FLT>(interpola(p[k], s.fundo(), s.fundo()));
        continue;
      }
      const FLT* a = s.row(static_cast<int>(limita(i, s.nl())));
      for (int k = 0; k < nc; ++k) d[k] = static_cast<FLT>(interpola(p[k], a[p[k].a], a[p[k].b]));
    }
    return;
  }
  const int ns = std::max(s.nc(), 0);
  const std::vector<int> k = destinos(ns, nc, x);
  std::vector<int> conta(static_cast<std::size_t>(nc), 0);
  for (int r = 0; r < ns; ++r) ++conta[k[r]];
  std::vector<long long> perto(static_cast<std::size_t>(nc));
  for (int q = 0; q < nc; ++q) perto[q] = mais_proximo(q, x);
  for (int i = 0; i < nl; ++i) {
    FLT* d = t.row(i);
    std::fill(d, d + nc, 0.0f);
    for (int r = 0; r < ns; ++r) d[k[r]] += ler(i, r);
    for (int q = 0; q < nc; ++q)
      d[q] = conta[q] == 0 ? ler(i, perto[q]) : static_cast<FLT>(static_cast<double>(d[q]) / conta[q]);
  }
}

namespace {

// The axis with the larger factor first, into a temporary, then the other
// one into the result. The result is what resizing a copy of img would give:
// img's background and centre when the size stays, a fresh image's
// otherwise; img itself is neither copied nor changed.
IMGFLT reamostra(const IMGFLT& img, int nl2, int nc2, double fatl, double fatc) {
  IMGFLT r(nl2, nc2);
  if (nl2 == img.nl() && nc2 == img.nc()) {
    r.fundo() = img.fundo();
    r.lc() = img.lc();
    r.cc() = img.cc();
  }
  if (fatl >= fatc) {
    IMGFLT tmp(nl2, img.nc());
    reamostral(img, tmp, fatl);
    reamostrac(tmp, r, fatc);
  } else {
    IMGFLT tmp(img.nl(), nc2);
    reamostrac(img, tmp, fatc);
    reamostral(tmp, r, fatl);
  }
  return r;
}

void confere_tamanho(int nl2, int nc2) {
  if (nl2 < 1) erro("Erro: b.nl<=0", "");
  if (nc2 < 1) erro("Erro: b.nc<=0", "");
}

}  // namespace

IMGFLT escala(const IMGFLT& img, double fatl, double fatc) {
  // NaN is refused with the factors below 0: it has no size to give.
  if (!(fatl > 0)) erro("Erro: fatl<=0", "");
  if (!(fatc > 0)) erro("Erro: fatc<=0", "");
  const int nl2 = arred(fatl * img.nl()), nc2 = arred(fatc * img.nc());
  confere_tamanho(nl2, nc2);
  return reamostra(img, nl2, nc2, fatl, fatc);
}

IMGFLT redimensiona(const IMGFLT& img, int nl2, int nc2) {
  confere_tamanho(nl2, nc2);
  const double fatl = static_cast<double>(nl2) / img.nl(), fatc = static_cast<double>(nc2) / img.nc();
  return reamostra(img, nl2, nc2, fatl, fatc);
}

IMGGRY redimensiona(const IMGGRY& img, int nl2, int nc2) {
  return IMGGRY(redimensiona(IMGFLT(img), nl2, nc2));
}

IMGCOR redimensiona(const IMGCOR& img, int nl2, int nc2) {
  confere_tamanho(nl2, nc2);
  IMGGRY canal[3];
  BYTE COR::*const membro[3] = {&COR::r, &COR::g, &COR::b};
  for (int c = 0; c < 3; ++c) {
    IMGGRY g(img.nl(), img.nc());
    g.fundo() = img.fundo().*membro[c];
    const COR* s = img.data();
    BYTE* d = g.data();
    for (int k = 0; k < (d ? g.n() : 0); ++k) d[k] = s[k].*membro[c];
    canal[c] = redimensiona(g, nl2, nc2);
  }
  IMGCOR r(nl2, nc2);
  r.fundo() = COR{canal[0].fundo(), canal[1].fundo(), canal[2].fundo()};
  COR* d = r.data();
  for (int k = 0; k < r.n(); ++k) d[k] = COR{canal[0].data()[k], canal[1].data()[k], canal[2].data()[k]};
  return r;
}

// --- Scaling about the centre ---------------------------------------------------

namespace {

// Index along an axis of length n that position k reads: clamped with 'X',
// -1 (the background) outside with 'C'.
long long eixo(long long k, int n, bool limitada) {
  if (k >= 0 && k < n) return k;
  return limitada ? (k < 0 ? 0 : n - 1) : -1;
}

struct GRADE {
  const IMGGRY& a;
  bool limitada;
  bool vazia() const { return a.data() == nullptr; }
  // Row of position y, column of position x (see eixo).
  long long linha(long long y) const { return vazia() ? -1 : eixo(a.lc() - y, a.nl(), limitada); }
  long long coluna(long long x) const { return vazia() ? -1 : eixo(x + a.cc(), a.nc(), limitada); }
  double operator()(long long l, long long c) const {
    return (l < 0 || c < 0) ? a.fundo() : a.row(static_cast<int>(l))[c];
  }
};

BYTE guarda(double v) {
  if (v < 0) return 0;
  if (v > 255) return 255;
  return static_cast<BYTE>(std::floor(v + 0.5));
}

// Vertical scaling of a into b with factor f: every column position x of b
// reads the column of a with the same x.
void vertical(const IMGGRY& a, IMGGRY& b, double f, bool limitada) {
  if (!b.data()) return;
  const GRADE g{a, limitada};
  const int nl = b.nl(), nc = b.nc();
  std::vector<long long> col(static_cast<std::size_t>(nc));
  for (int j = 0; j < nc; ++j) col[j] = g.coluna(static_cast<long long>(j) - b.cc());
  if (f >= 1) {
    for (int i = 0; i < nl; ++i) {
      const double t = (static_cast<double>(b.lc()) - i) / f, c = std::floor(t), w = t - c;
      const long long l0 = g.linha(static_cast<long long>(c)), l1 = g.linha(static_cast<long long>(c) + 1);
      BYTE* d = b.row(i);
      for (int j = 0; j < nc; ++j) d[j] = guarda(w * g(l1, col[j]) + (1 - w) * g(l0, col[j]));
    }
    return;
  }
  // Sums of the source rows that fall on each target row.
  std::vector<double> soma(static_cast<std::size_t>(nl) * nc, 0.0);
  std::vector<long long> conta(static_cast<std::size_t>(nl), 0);
  for (int r = 0; r < std::max(a.nl(), 0); ++r) {
    const long long y = static_cast<long long>(a.lc()) - r;
    const double k = std::floor(f * y + 0.5);
    const double i = b.lc() - k;
    if (!(i >= 0 && i < nl)) continue;
    const int q = static_cast<int>(i);
    ++conta[q];
    double* s = soma.data() + static_cast<std::size_t>(q) * nc;
    const long long l = g.linha(y);
    for (int j = 0; j < nc; ++j) s[j] += g(l, col[j]);
  }
  for (int i = 0; i < nl; ++i) {
    BYTE* d = b.row(i);
    const double* s = soma.data() + static_cast<std::size_t>(i) * nc;
    if (conta[i] != 0) {
      for (int j = 0; j < nc; ++j) d[j] = guarda(s[j] / conta[i]);
    } else {
      const long long l = g.linha(arred((static_cast<double>(b.lc()) - i) / f));
      for (int j = 0; j < nc; ++j) d[j] = static_cast<BYTE>(g(l, col[j]));
    }
  }
}

// Horizontal scaling of a into b with factor f: every row position y of b
// reads the row of a with the same y.
void horizontal(const IMGGRY& a, IMGGRY& b, double f, bool limitada) {
  if (!b.data()) return;
  const GRADE g{a, limitada};
  const int nl = b.nl(), nc = b.nc();
  if (f >= 1) {
    std::vector<long long> c0(static_cast<std::size_t>(nc)), c1(c0);
    std::vector<double> w(static_cast<std::size_t>(nc));
    for (int j = 0; j < nc; ++j) {
      const double t = (static_cast<double>(j) - b.cc()) / f, c = std::floor(t);
      w[j] = t - c;
      c0[j] = g.coluna(static_cast<long long>(c));
      c1[j] = g.coluna(static_cast<long long>(c) + 1);
    }
    for (int i = 0; i < nl; ++i) {
      const long long l = g.linha(static_cast<long long>(b.lc()) - i);
      BYTE* d = b.row(i);
      for (int j = 0; j < nc; ++j) d[j] = guarda(w[j] * g(l, c1[j]) + (1 - w[j]) * g(l, c0[j]));
    }
    return;
  }
  // Which target column each source column falls on (-1: none), how many
  // fall on each, and the nearest source for those none falls on.
  const int na = std::max(a.nc(), 0);
  std::vector<int> alvo(static_cast<std::size_t>(na));
  std::vector<long long> conta(static_cast<std::size_t>(nc), 0), perto(static_cast<std::size_t>(nc));
  for (int r = 0; r < na; ++r) {
    const long long x = static_cast<long long>(r) - a.cc();
    const double j = std::floor(f * x + 0.5) + b.cc();
    alvo[r] = (j >= 0 && j < nc) ? static_cast<int>(j) : -1;
    if (alvo[r] >= 0) ++conta[alvo[r]];
  }
  for (int j = 0; j < nc; ++j) perto[j] = g.coluna(arred((static_cast<double>(j) - b.cc()) / f));
  std::vector<double> soma(static_cast<std::size_t>(nc));
  for (int i = 0; i < nl; ++i) {
    const long long l = g.linha(static_cast<long long>(b.lc()) - i);
    std::fill(soma.begin(), soma.end(), 0.0);
    // The source column r is the position r - cc of a, whose column is r
    // again unless a is empty.
    for (int r = 0; r < na; ++r)
      if (alvo[r] >= 0) soma[alvo[r]] += g(l, g.coluna(static_cast<long long>(r) - a.cc()));
    BYTE* d = b.row(i);
    for (int j = 0; j < nc; ++j)
      d[j] = conta[j] != 0 ? guarda(soma[j] / conta[j]) : static_cast<BYTE>(g(l, perto[j]));
  }
}

}  // namespace

void escalacentro(const IMGGRY& s, IMGGRY& t, double fatx, double faty, char borda) {
  if (borda != 'C' && borda != 'X') erro("Erro: Borda deve ser C ou X (default)", "");
  if (!(fatx > 0)) erro("Erro: fatx<=0", "");
  if (!(faty > 0)) erro("Erro: faty<=0", "");
  const bool limitada = borda == 'X';
  if (fatx >= faty) {
    IMGGRY u(s.nl(), t.nc());
    u.lc() = s.lc();
    u.cc() = t.cc();
    u.fundo() = s.fundo();
    horizontal(s, u, fatx, limitada);
    vertical(u, t, faty, limitada);
  } else {
    IMGGRY u(t.nl(), s.nc());
    u.lc() = t.lc();
    u.cc() = s.cc();
    u.fundo() = s.fundo();
    vertical(s, u, faty, limitada);
    horizontal(u, t, fatx, limitada);
  }
}

}  // namespace imagorix
