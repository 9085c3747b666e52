// PNG files: what we write reads back equal, and the variants other
// programs write (bit depths, palettes, transparency, interlacing) read as
// the pages they show.
#include "image/png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include "image/leimp.h"
#include "image/tipo.h"
#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

// A PNG written straight through libpng, rows given as the file's bytes.
struct Variante {
  int w, h, prof, tipo;
  bool entrelacado = false;
  std::vector<png_color> paleta = {};
  std::vector<png_byte> trns = {};
};

std::string escreve(const std::string& nome, const Variante& v, const std::vector<std::vector<png_byte>>& linhas) {
  const std::string p = scratch_path(nome);
  FILE* f = std::fopen(p.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_init_io(png, f);
  png_set_IHDR(png, info, v.w, v.h, v.prof, v.tipo, v.entrelacado ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!v.paleta.empty()) png_set_PLTE(png, info, v.paleta.data(), static_cast<int>(v.paleta.size()));
  if (!v.trns.empty()) png_set_tRNS(png, info, v.trns.data(), static_cast<int>(v.trns.size()), nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (auto& l : const_cast<std::vector<std::vector<png_byte>>&>(linhas)) rows.push_back(l.data());
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
  return p;
}

IMGGRY cinza(int nl, int nc) {
  IMGGRY g(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) g(l, c) = static_cast<BYTE>((l * 37 + c * 11) % 256);
  return g;
}

IMGCOR colorida(int nl, int nc) {
  IMGCOR g(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) g(l, c) = COR{static_cast<BYTE>(l * 9), static_cast<BYTE>(c * 5), static_cast<BYTE>(l ^ c)};
  return g;
}

}  // namespace

TEST(Png, WhatWeWriteReadsBackEqual) {
  for (auto [nl, nc] : {std::pair{1, 1}, {3, 31}, {5, 33}, {7, 70}}) {
    const IMGBIN b = random_words_image(nl, nc, static_cast<unsigned>(nl * nc));
    const std::string p = scratch_path("b.png");
    imp(b, p);
    EXPECT_EQ(TipoImg(p), TIPO_PNG);
    const FOLHA f = LePng(p);
    ASSERT_EQ(f.tipo, FOLHA::BINARIA);
    expect_same_pixels(f.bin, b);
    IMGBIN de_pipe;
    le(de_pipe, pipe_holding(read_bytes(p)));
    expect_same_pixels(de_pipe, b);
  }
  const IMGGRY g = cinza(9, 13);
  imp(g, scratch_path("g.png"));
  IMGGRY g2;
  le(g2, scratch_path("g.png"));
  expect_same_pixels(g2, g);
  EXPECT_EQ(LePng(scratch_path("g.png")).tipo, FOLHA::CINZA);
  const IMGCOR c = colorida(6, 17);
  imp(c, scratch_path("c.png"));
  IMGCOR c2;
  le(c2, scratch_path("c.png"));
  expect_same_pixels(c2, c);
  // The header says what was written: 1-bit grey, 8-bit grey, 8-bit RGB.
  for (auto [nome, prof, tipo] : {std::tuple{"b.png", 1, 0}, {"g.png", 8, 0}, {"c.png", 8, 2}}) {
    const Bytes b = read_bytes(scratch_path(nome));
    EXPECT_EQ(b[24], prof) << nome;
    EXPECT_EQ(b[25], tipo) << nome;
  }
}

TEST(Png, VariantsOfOtherWritersReadAsTheirPages) {
  // 16-bit grey, scaled to 8 with rounding.
  {
    const std::vector<std::vector<png_byte>> l = {{0x00, 0x00, 0x80, 0x7F, 0xFF, 0xFF}};
    const FOLHA f = LePng(escreve("g16.png", {3, 1, 16, PNG_COLOR_TYPE_GRAY}, l));
    ASSERT_EQ(f.tipo, FOLHA::CINZA);
    EXPECT_EQ(f.gry(0, 0), 0);
    EXPECT_EQ(f.gry(0, 1), 128);
    EXPECT_EQ(f.gry(0, 2), 255);
  }
  // 2-bit grey, expanded.
  {
    const FOLHA f = LePng(escreve("g2.png", {4, 1, 2, PNG_COLOR_TYPE_GRAY}, {{0x1B}}));  // 0 1 2 3
    ASSERT_EQ(f.tipo, FOLHA::CINZA);
    EXPECT_EQ(f.gry(0, 0), 0);
    EXPECT_EQ(f.gry(0, 1), 85);
    EXPECT_EQ(f.gry(0, 3), 255);
  }
  // A palette with a half transparent entry: composited on white.
  {
    Variante v{3, 1, 8, PNG_COLOR_TYPE_PALETTE};
    v.paleta = {{255, 0, 0}, {0, 0, 255}, {0, 0, 0}};
    v.trns = {255, 0, 128};
    const FOLHA f = LePng(escreve("pal.png", v, {{0, 1, 2}}));
    ASSERT_EQ(f.tipo, FOLHA::COLORIDA);
    EXPECT_EQ(f.cor(0, 0), (COR{255, 0, 0}));
    EXPECT_EQ(f.cor(0, 1), (COR{255, 255, 255}));
    EXPECT_EQ(f.cor(0, 2), (COR{127, 127, 127}));
  }
  // RGBA and grey with alpha.
  {
    const FOLHA f = LePng(escreve("rgba.png", {2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA}, {{10, 20, 30, 255, 0, 0, 0, 0}}));
    EXPECT_EQ(f.cor(0, 0), (COR{10, 20, 30}));
    EXPECT_EQ(f.cor(0, 1), (COR{255, 255, 255}));
    const FOLHA g = LePng(escreve("ga.png", {2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA}, {{0, 255, 0, 0}}));
    ASSERT_EQ(g.tipo, FOLHA::CINZA);
    EXPECT_EQ(g.gry(0, 0), 0);
    EXPECT_EQ(g.gry(0, 1), 255);
  }
  // Interlaced 1-bit: a bilevel page all the same.
  {
    Variante v{10, 9, 1, PNG_COLOR_TYPE_GRAY, true};
    std::vector<std::vector<png_byte>> l(9, std::vector<png_byte>(2));
    IMGBIN esperada(9, 10);
    for (int r = 0; r < 9; ++r)
      for (int c = 0; c < 10; ++c) {
        const bool branco = (r * 3 + c) % 4 != 0;
        esperada.set(r, c, branco);
        if (branco) l[r][c / 8] |= static_cast<png_byte>(0x80 >> (c % 8));
      }
    IMGBIN b;
    le(b, escreve("entrelacada.png", v, l));
    expect_same_pixels(b, esperada);
  }
}

TEST(PngDeath, DamagedFilesEndWithOneLine) {
  const std::string bom = scratch_path("bom.png");
  imp(cinza(40, 40), bom);
  const Bytes b = read_bytes(bom);
  Bytes cortado(b.begin(), b.begin() + static_cast<long>(b.size() / 2));
  const std::string p = write_bytes(scratch_path("cortado.png"), cortado);
  EXPECT_EXIT(LePng(p), testing::ExitedWithCode(1), "^Erro LePng - [^\n]+\n$");
  Bytes crc = b;
  crc[30] ^= 0xFF;  // inside IHDR: its checksum no longer matches
  EXPECT_EXIT(LePng(write_bytes(scratch_path("crc.png"), crc)), testing::ExitedWithCode(1), "^Erro LePng - [^\n]+\n$");
  // A header claiming a picture far larger than the file: the rows run out
  // before storage for the claim is taken.
  Bytes enorme = b;
  for (int k : {16, 20}) enorme[k] = 0, enorme[k + 1] = 0, enorme[k + 2] = 0x7F, enorme[k + 3] = 0xFF;
  EXPECT_EXIT((cap_address_space(), LePng(write_bytes(scratch_path("enorme.png"), enorme))), testing::ExitedWithCode(1),
              "^Erro LePng - [^\n]+\n$");
  EXPECT_EXIT(LePng(scratch_path("nao/ha.png")), testing::ExitedWithCode(1),
              stderr_line("Erro LePng - Abertura de  " + scratch_path("nao/ha.png")));
  EXPECT_EXIT(ImpPng(IMGGRY(0, 5), scratch_path("nula.png")), testing::ExitedWithCode(1),
              stderr_line("Erro ImpPng - Imagem nula  " + scratch_path("nula.png")));
  EXPECT_EXIT(ImpPng(IMGGRY(-1, 5), scratch_path("neg.png")), testing::ExitedWithCode(1),
              stderr_line("Erro ImpPng - Tamanho invalido "));
  EXPECT_FALSE(exists(scratch_path("nula.png")));
}
