// Uncompressed 1-bit BMP files: IMGBIN::LeBmp and IMGBIN::ImpBmp.
//
// A 1-bit bitmap row is padded to whole 4-byte groups, exactly an IMGBIN row
// of 32-bit words, with the leftmost pixel in the most significant bit of the
// first byte. So the pixels move as whole words: one block read (or one
// write per row), a byte swap per word, and the row order and polarity fixed
// word by word.
#include <bit>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "base/arquivo.h"
#include "base/bitref.h"
#include "base/erro.h"
#include "image/imgbin.h"
#include "image/lebloco.h"

namespace imagorix {

namespace {

constexpr int OFFSET = 62;      // file header 14, information header 40, palette 8
constexpr int INFOHEADER = 40;
// A stated image size must agree with the file size field: the pixels plus
// everything before them (14 + 40 + 8 bytes).
constexpr int CABECALHOS = OFFSET;

// The word whose most significant byte is the first of the four in memory,
// from the word as loaded on this machine (and back again).
inline std::uint32_t grande(std::uint32_t v) {
  if constexpr (std::endian::native == std::endian::big) return v;
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

[[noreturn]] void invalido(const char* what) { erro(std::string("Erro IMGBIN::LeBmp - ") + what); }

// Grey level of a palette entry blue, green, red, reserved.
int cinza(const unsigned char* p) { return (p[0] + p[1] + p[2] + 1) / 3; }

}  // namespace

void IMGBIN::LeBmp(const std::string& nome) {
  ARQLE a(nome, "rb", "Erro IMGBIN::LeBmp - Abertura de ", "Erro IMGBIN::LeBmp - Falta memoria setvbuf");
  LeBmp(a);
}

void IMGBIN::LeBmp(ARQLE& a) {
  int altura, largura, g0, g1;
  {
    unsigned char h[OFFSET];
    if (!a.read(h, 2) || u16le(h) != 0x4D42) invalido("BMP invalido");
    if (!a.read(h + 2, 12)) invalido("Fim inesperado");
    if (u32le(h + 10) != OFFSET) invalido("ImageDataOffset");
    if (!a.read(h + 14, INFOHEADER)) invalido("Fim inesperado");
    if (u32le(h + 14) != INFOHEADER) invalido("HeaderSize");
    if (u16le(h + 26) != 1) invalido("NumberOfImagePlanes");
    if (u16le(h + 28) != 1) invalido("BMP nao-binario");
    if (u32le(h + 30) != 0) invalido("BMP compactado");
    const std::uint32_t cores = u32le(h + 46);
    if (cores != 0 && cores != 2) invalido("BMP nao-binario");
    const std::uint32_t tamimg = u32le(h + 34);
    if (tamimg != 0 && u32le(h + 2) != std::uint64_t{tamimg} + CABECALHOS) invalido("Numero de bytes");
    largura = static_cast<std::int32_t>(u32le(h + 18));
    altura = static_cast<std::int32_t>(u32le(h + 22));
    // A negative height stores the top row first; its size is the magnitude.
    if (largura <= 0 || altura == 0 || altura == INT_MIN) invalido("BMP invalido");
    if (!a.read(h + 54, 8)) invalido("Fim inesperado");
    g0 = cinza(h + 54);
    g1 = cinza(h + 58);

    const int linhas = std::abs(altura);
    // Refused before anything is allocated: a pixel count aloca cannot hold
    // (it ends with its own message) and more rows than the file has (a
    // pipe's rows are counted as they arrive).
    detail::recusa_estouro(*this, linhas, largura);
    const long long bytes = 4LL * linhas * (((largura - 1) >> 5) + 1);
    detail::le_bloco(a, std::size_t(bytes), [&] {
      aloca(linhas, largura);
      return data_.get();
    }, "Erro IMGBIN::LeBmp - Fim inesperado");
  }
  std::uint32_t* w = data_.get();
  for (int k = 0; k < nw_; ++k) w[k] = grande(w[k]);
  if (altura > 0)  // bottom row first in the file
    for (int l = 0; l < nl_ / 2; ++l) std::swap_ranges(rows_[l], rows_[l] + wpr_, rows_[nl_ - 1 - l]);
  // A set bit always means the brighter palette colour.
  if (g0 > g1)
    for (int k = 0; k < nw_; ++k) w[k] = ~w[k];
}

void IMGBIN::ImpBmp(const std::string& nome) const {
  if (nl_ <= 0 || nc_ <= 0) erro("Erro IMGBIN:ImpBmp - Imagem nula ", nome);
  const std::uint64_t tamanho = OFFSET + 4ULL * std::uint64_t(nw_);
  // The file size field has 32 bits.
  if (tamanho > UINT32_MAX) erro("Erro IMGBIN::ImpBmp - Imagem grande demais ", nome);

  ARQIMP a(nome, "wb", "IMGBIN::ImpBmp", "Erro IMGBIN::ImpBmp - abertura de ",
           "Erro IMGBIN::ImpBmp - Faltou memoria setvbuf");
  a.write("BM", 2);
  a.le32(static_cast<unsigned long>(tamanho));
  a.le16(0);
  a.le16(0);
  a.le32(OFFSET);
  a.le32(INFOHEADER);
  a.le32(static_cast<unsigned long>(nc_));
  a.le32(static_cast<unsigned long>(nl_));  // positive: bottom row first
  a.le16(1);                                // planes
  a.le16(1);                                // bits per pixel
  a.le32(0);                                // compression
  a.le32(0);                                // image size
  a.le32(0);                                // horizontal resolution
  a.le32(0);                                // vertical resolution
  a.le32(2);                                // colours used
  a.le32(2);                                // important colours
  const unsigned char paleta[8] = {0, 0, 0, 0, 255, 255, 255, 0};  // black, white
  a.write(paleta, sizeof paleta);

  // Rows go out through a buffer, so the image stays untouched; the spare
  // bits of each row are written as 0.
  std::vector<std::uint32_t> buf(static_cast<std::size_t>(wpr_));
  const std::uint32_t ultimo = mascara_final(nc_);
  for (int l = nl_ - 1; l >= 0; --l) {
    const std::uint32_t* r = rows_[l];
    for (int k = 0; k < wpr_ - 1; ++k) buf[k] = grande(r[k]);
    buf[wpr_ - 1] = grande(r[wpr_ - 1] & ultimo);
    a.write(buf.data(), 4 * std::size_t(wpr_));
  }
  a.close();
}

}  // namespace imagorix
