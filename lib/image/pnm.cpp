#include "image/pnm.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "base/bitref.h"
#include "base/erro.h"
#include "base/lenum.h"
#include "image/lebloco.h"

namespace imagorix {

namespace {

// What a reader needs to know about its own format.
struct Formato {
  const char* fn;     // function name, for the messages
  const char* magia;  // lower-cased magic token
  const char* nao;    // wrong-magic message
  bool tem_max;       // a maximum value follows the sizes (PGM, PPM)
  int amostras;       // samples per pixel
};

constexpr Formato PBMT{"lepbmt", "p1", "Erro lepbmt: Formato nao-PBMT (TEXT)", false, 1};
constexpr Formato PBMB{"lepbmb", "p4", "Erro lepbmb: Formato nao-PBMB (BINARY)", false, 1};
constexpr Formato PGMT{"lepgmt", "p2", "Erro lepgmt: Formato nao-PGMT (TEXT)", true, 1};
constexpr Formato PGMB{"lepgmb", "p5", "Erro lepgmb: Formato nao-PGMB (BINARY)", true, 1};
constexpr Formato PPMT{"leppmt", "p3", "Erro leppmt: Formato nao-PPMT (TEXT)", true, 3};
constexpr Formato PPMB{"leppmb", "p6", "Erro leppmb: Formato nao-PPMB (BINARY)", true, 3};

std::string msg(const Formato& fm, const char* what) { return std::string("Erro ") + fm.fn + " - " + what; }

ARQLE abre_le(const Formato& fm, const std::string& nome) {
  return ARQLE(nome, "rb", msg(fm, "Abertura de "), msg(fm, "Faltou memoria setvbuf"));
}

struct Cabecalho {
  int nl = 0, nc = 0, max = 1;
};

// Magic, width, height and (PGM, PPM) the maximum value. Raw formats take a
// maximum of at most 255, one byte per sample.
Cabecalho le_cabecalho(ARQLE& a, const Formato& fm, bool raw) {
  std::FILE* f = a.get();
  if (LeTokenNum(f) != fm.magia) erro(fm.nao);
  Cabecalho h;
  LeNum(f, h.nc);
  LeNum(f, h.nl);
  if (h.nc < 0 || h.nl < 0) erro(msg(fm, "Dimensoes invalidas"));
  if (fm.tem_max) {
    LeNum(f, h.max);
    if (h.max <= 0) erro(msg(fm, "Valor maximo invalido"));
    if (raw && h.max > 255) erro("Erro: ncores>255");
  }
  return h;
}

// Rows that hold pixels: none when either size is below 1.
template <class I>
int linhas(const I& img) {
  return img.data() ? img.nl() : 0;
}

// Plain files: every sample is a token of at least one character, and
// consecutive tokens are at least one separator apart. The pixel count must
// fit an int.
long long minimo_texto(const Cabecalho& h, int amostras) {
  const long long k = static_cast<long long>(h.nl) * h.nc * amostras;
  return k > 0 ? 2 * k - 1 : 0;
}

// Plain pixel data, one value of amostras samples per pixel from le().
// Sizes whose pixel count overflows an int end with the image's own
// allocation message, before any other arithmetic on them. A regular file
// shorter than the least its samples need ends with curto before anything is
// allocated, and its pixels are then read straight into the image; from a
// stream that cannot tell its length (a pipe) the values are collected as
// they arrive and the image is sized only once they are all in, so that
// neither way allocates for pixels the file does not hold.
template <class T, class I, class LE, class GUARDA>
void le_texto(I& img, ARQLE& a, const Cabecalho& h, int amostras, const std::string& curto, LE le,
              GUARDA guarda) {
  detail::recusa_estouro(img, h.nl, h.nc);
  const long long resta = a.remaining();
  if (resta >= 0) {
    if (minimo_texto(h, amostras) > resta) erro(curto);
    img.resize(h.nl, h.nc);
    for (int l = 0; l < linhas(img); ++l)
      for (int c = 0; c < h.nc; ++c) guarda(l, c, le());
    return;
  }
  const std::size_t n = detail::npixels(h.nl, h.nc);
  std::vector<T> v;
  for (std::size_t k = 0; k < n; ++k) v.push_back(le());
  img.resize(h.nl, h.nc);
  for (std::size_t k = 0; k < n; ++k) guarda(static_cast<int>(k / h.nc), static_cast<int>(k % h.nc), v[k]);
}

BYTE escala(long double fator, long long v) {
  const long double s = fator * v;
  if (s < 0) return 0;
  if (s > 255) return 255;
  return static_cast<BYTE>(std::floor(s + 0.5L));
}

// Byte value -> stored value, for raw samples under a maximum below 255.
struct Tabela {
  BYTE t[256];
  explicit Tabela(int max) {
    const long double fator = 255.0L / max;
    for (int b = 0; b < 256; ++b) t[b] = escala(fator, b);
  }
  void aplica(BYTE* p, std::size_t n) const {
    for (std::size_t k = 0; k < n; ++k) p[k] = t[p[k]];
  }
};

// One sample of a plain PGM or PPM: kept as it is under the maximum 255
// (LeNum clamps it to a byte), scaled otherwise.
BYTE amostra(std::FILE* f, int max, long double fator) {
  if (max == 255) {
    BYTE b;
    LeNum(f, b);
    return b;
  }
  int v;
  LeNum(f, v);
  return escala(fator, v);
}

// The message a plain sample fails with at the end of the file.
const char* falha_amostra(int max) { return max == 255 ? "LeNum(BYTE)" : "LeNum(int)"; }

// The raw samples of a grey or colour image, nb bytes (see le_bloco), scaled
// in place when the maximum is not 255.
template <class I>
void le_amostras(I& img, ARQLE& a, const Formato& fm, const Cabecalho& h, int amostras) {
  detail::recusa_estouro(img, h.nl, h.nc);
  const std::size_t nb = amostras * detail::npixels(h.nl, h.nc);
  detail::le_bloco(a, nb, [&] {
    img.resize(h.nl, h.nc);
    return static_cast<void*>(img.data());
  }, msg(fm, "Fim inesperado"));
  if (nb && h.max != 255) Tabela(h.max).aplica(reinterpret_cast<BYTE*>(img.data()), nb);
}

template <class I>
ARQIMP abre_imp(const char* fn, const I& img, const std::string& nome) {
  const std::string f(fn);
  detail::recusa_negativo(img.nl(), img.nc(), "Erro " + f);
  return ARQIMP(nome, "wb", f, "Erro " + f + " - Abertura de ", "Erro " + f + " - Faltou memoria setvbuf");
}

void cabecalho(ARQIMP& a, const char* magia, int nl, int nc, bool tem_max) {
  a.print("%s\n#Created by Imagorix\n%d %d\n", magia, nc, nl);
  if (tem_max) a.print("255\n");
}

// v as "%3d " would print it, for 0 <= v <= 255.
char* tres(char* p, int v) {
  p[0] = v >= 100 ? static_cast<char>('0' + v / 100) : ' ';
  p[1] = v >= 10 ? static_cast<char>('0' + v / 10 % 10) : ' ';
  p[2] = static_cast<char>('0' + v % 10);
  p[3] = ' ';
  return p + 4;
}

}  // namespace

void lepbmt(IMGBIN& img, const std::string& nome) {
  ARQLE a = abre_le(PBMT, nome);
  lepbmt(img, a);
}

void lepbmt(IMGBIN& img, ARQLE& a) {
  const Cabecalho h = le_cabecalho(a, PBMT, false);
  std::FILE* f = a.get();
  le_texto<bool>(img, a, h, 1, "LeNum(bool)", [f] {
    bool preto;
    LeNum(f, preto);
    return preto;
  }, [&](int l, int c, bool preto) { img.set(l, c, !preto); });
}

void lepbmb(IMGBIN& img, const std::string& nome) {
  ARQLE a = abre_le(PBMB, nome);
  lepbmb(img, a);
}

void lepbmb(IMGBIN& img, ARQLE& a) {
  const Cabecalho h = le_cabecalho(a, PBMB, true);
  const int nb = h.nc / 8 + (h.nc % 8 != 0);  // bytes per row
  // The rows as stored, nb bytes each; a set bit is black.
  detail::recusa_estouro(img, h.nl, h.nc);
  std::vector<unsigned char> dados;
  const std::size_t total = h.nl > 0 && h.nc > 0 ? std::size_t(nb) * std::size_t(h.nl) : 0;
  detail::le_bloco(a, total, [&] {
    dados.resize(total);
    return dados.data();
  }, msg(PBMB, "Fim inesperado"));
  img.resize(h.nl, h.nc);
  if (!linhas(img)) return;
  // A row of bytes, zero-padded to whole words.
  const int wpr = img.wpr();
  std::vector<unsigned char> buf(std::size_t(wpr) * 4, 0);
  const std::uint32_t usados = mascara_final(h.nc);
  for (int l = 0; l < img.nl(); ++l) {
    std::copy_n(dados.data() + std::size_t(l) * nb, nb, buf.data());
    std::uint32_t* w = img.row(l);
    const unsigned char* b = buf.data();
    for (int k = 0; k < wpr; ++k, b += 4)
      w[k] = ~(std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3]);
    w[wpr - 1] &= usados;  // spare bits cleared
  }
}

void lepgmt(IMGGRY& img, const std::string& nome) {
  ARQLE a = abre_le(PGMT, nome);
  lepgmt(img, a);
}

void lepgmt(IMGGRY& img, ARQLE& a) {
  const Cabecalho h = le_cabecalho(a, PGMT, false);
  std::FILE* f = a.get();
  const long double fator = 255.0L / h.max;
  le_texto<BYTE>(img, a, h, 1, falha_amostra(h.max), [&] { return amostra(f, h.max, fator); },
                 [&](int l, int c, BYTE v) { img.row(l)[c] = v; });
}

void lepgmb(IMGGRY& img, const std::string& nome) {
  ARQLE a = abre_le(PGMB, nome);
  lepgmb(img, a);
}

void lepgmb(IMGGRY& img, ARQLE& a) {
  const Cabecalho h = le_cabecalho(a, PGMB, true);
  le_amostras(img, a, PGMB, h, 1);
}

void leppmt(IMGCOR& img, const std::string& nome) {
  ARQLE a = abre_le(PPMT, nome);
  leppmt(img, a);
}

void leppmt(IMGCOR& img, ARQLE& a) {
  const Cabecalho h = le_cabecalho(a, PPMT, false);
  std::FILE* f = a.get();
  const long double fator = 255.0L / h.max;
  le_texto<COR>(img, a, h, 3, falha_amostra(h.max), [&] {
    COR k;
    k.r = amostra(f, h.max, fator);
    k.g = amostra(f, h.max, fator);
    k.b = amostra(f, h.max, fator);
    return k;
  }, [&](int l, int c, const COR& k) { img.row(l)[c] = k; });
}

void leppmb(IMGCOR& img, const std::string& nome) {
  ARQLE a = abre_le(PPMB, nome);
  leppmb(img, a);
}

void leppmb(IMGCOR& img, ARQLE& a) {
  const Cabecalho h = le_cabecalho(a, PPMB, true);
  // COR is three packed bytes red, green, blue: the file's own layout.
  le_amostras(img, a, PPMB, h, 3);
}

void imppbmt(const IMGBIN& img, const std::string& nome) {
  ARQIMP a = abre_imp("imppbmt", img, nome);
  cabecalho(a, "P1", img.nl(), img.nc(), false);
  std::string buf(2 * std::size_t(img.nc() > 0 ? img.nc() : 0) + 1, ' ');
  buf.back() = '\n';
  for (int l = 0; l < linhas(img); ++l) {
    for (int c = 0; c < img.nc(); ++c) buf[2 * std::size_t(c)] = img.get(l, c) ? '0' : '1';
    a.write(buf.data(), buf.size());
  }
  a.close();
}

void imppbmb(const IMGBIN& img, const std::string& nome) {
  ARQIMP a = abre_imp("imppbmb", img, nome);
  cabecalho(a, "P4", img.nl(), img.nc(), false);
  if (linhas(img)) {
    const int wpr = img.wpr();
    const std::size_t nb = std::size_t(img.nc()) / 8 + (img.nc() % 8 != 0);
    // The pixels after the last column up to the end of the byte are the
    // background value; spare bits of the image never reach the file.
    const std::uint32_t usados = mascara_final(img.nc());
    const std::uint32_t fundo = (img.fundo() & 1u) ? ~usados : 0;
    std::vector<unsigned char> buf(std::size_t(wpr) * 4);
    for (int l = 0; l < img.nl(); ++l) {
      const std::uint32_t* w = img.row(l);
      unsigned char* b = buf.data();
      for (int k = 0; k < wpr; ++k, b += 4) {
        std::uint32_t v = w[k];
        if (k == wpr - 1) v = (v & usados) | fundo;
        v = ~v;  // a set bit is black in the file
        b[0] = static_cast<unsigned char>(v >> 24);
        b[1] = static_cast<unsigned char>(v >> 16);
        b[2] = static_cast<unsigned char>(v >> 8);
        b[3] = static_cast<unsigned char>(v);
      }
      a.write(buf.data(), nb);
    }
  }
  a.close();
}

void imppgmt(const IMGGRY& img, const std::string& nome) {
  ARQIMP a = abre_imp("imppgmt", img, nome);
  cabecalho(a, "P2", img.nl(), img.nc(), true);
  std::vector<char> buf(4 * std::size_t(img.nc() > 0 ? img.nc() : 0) + 1);
  for (int l = 0; l < linhas(img); ++l) {
    const BYTE* p = img.row(l);
    char* s = buf.data();
    for (int c = 0; c < img.nc(); ++c) s = tres(s, p[c]);
    *s++ = '\n';
    a.write(buf.data(), std::size_t(s - buf.data()));
  }
  a.close();
}

void imppgmb(const IMGGRY& img, const std::string& nome) {
  ARQIMP a = abre_imp("imppgmb", img, nome);
  cabecalho(a, "P5", img.nl(), img.nc(), true);
  if (img.data()) a.write(img.data(), std::size_t(img.n()));
  a.close();
}

void impppmt(const IMGCOR& img, const std::string& nome) {
  ARQIMP a = abre_imp("impppmt", img, nome);
  cabecalho(a, "P3", img.nl(), img.nc(), true);
  // "%3d %3d %3d  " per pixel: three samples and one more blank.
  std::vector<char> buf(13 * std::size_t(img.nc() > 0 ? img.nc() : 0) + 1);
  for (int l = 0; l < linhas(img); ++l) {
    const COR* p = img.row(l);
    char* s = buf.data();
    for (int c = 0; c < img.nc(); ++c) {
      s = tres(tres(tres(s, p[c].r), p[c].g), p[c].b);
      *s++ = ' ';
    }
    *s++ = '\n';
    a.write(buf.data(), std::size_t(s - buf.data()));
  }
  a.close();
}

void impppmb(const IMGCOR& img, const std::string& nome) {
  ARQIMP a = abre_imp("impppmb", img, nome);
  cabecalho(a, "P6", img.nl(), img.nc(), true);
  if (img.data()) a.write(img.data(), 3 * std::size_t(img.n()));
  a.close();
}

}  // namespace imagorix
