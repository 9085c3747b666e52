// Convolution of a real image with a small real mask.
//
// Every access mode is separable: the row read depends on one coordinate
// and the column on the other. So each image row the mask needs is expanded
// once into a padded row of doubles holding, for every column offset the
// mask can reach, what the mode reads there; the sums then run over plain
// arrays with no border test. Each output row keeps its sums in registers,
// 16 pixels at a time, adding the terms in the mask's order, so each pixel's
// sum is formed exactly as the term-by-term definition forms it.
//
// The modes 'N', 'X' and 'C' take (x, y) with y upward: they read the image
// transposed and mirrored, so they run on that copy with the matching plain
// mode.
#include "proc/convolucao.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "base/erro.h"
#include "image/acesso.h"

namespace imagorix {

namespace {

enum class Borda { fundo, limita, erro, volta };

// How the image is read: source (the image or its mirrored transpose),
// offsets added to the row and column coordinates, and what lies outside.
struct LEITURA {
  bool transposta = false;
  long long dl = 0, dc = 0;
  Borda borda = Borda::fundo;
};

template <class T>
LEITURA leitura(const IMG<T>& img, char modo) {
  const long long lc = img.lc(), cc = img.cc(), nl = img.nl();
  switch (modo) {
    case 'n': case 0: return {false, 0, 0, Borda::fundo};
    case 'x': case 1: return {false, 0, 0, Borda::limita};
    case 'e': case 2: return {false, 0, 0, Borda::erro};
    case 'r': case 3: return {false, 0, 0, Borda::volta};
    case 'c': case 4: return {false, lc, cc, Borda::fundo};
    case 's': case 5: return {false, lc, cc, Borda::volta};
    // (x, y) reads row nl - 1 - y (about the centre: lc - y) and column x
    // (x + cc); in the transpose t(p, q) = img(nl - 1 - q, p) that is row x
    // and column y (y + nl - 1 - lc).
    case 'N': case 10: return {true, 0, 0, Borda::fundo};
    case 'X': case 11: return {true, cc, nl - 1 - lc, Borda::limita};
    case 'C': case 14: return {true, cc, nl - 1 - lc, Borda::fundo};
    default: erro("Erro: Modo de acesso invalido", "");
  }
}

// The index that coordinate v + d reads along an axis of length n, or -1 for
// the background.
long long indice(long long v, long long d, int n, Borda b) {
  const long long k = v + d;
  if (k >= 0 && k < n) return k;
  switch (b) {
    case Borda::limita: return k < 0 ? 0 : n - 1;
    case Borda::volta: return detail::resto(k, n);
    case Borda::erro: erro("Indice invalido", "");
    case Borda::fundo: break;
  }
  return -1;
}

// t(p, q) = img(nl - 1 - q, p): nc rows of nl pixels, in blocks so that both
// sides stay in cache.
template <class T>
IMG<T> espelha_transposta(const IMG<T>& img) {
  const int nl = img.nl(), nc = img.nc();
  IMG<T> t(nc, nl);
  constexpr int B = 32;
  for (int q0 = 0; q0 < nl; q0 += B)
    for (int p0 = 0; p0 < nc; p0 += B)
      for (int q = q0; q < std::min(nl, q0 + B); ++q) {
        const T* s = img.row(nl - 1 - q);
        for (int p = p0; p < std::min(nc, p0 + B); ++p) t.row(p)[q] = s[p];
      }
  return t;
}

typedef double V2 __attribute__((vector_size(16)));

inline V2 carrega(const double* p) {
  V2 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

constexpr int BLOCO = 16;  // output pixels whose sums stay in registers

// Sums of one block of BLOCO output pixels: linhas[l] points at the padded
// row of mask row l, already advanced to the block's first pixel and to mask
// column mw - 1; k holds the mask row after row.
inline void bloco(const double* const* linhas, const double* k, int mh, int mw, double* out) {
  V2 s0 = {0, 0}, s1 = s0, s2 = s0, s3 = s0, s4 = s0, s5 = s0, s6 = s0, s7 = s0;
  for (int l = 0; l < mh; ++l) {
    const double* p = linhas[l];
    for (int m = 0; m < mw; ++m, ++k, --p) {
      const V2 c = {*k, *k};
      s0 += carrega(p) * c;
      s1 += carrega(p + 2) * c;
      s2 += carrega(p + 4) * c;
      s3 += carrega(p + 6) * c;
      s4 += carrega(p + 8) * c;
      s5 += carrega(p + 10) * c;
      s6 += carrega(p + 12) * c;
      s7 += carrega(p + 14) * c;
    }
  }
  std::memcpy(out, &s0, 16);
  std::memcpy(out + 2, &s1, 16);
  std::memcpy(out + 4, &s2, 16);
  std::memcpy(out + 6, &s3, 16);
  std::memcpy(out + 8, &s4, 16);
  std::memcpy(out + 10, &s5, 16);
  std::memcpy(out + 12, &s6, 16);
  std::memcpy(out + 14, &s7, 16);
}

template <class T>
IMG<T> convolui_t(const IMG<T>& img, const IMG<T>& mask, char modo) {
  const int nl = img.nl(), nc = img.nc();
  IMG<T> r(nl, nc);
  // No output pixel, or no term in any sum (all sums stay 0, which fresh
  // pixels are): nothing is read, so not even the mode is looked at.
  if (!r.data() || !mask.data()) return r;
  const int mh = mask.nl(), mw = mask.nc();
  const LEITURA ler = leitura(img, modo);
  IMG<T> transposta;
  if (ler.transposta) transposta = espelha_transposta(img);
  const IMG<T>& s = ler.transposta ? transposta : img;
  const double fundo = static_cast<double>(img.fundo());

  // Coordinates read: rows a = i + lc - l, columns b = j + cc - m. Padded
  // slot t stands for column b = t + cc - (mw - 1), t = 0 ... nc + mw - 2,
  // and ends in BLOCO spare slots so a last, partial block reads nothing
  // undefined.
  const long long largura = static_cast<long long>(nc) + mw - 1;
  const long long b0 = static_cast<long long>(mask.cc()) - (mw - 1);
  const long long a0 = static_cast<long long>(mask.lc()) - (mh - 1);  // lowest row, i = 0
  std::vector<long long> coluna(static_cast<std::size_t>(largura));
  for (long long t = 0; t < largura; ++t) coluna[t] = indice(t + b0, ler.dc, s.nc(), ler.borda);
  if (ler.borda == Borda::erro) {
    indice(a0, ler.dl, s.nl(), ler.borda);
    indice(a0 + (nl - 1) + (mh - 1), ler.dl, s.nl(), ler.borda);
  }
  // Slots whose column is the slot plus a constant: copied without the map.
  const long long desloc = b0 + ler.dc;
  const long long t0 = std::clamp(-desloc, 0LL, largura);
  const long long t1 = std::clamp(static_cast<long long>(s.nc()) - desloc, t0, largura);

  std::vector<double> k(static_cast<std::size_t>(mh) * mw);
  for (int l = 0; l < mh; ++l)
    for (int m = 0; m < mw; ++m) k[static_cast<std::size_t>(l) * mw + m] = static_cast<double>(mask.row(l)[m]);

  // A ring of mh padded rows, slot (a mod mh) holding row a.
  const std::size_t passo = static_cast<std::size_t>(largura) + BLOCO;
  std::vector<double> anel(passo * mh, 0.0);
  std::vector<long long> guardada(mh, 0);
  std::vector<bool> cheia(mh, false);
  auto linha = [&](long long a) -> const double* {
    const int slot = static_cast<int>(detail::resto(a, mh));
    double* p = anel.data() + passo * slot;
    if (cheia[slot] && guardada[slot] == a) return p;
    cheia[slot] = true;
    guardada[slot] = a;
    const long long li = indice(a, ler.dl, s.nl(), ler.borda);
    if (li < 0) {
      std::fill(p, p + largura, fundo);
      return p;
    }
    const T* src = s.row(static_cast<int>(li));
    for (long long t = 0; t < t0; ++t) p[t] = coluna[t] < 0 ? fundo : static_cast<double>(src[coluna[t]]);
    const T* meio = src + (t0 + desloc);
    for (long long t = t0; t < t1; ++t) p[t] = static_cast<double>(meio[t - t0]);
    for (long long t = t1; t < largura; ++t) p[t] = coluna[t] < 0 ? fundo : static_cast<double>(src[coluna[t]]);
    return p;
  };

  std::vector<const double*> linhas(mh);
  std::vector<const double*> base(mh);
  double soma[BLOCO];
  for (int i = 0; i < nl; ++i) {
    for (int l = 0; l < mh; ++l) base[l] = linha(static_cast<long long>(i) + mask.lc() - l) + (mw - 1);
    T* out = r.row(i);
    for (int j = 0; j < nc; j += BLOCO) {
      for (int l = 0; l < mh; ++l) linhas[l] = base[l] + j;
      bloco(linhas.data(), k.data(), mh, mw, soma);
      const int n = std::min(BLOCO, nc - j);
      for (int u = 0; u < n; ++u) out[j + u] = static_cast<T>(soma[u]);
    }
  }
  return r;
}

}  // namespace

IMGFLT convolui(const IMGFLT& img, const IMGFLT& mask, char modo) { return convolui_t(img, mask, modo); }
IMGDBL convolui(const IMGDBL& img, const IMGDBL& mask, char modo) { return convolui_t(img, mask, modo); }

}  // namespace imagorix
