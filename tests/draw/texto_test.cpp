// Text in the built-in font and in fonts read from files: the cell of every
// code, the glyph pixels and extents of drawn text, and the font's state.
#include "draw/texto.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "image/leimp.h"
#include "recorte.h"
#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

TEST(Font, CellOfEveryCode) {
  struct Caso {
    int k;
    POSLC cel;
  } casos[] = {
      {32, {151, 134}}, {33, {1, 1}},     {52, {1, 362}},   {53, {26, 1}},     {'A', {26, 1 + 12 * 19}},
      {126, {101, 248}}, {127, {101, 267}}, {31, {176, 191}}, {9, {176, 191}},  {0, {176, 191}},
      {-1, {176, 191}},  {-128, {176, 191}}, {128, {176, 191}}, {200, {176, 191}}, {1000, {176, 191}},
  };
  for (const Caso& c : casos) EXPECT_EQ(glyphcell(c.k), c.cel) << c.k;
}

// The ink of the glyph of code k in the current font, as rows of '#'.
std::vector<std::string> glifo(int k) {
  const POSLC cel = glyphcell(k);
  const int m = margemfonte();
  std::vector<std::string> g;
  for (int j = 0; j < 2 * (12 - m); ++j) {
    std::string linha;
    for (int i = 0; i < 2 * (9 - m); ++i) linha += fonte()(cel.l + m + j, cel.c + m + i) ? '.' : '#';
    g.push_back(linha);
  }
  return g;
}

TEST(Font, BuiltInPictureHasADistinctGlyphForEveryPrintableCharacter) {
  resetfont();
  EXPECT_EQ(fonte().nl(), 251);
  EXPECT_EQ(fonte().nc(), 381);
  EXPECT_EQ(margemfonte(), 5);
  EXPECT_EQ(fonte().fundo() & 1u, 1u);
  std::set<std::vector<std::string>> vistos;
  for (int k = 33; k <= 126; ++k) {
    const std::vector<std::string> g = glifo(k);
    int tinta = 0;
    for (const std::string& l : g)
      for (char c : l) tinta += c == '#';
    EXPECT_GT(tinta, 0) << k;
    EXPECT_TRUE(vistos.insert(g).second) << "code " << k << " repeats a glyph";
  }
  // The blank and the cell of every other code are empty.
  for (int k : {32, 0}) {
    for (const std::string& l : glifo(k)) EXPECT_EQ(l, std::string(8, '.')) << k;
  }
  // A letter as it is drawn.
  const std::vector<std::string> H = {"........", "........", ".#....#.", ".#....#.", ".#....#.",
                                      ".#....#.", ".######.", ".#....#.", ".#....#.", ".#....#.",
                                      ".#....#.", ".#....#.", "........", "........"};
  EXPECT_EQ(glifo('H'), H);
}

TEST(Text, EachFontPixelBecomesAZoomBlock) {
  resetfont();
  const std::string s = "Hg~";
  for (int z : {1, 3}) {
    IMGBIN b(60, 100, 1);
    text(b, 2, 3, s, false, z, false, true);
    for (int l = 0; l < b.nl(); ++l)
      for (int c = 0; c < b.nc(); ++c) {
        bool esperado = true;
        const int j = l - 2, k = c - 3;
        if (j >= 0 && j < 14 * z && k >= 0 && k < 8 * z * 3) {
          const POSLC cel = glyphcell(s[k / (8 * z)]);
          esperado = fonte()(cel.l + 5 + j / z, cel.c + 5 + k % (8 * z) / z);
        }
        ASSERT_EQ(b(l, c), esperado) << "zoom " << z << " at (" << l << ", " << c << ")";
      }
  }
}

TEST(Text, CoversItsExtentsOnly) {
  resetfont();
  // Opaque: every pixel of rows 0-27, columns 0-15 is ink or paper.
  IMGGRY g(40, 40, BYTE(100));
  text(g, 0, 0, "W", 0, 2, false, 255);
  int tinta = 0;
  for (int l = 0; l < 40; ++l)
    for (int c = 0; c < 40; ++c) {
      if (l < 28 && c < 16) {
        EXPECT_NE(g(l, c), 100) << l << "," << c;
        tinta += g(l, c) == 0;
      } else {
        EXPECT_EQ(g(l, c), 100) << l << "," << c;
      }
    }
  EXPECT_GT(tinta, 0);
  EXPECT_EQ(textheight(2), 28);
  EXPECT_EQ(textwidth("W", 2), 16);
  EXPECT_EQ(textwidth("abc", 1), 24);
  // Transparent: paper leaves the pixels alone.
  IMGGRY t(40, 40, BYTE(100));
  text(t, 0, 0, "W", 0, 2, true, 255);
  for (int l = 0; l < 40; ++l)
    for (int c = 0; c < 40; ++c) EXPECT_TRUE(t(l, c) == 100 || t(l, c) == 0);
  // Zoom 0 or below draws nothing; the next character starts 8 zoom columns on.
  IMGGRY z(40, 40, BYTE(100));
  text(z, 0, 0, "W", 0, 0, false, 255);
  text(z, 0, 0, "W", 0, -2, false, 255);
  expect_same_pixels(z, IMGGRY(40, 40, BYTE(100)));
  IMGGRY dois(14, 16, BYTE(100)), um(14, 16, BYTE(100));
  text(dois, 0, 0, "AB", 0, 1, false, 255);
  text(um, 0, 8, "B", 0, 1, false, 255);
  for (int l = 0; l < 14; ++l)
    for (int c = 8; c < 16; ++c) EXPECT_EQ(dois(l, c), um(l, c));
}

TEST(Text, CodesOutsideThePrintableRangeShareOneCell) {
  resetfont();
  IMGBIN a(14, 8, 1), b(14, 8, 1);
  text(a, 0, 0, std::string(1, static_cast<char>(200)), false, 1, false, true);
  text(b, 0, 0, "\t", false, 1, false, true);
  expect_same_pixels(a, b);
}

TEST(Text, EdgesOfEveryClass) {
  resetfont();
  using drawtest::confere_bordas;
  // Transparent, so that only ink reaches the background.
  confere_bordas<IMGBIN>(10, 10, [](IMGBIN& b, int o) { text(b, o - 4, o - 3, "Ag", false, 2, true, true); },
                         [](const IMGBIN& b) { return (b.fundo() & 1u) == 0; }, "binary");
  confere_bordas<IMGGRY>(10, 10, [](IMGGRY& g, int o) { text(g, o + 5, o - 9, "Mj", 200, 1, true, 0); },
                         [](const IMGGRY& g) { return g.fundo() == 200; }, "grey");
  confere_bordas<IMGCOR>(10, 10, [](IMGCOR& k, int o) { text(k, o - 20, o + 2, "Q", 0xFF, 3, true, 0); },
                         [](const IMGCOR& k) { return k.fundo() == COR{255, 0, 0}; }, "colour");
  confere_bordas<IMGYUV>(10, 10, [](IMGYUV& y, int o) { text(y, o + 3, o + 3, "#", 0x1E140A, 2, true, 0); },
                         [](const IMGYUV& y) { return y.img.fundo() == 30; }, "yuv");
  // Opaque: the last write outside decides the background.
  IMGGRY g(10, 10, BYTE(7));
  text(g, 0, 0, "A", 0, 2, false, 255);  // the last pixel, (27, 15), is paper
  EXPECT_EQ(g.fundo(), 255);
}

TEST(Font, ReadFromAFileAndReset) {
  resetfont();
  // A font whose 'A' is a full block, and a margin of 6: glyphs of 12 x 6.
  IMGBIN f = fonte();
  const POSLC a = glyphcell('A');
  for (int j = 0; j < 14; ++j)
    for (int i = 0; i < 8; ++i) f(a.l + 5 + j, a.c + 5 + i) = false;
  const std::string nome = scratch_path("font.bmp");
  imp(f, nome);
  lefont(nome, 6);
  EXPECT_EQ(margemfonte(), 6);
  EXPECT_EQ(fonte().fundo() & 1u, 1u);
  EXPECT_EQ(textwidth("AA", 1), 12);
  EXPECT_EQ(textheight(1), 12);
  IMGBIN b(12, 12, 1);
  text(b, 0, 0, "AA", false, 1, false, true);
  for (int l = 0; l < 12; ++l)
    for (int c = 0; c < 12; ++c) EXPECT_FALSE(b(l, c)) << l << "," << c;
  resetfont();
  EXPECT_EQ(margemfonte(), 5);
  EXPECT_EQ(glifo('A')[2], "...##...");
  EXPECT_EXIT(lefont(scratch_path("none.bmp"), 5), testing::ExitedWithCode(1),
              "^Erro .*none\\.bmp\n$");
}

}  // namespace
