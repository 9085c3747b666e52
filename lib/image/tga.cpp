// Uncompressed TGA files: 8-bit grey, 8-bit colour-mapped with 24-bit map
// entries, and 24-bit true colour.
//
// The 18-byte header is little-endian; pixels are one byte (grey level or map
// index) or three bytes in the order blue, green, red. A descriptor whose
// bits 0x30 are both clear stores the bottom row first; every other value is
// read as top row first. Files are written top row first (descriptor 0x20),
// with no identification field, colour map or trailing data.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "base/erro.h"
#include "base/vetor.h"
#include "image/img.h"
#include "image/lebloco.h"
#include "image/trocarb.h"

namespace imagorix {

namespace {

// Image type codes of byte 2.
enum Tipo : unsigned char { MAPA = 1, RGB = 2, CINZA = 3 };

constexpr int MAXTGA = 65535;

struct Cabecalho {
  unsigned char b[18];

  int nmapa() const { return static_cast<int>(u16le(b + 5)); }
  int nc() const { return static_cast<int>(u16le(b + 12)); }
  int nl() const { return static_cast<int>(u16le(b + 14)); }
  bool de_baixo() const { return (b[17] & 0x30) == 0; }
};

// A reader's file, opened with its messages: "Erro <quem> - <abertura>"
// and the name when it cannot be opened.
ARQLE abre(const std::string& nome, const std::string& quem, const char* abertura) {
  return ARQLE(nome, "rb", "Erro " + quem + " - " + abertura, "Erro " + quem + " - Faltou memoria setvbuf");
}

// Reads the header and requires bytes 0 to 11 and 16 of the given kind (the
// map length, bytes 5 and 6, is free for the colour-mapped kind). A file too
// short for a header is not of the kind either.
Cabecalho le_cabecalho(ARQLE& f, Tipo tipo, const std::string& formato) {
  Cabecalho h;
  if (!f.read(h.b, sizeof h.b)) erro(formato);
  const bool mapa = tipo == MAPA;
  const unsigned char esperado[12] = {0, mapa, tipo, 0, 0, 0, 0, static_cast<unsigned char>(mapa ? 24 : 0),
                                      0, 0, 0, 0};
  for (int i = 0; i < 12; ++i) {
    if (mapa && (i == 5 || i == 6)) continue;
    if (h.b[i] != esperado[i]) erro(formato);
  }
  if (h.b[16] != (tipo == RGB ? 24 : 8)) erro(formato);
  return h;
}

// The colour map as stored, 3 bytes per entry, blue, green, red. Its length is
// not checked: a short map leaves zeros and the pixel data behind it is then
// missing, which the pixel read reports.
std::vector<BYTE> le_mapa(ARQLE& f, const Cabecalho& h) {
  std::vector<BYTE> m(3 * static_cast<std::size_t>(h.nmapa()));
  if (!m.empty()) f.read(m.data(), m.size());
  return m;
}

template <class P>
void inverte_linhas(IMG<P>& img) {
  if (!img.data()) return;
  for (int l = 0, m = img.nl() - 1; l < m; ++l, --m)
    std::swap_ranges(img.row(l), img.row(l) + img.nc(), img.row(m));
}

// Grey or colour-mapped pixel bytes straight into a grey image, resized to
// the header's sizes once the file is known to hold them.
void le_indices(ARQLE& f, IMGGRY& img, const Cabecalho& h, const std::string& fim) {
  detail::recusa_estouro(img, h.nl(), h.nc());
  detail::le_bloco(f, detail::npixels(h.nl(), h.nc()), [&] {
    img.resize(h.nl(), h.nc());
    return img.data();
  }, fim);
}

// Writes the header, or refuses sizes the 16-bit fields cannot hold; the
// file has been created by then and is left empty.
void imp_cabecalho(ARQIMP& f, Tipo tipo, int nl, int nc) {
  if (nl > MAXTGA || nc > MAXTGA) erro("Erro: Imagem muito grande para TGA", "");
  unsigned char b[18] = {};
  b[2] = tipo;
  b[12] = static_cast<unsigned char>(nc);
  b[13] = static_cast<unsigned char>(nc >> 8);
  b[14] = static_cast<unsigned char>(nl);
  b[15] = static_cast<unsigned char>(nl >> 8);
  b[16] = tipo == RGB ? 24 : 8;
  b[17] = 0x20;
  f.write(b, sizeof b);
}

}  // namespace

template <>
void IMG<BYTE>::LeTga(ARQLE& f) {
  const Cabecalho h = le_cabecalho(f, CINZA,
                                   "Erro IMGGRY::LeTga - Formato TGA deve ser 8bits grayscale sem-palette nao-compactado");
  le_indices(f, *this, h, "Erro IMGGRY::LeTga - Fim inesperado");
  if (h.de_baixo()) inverte_linhas(*this);
}

template <>
void IMG<BYTE>::LeTgaI(ARQLE& f) {
  const Cabecalho h =
      le_cabecalho(f, MAPA, "Erro IMGGRY::LeTgaI - Formato TGA deve ser 8bits com-palette nao-compactado");
  le_mapa(f, h);  // the indices are kept, the colours dropped
  le_indices(f, *this, h, "Erro IMGGRY::LeTgaI - Fim inesperado");
  if (h.de_baixo()) inverte_linhas(*this);
}

template <>
void IMG<BYTE>::LeTgaP(ARQLE& f) {
  const Cabecalho h =
      le_cabecalho(f, MAPA, "Erro IMGGRY::LeTgaP - Formato TGA deve ser 8bits com-palette nao-compactado");
  const std::vector<BYTE> mapa = le_mapa(f, h);
  le_indices(f, *this, h, "Erro IMGGRY::LeTgaP - Fim inesperado");
  VETOR<BYTE> cinza(h.nmapa());
  for (int i = 0; i < h.nmapa(); ++i) {
    const BYTE* e = &mapa[3 * static_cast<std::size_t>(i)];
    cinza(i) = static_cast<BYTE>((e[0] + e[1] + e[2] + 1) / 3);
  }
  if (h.de_baixo()) inverte_linhas(*this);
  // An index past the map ends the program with the vector's index error.
  BYTE* p = data();
  for (std::size_t k = 0, n = detail::npixels(nl(), nc()); k < n; ++k) p[k] = cinza(p[k]);
}

template <>
void IMG<COR>::LeTga(ARQLE& f) {
  const Cabecalho h =
      le_cabecalho(f, RGB, "Erro IMGCOR::LeTga - Formato TGA deve ser 24bits sem-palette nao-compactado");
  detail::recusa_estouro(*this, h.nl(), h.nc());
  detail::le_bloco(f, 3 * detail::npixels(h.nl(), h.nc()), [&] {
    aloca(h.nl(), h.nc());  // always fresh storage, background and centre
    return data();
  }, "Erro IMGCOR::LeTga - Fim inesperado");
  if (h.de_baixo()) inverte_linhas(*this);
  detail::troca_rb(data(), data(), detail::npixels(nl(), nc()));
}

template <>
void IMG<COR>::LeTgaP(ARQLE& f) {
  const Cabecalho h =
      le_cabecalho(f, MAPA, "Erro IMGCOR::LeTgaP - Formato TGA deve ser 8bits com-palette nao-compactado");
  const std::vector<BYTE> m = le_mapa(f, h);
  VETOR<COR> mapa(h.nmapa());
  for (int i = 0; i < h.nmapa(); ++i) {
    const BYTE* e = &m[3 * static_cast<std::size_t>(i)];
    mapa(i) = COR{e[2], e[1], e[0]};
  }
  detail::recusa_estouro(*this, h.nl(), h.nc());
  const std::size_t n = detail::npixels(h.nl(), h.nc());
  std::vector<BYTE> indices;
  detail::le_bloco(f, n, [&] {
    indices.resize(n);
    return indices.data();
  }, "Erro IMGCOR::LeTgaP - Fim inesperado");
  resize(h.nl(), h.nc());
  // An index past the map ends the program with the vector's index error.
  COR* p = data();
  for (std::size_t k = 0; k < indices.size(); ++k) p[k] = mapa(indices[k]);
  if (h.de_baixo()) inverte_linhas(*this);
}

// By name: the file opened with the reader's own messages.
template <> void IMG<BYTE>::LeTga(const std::string& nome) {
  ARQLE f = abre(nome, "IMGGRY::LeTga", "Abertura de ");
  LeTga(f);
}
template <> void IMG<BYTE>::LeTgaI(const std::string& nome) {
  ARQLE f = abre(nome, "IMGGRY::LeTgaI", "Abertura de ");
  LeTgaI(f);
}
template <> void IMG<BYTE>::LeTgaP(const std::string& nome) {
  ARQLE f = abre(nome, "IMGGRY::LeTgaP", "Abertura de ");
  LeTgaP(f);
}
template <> void IMG<COR>::LeTga(const std::string& nome) {
  ARQLE f = abre(nome, "IMGCOR::LeTga", "Abertura ");
  LeTga(f);
}
template <> void IMG<COR>::LeTgaP(const std::string& nome) {
  ARQLE f = abre(nome, "IMGCOR::LeTgaP", "Abertura ");
  LeTgaP(f);
}

template <>
void IMG<BYTE>::imp(const std::string& nome) const {
  detail::recusa_negativo(nl(), nc(), "Erro IMGGRY::imp");
  ARQIMP f(nome, "wb", "IMGGRY::imp", "Erro IMGGRY::imp - Abertura de ", "Erro IMGGRY::imp - Faltou memoria setvbuf");
  imp_cabecalho(f, CINZA, nl(), nc());
  if (data()) f.write(data(), detail::npixels(nl(), nc()));
  f.close();
}

template <>
void IMG<COR>::ImpTga(const std::string& nome) const {
  detail::recusa_negativo(nl(), nc(), "Erro IMGCOR::ImpTga");
  ARQIMP f(nome, "wb", "IMGCOR::ImpTga", "Erro IMGCOR::ImpTga - Abertura ",
           "Erro IMGCOR::ImpTga - Faltou memoria setvbuf");
  imp_cabecalho(f, RGB, nl(), nc());
  // The file wants blue, green, red: the pixels go out through a small buffer
  // in that order, and the image itself is never touched.
  constexpr std::size_t PASSO = IOBUF / 3;
  std::vector<COR> buf(PASSO);
  const COR* p = data();
  for (std::size_t k = 0, n = detail::npixels(nl(), nc()); k < n; k += PASSO) {
    const std::size_t m = std::min(PASSO, n - k);
    detail::troca_rb(p + k, buf.data(), m);
    f.write(buf.data(), 3 * m);
  }
  f.close();
}

}  // namespace imagorix
