// TIFF files: what we write reads back equal (bilevel pages as CCITT G4),
// the compressions and layouts other programs write read as their pages,
// and files of several pages are refused with their count.
#include "image/tiff.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/leimp.h"
#include "image/tipo.h"
#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

struct Pagina {
  std::uint32_t w, h;
  std::uint16_t bps, spp, foto, compressao;
  std::vector<std::vector<unsigned char>> linhas;  // the file's bytes of each row
  bool ladrilhos = false;
};

// A TIFF written straight through libtiff, one directory per page.
std::string escreve(const std::string& nome, const std::vector<Pagina>& paginas) {
  const std::string p = scratch_path(nome);
  TIFF* t = TIFFOpen(p.c_str(), "w");
  for (const Pagina& g : paginas) {
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, g.w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, g.h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, g.bps);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, g.spp);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, g.foto);
    TIFFSetField(t, TIFFTAG_COMPRESSION, g.compressao);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (g.spp == 4) {
      const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
      TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (g.foto == PHOTOMETRIC_PALETTE) {
      std::vector<std::uint16_t> r(256), gr(256), b(256);
      for (int i = 0; i < 256; ++i) r[i] = static_cast<std::uint16_t>(i * 257), gr[i] = 0, b[i] = static_cast<std::uint16_t>((255 - i) * 257);
      TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), gr.data(), b.data());
    }
    if (g.ladrilhos) {
      TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
      TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
      const std::size_t bpp = g.spp * g.bps / 8;
      std::vector<unsigned char> tile(16 * 16 * bpp);
      for (std::uint32_t y = 0; y < g.h; y += 16)
        for (std::uint32_t x = 0; x < g.w; x += 16) {
          std::fill(tile.begin(), tile.end(), 0);
          for (std::uint32_t r = 0; r < 16 && y + r < g.h; ++r)
            for (std::uint32_t c = 0; c < 16 && x + c < g.w; ++c)
              for (std::size_t k = 0; k < bpp; ++k) tile[(r * 16 + c) * bpp + k] = g.linhas[y + r][(x + c) * bpp + k];
          TIFFWriteTile(t, tile.data(), x, y, 0, 0);
        }
    } else {
      TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 3u);
      for (std::uint32_t r = 0; r < g.h; ++r) TIFFWriteScanline(t, const_cast<unsigned char*>(g.linhas[r].data()), r, 0);
    }
    TIFFWriteDirectory(t);
  }
  TIFFClose(t);
  return p;
}

// A bilevel pattern as file rows, 1 set where the file means it.
std::vector<std::vector<unsigned char>> bits(int w, int h, bool um_branco, IMGBIN& esperada) {
  esperada.aloca(h, w);
  std::vector<std::vector<unsigned char>> l(h, std::vector<unsigned char>((w + 7) / 8));
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      const bool branco = (r * 7 + c * 3) % 5 != 0;
      esperada.set(r, c, branco);
      if (branco == um_branco) l[r][c / 8] |= static_cast<unsigned char>(0x80 >> (c % 8));
    }
  return l;
}

}  // namespace

TEST(Tiff, WhatWeWriteReadsBackEqual) {
  for (auto [nl, nc] : {std::pair{1, 1}, {3, 31}, {5, 33}, {40, 70}}) {
    const IMGBIN b = random_words_image(nl, nc, static_cast<unsigned>(nl + nc));
    for (const char* nome : {"b.tif", "b.tiff"}) {
      const std::string p = scratch_path(nome);
      imp(b, p);
      EXPECT_EQ(TipoImg(p), TIPO_TIFF);
      const FOLHA f = LeTiff(p);
      ASSERT_EQ(f.tipo, FOLHA::BINARIA);
      expect_same_pixels(f.bin, b);
    }
    IMGBIN de_pipe;
    le(de_pipe, pipe_holding(read_bytes(scratch_path("b.tif"))));
    expect_same_pixels(de_pipe, b);
  }
  // Bilevel pages are CCITT G4 with 0 white.
  TIFF* t = TIFFOpen(scratch_path("b.tif").c_str(), "r");
  std::uint16_t comp = 0, foto = 0;
  TIFFGetField(t, TIFFTAG_COMPRESSION, &comp);
  TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &foto);
  TIFFClose(t);
  EXPECT_EQ(comp, COMPRESSION_CCITTFAX4);
  EXPECT_EQ(foto, PHOTOMETRIC_MINISWHITE);

  IMGGRY g(9, 13);
  IMGCOR c(6, 17);
  for (int l = 0; l < 9; ++l)
    for (int k = 0; k < 13; ++k) g(l, k) = static_cast<BYTE>(l * 31 + k * 7);
  for (int l = 0; l < 6; ++l)
    for (int k = 0; k < 17; ++k) c(l, k) = COR{static_cast<BYTE>(l * 40), static_cast<BYTE>(k * 15), 77};
  imp(g, scratch_path("g.tif"));
  imp(c, scratch_path("c.tif"));
  IMGGRY g2;
  IMGCOR c2;
  le(g2, scratch_path("g.tif"));
  le(c2, scratch_path("c.tif"));
  expect_same_pixels(g2, g);
  expect_same_pixels(c2, c);
}

TEST(Tiff, CompressionsAndLayoutsOfOtherWriters) {
  IMGBIN esperada;
  for (auto comp : {COMPRESSION_NONE, COMPRESSION_PACKBITS, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE,
                    COMPRESSION_CCITTFAX3, COMPRESSION_CCITTFAX4}) {
    for (auto foto : {PHOTOMETRIC_MINISWHITE, PHOTOMETRIC_MINISBLACK}) {
      const auto l = bits(45, 11, foto == PHOTOMETRIC_MINISBLACK, esperada);
      const std::string p = escreve("bits.tif", {{45, 11, 1, 1, static_cast<std::uint16_t>(foto), static_cast<std::uint16_t>(comp), l}});
      const FOLHA f = LeTiff(p);
      ASSERT_EQ(f.tipo, FOLHA::BINARIA) << comp;
      expect_same_pixels(f.bin, esperada);
    }
  }
  // 16-bit grey, 1 is white in the file (MINISWHITE inverts).
  {
    std::vector<unsigned char> l(4);
    const std::uint16_t v[2] = {0, 65535};
    std::memcpy(l.data(), v, 4);
    const FOLHA f = LeTiff(escreve("g16.tif", {{2, 1, 16, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW, {l}}}));
    ASSERT_EQ(f.tipo, FOLHA::CINZA);
    EXPECT_EQ(f.gry(0, 0), 0);
    EXPECT_EQ(f.gry(0, 1), 255);
  }
  // Palette, RGBA over white, and a tiled RGB picture.
  {
    const FOLHA f = LeTiff(escreve("pal.tif", {{2, 1, 8, 1, PHOTOMETRIC_PALETTE, COMPRESSION_NONE, {{0, 255}}}}));
    ASSERT_EQ(f.tipo, FOLHA::COLORIDA);
    EXPECT_EQ(f.cor(0, 0), (COR{0, 0, 255}));
    EXPECT_EQ(f.cor(0, 1), (COR{255, 0, 0}));
    const FOLHA a = LeTiff(escreve("rgba.tif", {{2, 1, 8, 4, PHOTOMETRIC_RGB, COMPRESSION_LZW, {{10, 20, 30, 255, 9, 9, 9, 0}}}}));
    EXPECT_EQ(a.cor(0, 0), (COR{10, 20, 30}));
    EXPECT_EQ(a.cor(0, 1), (COR{255, 255, 255}));
    Pagina ladr{37, 21, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, {}, true};
    IMGCOR esperada_cor(21, 37);
    for (int r = 0; r < 21; ++r) {
      ladr.linhas.emplace_back(37 * 3);
      for (int c = 0; c < 37; ++c) {
        const COR x{static_cast<BYTE>(r * 11), static_cast<BYTE>(c * 6), static_cast<BYTE>(r + c)};
        esperada_cor(r, c) = x;
        ladr.linhas[r][3 * c] = x.r, ladr.linhas[r][3 * c + 1] = x.g, ladr.linhas[r][3 * c + 2] = x.b;
      }
    }
    IMGCOR lida;
    le(lida, escreve("ladrilhos.tif", {ladr}));
    expect_same_pixels(lida, esperada_cor);
  }
}

TEST(TiffDeath, SeveralPagesAndDamagedFilesEndWithOneLine) {
  IMGBIN e;
  const Pagina p{16, 4, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4, bits(16, 4, false, e)};
  const std::string tres = escreve("tres.tif", {p, p, p});
  const std::string msg = "Erro LeTiff - Arquivo TIFF com 3 paginas: so se le um arquivo de uma pagina (separe as paginas antes) ";
  EXPECT_EXIT(LeTiff(tres), testing::ExitedWithCode(1), stderr_line(msg));
  EXPECT_EXIT({ IMGBIN b; le(b, tres); }, testing::ExitedWithCode(1), stderr_line(msg));

  const std::string bom = scratch_path("bom.tif");
  IMGGRY g(30, 30, BYTE{100});
  imp(g, bom);
  const Bytes b = read_bytes(bom);
  for (std::size_t corte : {std::size_t{6}, b.size() / 2, b.size() - 20}) {
    const std::string p2 = write_bytes(scratch_path("cortado.tif"), Bytes(b.begin(), b.begin() + static_cast<long>(corte)));
    EXPECT_EXIT(LeTiff(p2), testing::ExitedWithCode(1), "^Erro LeTiff - [^\n]+\n$") << corte;
  }
  EXPECT_EXIT(LeTiff(scratch_path("nao/ha.tif")), testing::ExitedWithCode(1),
              stderr_line("Erro LeTiff - Abertura de  " + scratch_path("nao/ha.tif")));
  EXPECT_EXIT(ImpTiff(IMGBIN(3, -1), scratch_path("neg.tif")), testing::ExitedWithCode(1),
              stderr_line("Erro ImpTiff - Tamanho invalido "));
  EXPECT_FALSE(exists(scratch_path("neg.tif")));
}
