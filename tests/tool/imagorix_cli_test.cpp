// The imagorix converter, run as a program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "image/binariza.h"
#include "image/jpeg.h"
#include "image/leimp.h"
#include "image/tipo.h"
#include "support/files.h"
#include "support/images.h"
#include "support/sequences.h"
#include "video/avi.h"
#include "video/i3d.h"
#include "video/leimp.h"

using namespace imagorix;
using namespace testsupport;

namespace {

std::string programa() { return IMAGORIX_EXE; }

RunResult roda(const std::vector<std::string>& args) { return run_program(programa(), args); }

IMGGRY cinza() {
  IMGGRY g(6, 10);
  for (int l = 0; l < 6; ++l)
    for (int c = 0; c < 10; ++c) g(l, c) = BYTE(40 + 20 * l + 5 * c);
  return g;
}

IMGCOR colorida() {
  IMGCOR k(6, 10);
  for (int l = 0; l < 6; ++l)
    for (int c = 0; c < 10; ++c) k(l, c) = COR{BYTE(25 * c), BYTE(200 - 30 * l), BYTE(90)};
  return k;
}

IMGBIN binaria() {
  IMGBIN b(5, 7);
  for (int l = 0; l < 5; ++l)
    for (int c = 0; c < 7; ++c) b(l, c) = (l + 2 * c) % 3 == 0;
  return b;
}

template <class I>
I lido(const std::string& p) {
  I img;
  le(img, p);
  return img;
}

int maxdif(const IMGCOR& a, const IMGCOR& b) {
  if (a.nl() != b.nl() || a.nc() != b.nc()) return 999;
  int m = 0;
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c)
      m = std::max({m, std::abs(a(l, c).r - b(l, c).r), std::abs(a(l, c).g - b(l, c).g),
                    std::abs(a(l, c).b - b(l, c).b)});
  return m;
}

// Input files in every format the converter picks a default class for.
class Conversor : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    imp(binaria(), bmp = scratch_path("in.bmp"));
    imp(binaria(), pbm = scratch_path("in.pbm1"));
    pbm = scratch_path("in.pbm");
    imp(cinza(), pgm = scratch_path("in.pgm"));
    imp(cinza(), tga = scratch_path("in.tga"));
    imp(colorida(), ppm = scratch_path("in.ppm"));
    imp(colorida(), tga24 = scratch_path("in24.tga"));
    imp(cinza(), jpg_cinza = scratch_path("ing.jpg"));
    imp(colorida(), jpg_cor = scratch_path("inc.jpg"));
    imp(IMGFLT(cinza()), flt = scratch_path("inf.img"));
    imp(IMGSHT(cinza()), sht = scratch_path("ins.img"));
    txt = write_text(scratch_path("matrix.dat"), "2 3\n 10 20 30\n 40 50 60\n");
    // A JPEG name for the full device.
    cheio = scratch_path("full.jpg");
    std::remove(cheio.c_str());
    if (symlink("/dev/full", cheio.c_str()) != 0) cheio = "/dev/full-link-missing.jpg";
  }
  static inline std::string bmp, pbm, pgm, tga, ppm, tga24, jpg_cinza, jpg_cor, flt, sht, txt, cheio;
};

}  // namespace

TEST(ConversorAjuda, HelpDocumentsBothCommands) {
  const RunResult r = roda({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("imagorix type FILE"), std::string::npos);
  EXPECT_NE(r.out.find("imagorix convert [--as CLASS] IN OUT"), std::string::npos);
  for (const char* c : {"bin", "gry", "cor", "sht", "flt", "dbl", "cpx"})
    EXPECT_NE(r.out.find(std::string("  ") + c + "  "), std::string::npos) << c;
  for (const char* s : {".avi", "Sequences.", "imagorix convert clip.avi frames", "TGA series"})
    EXPECT_NE(r.out.find(s), std::string::npos) << s;
}

TEST_F(Conversor, TypePrintsCodeAndName) {
  const std::pair<const std::string*, std::string> casos[] = {
      {&bmp, "4 1-bit BMP\n"},       {&pbm, "61 plain PBM\n"},    {&pgm, "65 raw PGM\n"},
      {&tga, "1 grey TGA\n"},        {&tga24, "3 true-colour TGA\n"}, {&ppm, "66 raw PPM\n"},
      {&jpg_cor, "21 JPEG\n"},       {&flt, "13 native real image\n"}, {&txt, "5 text matrix\n"},
  };
  for (const auto& [p, want] : casos) {
    const RunResult r = roda({"type", *p});
    EXPECT_EQ(r.status, 0) << *p;
    EXPECT_EQ(r.out, want) << *p;
    EXPECT_EQ(r.err, "") << *p;
  }
}

// Each case converts a file and checks the written file by its detected type
// and by reading it back with the library.
TEST_F(Conversor, ConvertsBetweenFormats) {
  struct Caso {
    const char* rotulo;
    std::vector<std::string> opcoes;
    const std::string* entrada;
    std::string saida;     // as given on the command line
    std::string escrito;   // the file that must appear
    int tipo;
    std::function<bool(const std::string&)> confere;
  };
  const Caso casos[] = {
      {"bmp to raw pbm", {}, &bmp, "a.pbm", "a.pbm", 64,
       [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), binaria()); }},
      {"plain pbm to bmp", {}, &pbm, "b.bmp", "b.bmp", 4,
       [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), binaria()); }},
      {"pgm to grey tga", {}, &pgm, "c.tga", "c.tga", 1,
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), cinza()); }},
      {"grey tga to plain pgm", {}, &tga, "d.pgm1", "d.pgm", 62,
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), cinza()); }},
      {"ppm to 24-bit tga", {}, &ppm, "e.tga", "e.tga", 3,
       [](const std::string& p) { return same_pixels(lido<IMGCOR>(p), colorida()); }},
      {"24-bit tga to plain ppm", {}, &tga24, "f.ppm2", "f.ppm", 63,
       [](const std::string& p) { return same_pixels(lido<IMGCOR>(p), colorida()); }},
      {"ppm to jpeg", {}, &ppm, "g.jpg95", "g.jpg", 21,
       [](const std::string& p) { return PlanosJpg(p) == 3 && maxdif(lido<IMGCOR>(p), colorida()) <= 40; }},
      // A grey JPEG is converted as grey, so a PGM can be written.
      {"grey jpeg to pgm", {}, &jpg_cinza, "h.pgm", "h.pgm", 65,
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), lido<IMGGRY>(jpg_cinza)); }},
      {"colour jpeg to ppm", {}, &jpg_cor, "i.ppm", "i.ppm", 66,
       [](const std::string& p) { return same_pixels(lido<IMGCOR>(p), lido<IMGCOR>(jpg_cor)); }},
      {"native real stays real", {}, &flt, "j.img", "j.img", 13,
       [](const std::string& p) { return same_pixels(lido<IMGFLT>(p), IMGFLT(cinza())); }},
      {"native short stays short", {}, &sht, "k.img", "k.img", 11,
       [](const std::string& p) { return same_pixels(lido<IMGSHT>(p), IMGSHT(cinza())); }},
      {"text matrix as grey", {}, &txt, "l.pgm", "l.pgm", 65,
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), IMGGRY(2, 3, {10, 20, 30, 40, 50, 60})); }},
      {"pgm as binary", {"--as", "bin"}, &pgm, "m.bmp", "m.bmp", 4,
       [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), IMGBIN(cinza())); }},
      {"bmp as real", {"--as", "flt"}, &bmp, "n.img", "n.img", 13,
       [](const std::string& p) { return same_pixels(lido<IMGFLT>(p), IMGFLT(binaria())); }},
      {"pgm as complex", {"--as", "cpx"}, &pgm, "o.txt", "o.txt", 5,
       [](const std::string& p) {
         const IMGCPX c = lido<IMGCPX>(p), want(cinza());
         bool ok = c.nl() == 6 && c.nc() == 10;
         for (int l = 0; ok && l < 6; ++l)
           for (int k = 0; ok && k < 10; ++k) ok = std::abs(c(l, k) - want(l, k)) < 1e-5;
         return ok;
       }},
      {"colour jpeg as grey", {"--as", "gry"}, &jpg_cor, "q.tga", "q.tga", 1,
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), lido<IMGGRY>(jpg_cor)); }},
      // Without --as, an output format the input's class cannot be written
      // in takes the class that format holds.
      {"grey scan to bmp thresholds it", {}, &pgm, "r.bmp", "r.bmp", 4,
       [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), IMGBIN(cinza())); }},
      {"colour to raw pbm", {}, &ppm, "s.pbm", "s.pbm", 64,
       [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), IMGBIN(colorida())); }},
      {"bmp to pgm as grey", {}, &bmp, "t.pgm", "t.pgm", 65,
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), IMGGRY(binaria())); }},
      {"bmp to ppm as colour", {}, &bmp, "u.ppm", "u.ppm", 66,
       [](const std::string& p) { return same_pixels(lido<IMGCOR>(p), IMGCOR(binaria())); }},
      {"bmp to grey jpeg", {}, &bmp, "v.jpg", "v.jpg", 21, [](const std::string& p) { return PlanosJpg(p) == 1; }},
      {"bmp to native real", {}, &bmp, "w.img", "w.img", 13,
       [](const std::string& p) { return same_pixels(lido<IMGFLT>(p), IMGFLT(binaria())); }},
      {"native real writes its own bmp", {}, &flt, "y.bmp", "y.bmp", 4,
       [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), IMGBIN(IMGFLT(cinza()))); }},
  };
  for (const Caso& k : casos) {
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), k.opcoes.begin(), k.opcoes.end());
    args.push_back(*k.entrada);
    args.push_back(scratch_path(k.saida));
    const RunResult r = roda(args);
    ASSERT_EQ(r.status, 0) << k.rotulo << ": " << r.err;
    EXPECT_EQ(r.out, "") << k.rotulo;
    EXPECT_EQ(r.err, "") << k.rotulo;
    const std::string escrito = scratch_path(k.escrito);
    EXPECT_EQ(TipoImg(escrito), k.tipo) << k.rotulo;
    EXPECT_TRUE(k.confere(escrito)) << k.rotulo;
  }
}

// The input may be a pipe (the shell's "< file" or "cat file |"): it is
// opened once, its type found and its picture read from the same stream.
TEST_F(Conversor, ReadsItsInputFromAPipe) {
  const struct {
    const std::string* entrada;
    std::string saida;
    std::function<bool(const std::string&)> confere;
  } casos[] = {
      {&bmp, "p1.pbm", [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), binaria()); }},
      {&pgm, "p2.bmp", [](const std::string& p) { return same_pixels(lido<IMGBIN>(p), IMGBIN(cinza())); }},
      {&txt, "p3.pgm",
       [](const std::string& p) { return same_pixels(lido<IMGGRY>(p), IMGGRY(2, 3, {10, 20, 30, 40, 50, 60})); }},
      {&jpg_cor, "p4.ppm", [](const std::string& p) { return same_pixels(lido<IMGCOR>(p), lido<IMGCOR>(jpg_cor)); }},
  };
  for (const auto& k : casos) {
    const RunResult r = roda({"convert", pipe_holding(read_bytes(*k.entrada)), scratch_path(k.saida)});
    ASSERT_EQ(r.status, 0) << *k.entrada << ": " << r.err;
    EXPECT_TRUE(k.confere(scratch_path(k.saida))) << *k.entrada;
  }
  const RunResult r = roda({"type", pipe_holding(read_bytes(pgm))});
  EXPECT_EQ(r.out, "65 raw PGM\n");
}

TEST_F(Conversor, Errors) {
  struct Caso {
    std::vector<std::string> args;
    std::string err;
  };
  const std::string ajuda = "Run 'imagorix --help' for usage.\n";
  const std::string x = scratch_path("x.bmp"), y = scratch_path("y.jpg");
  const Caso casos[] = {
      {{}, "Error: no command given\n" + ajuda},
      {{"show", bmp}, "Error: unknown command 'show'\n" + ajuda},
      {{"type"}, "Error: type needs exactly one file name\n" + ajuda},
      {{"type", bmp, pgm}, "Error: type needs exactly one file name\n" + ajuda},
      {{"convert", bmp}, "Error: convert needs an input and an output file name\n" + ajuda},
      {{"convert", "--as"}, "Error: --as needs a class: bin, gry, cor, sht, flt, dbl or cpx\n" + ajuda},
      {{"convert", "--as", "rgb", bmp, x},
       "Error: unknown class 'rgb' (use bin, gry, cor, sht, flt, dbl or cpx)\n" + ajuda},
      // What the library refuses, it reports in its own words.
      {{"type", "/nonexistent/z.bmp"}, "Erro TipoImg - Abertura  /nonexistent/z.bmp\n"},
      {{"convert", "--as", "cor", ppm, x},
       x + "  Erro: IMGCOR deve ser impresso em formato TGA, TXT (MAT), JPG ou PPM\n"},
      // No class writes the suffix: the input's class refuses it.
      {{"convert", ppm, scratch_path("x.gif")},
       scratch_path("x.gif") + "  Erro: IMGCOR deve ser impresso em formato TGA, TXT (MAT), JPG ou PPM\n"},
      {{"convert", "--as", "sht", bmp, scratch_path("s.img")}, "Tipo de imagem invalido  " + bmp + "\n"},
      {{"convert", jpg_cinza, cheio}, "Erro ImpJpg - Falha de escrita  " + cheio + "\n"},
      {{"convert", jpg_cinza, "/nonexistent/y.jpg"}, "Can't open /nonexistent/y.jpg\n \n"},
      {{"convert", pgm, "a.jpeg"}, "Erro suf do arquivo: numero apos suf \n"},
  };
  for (const Caso& k : casos) {
    const RunResult r = roda(k.args);
    std::string linha;
    for (const auto& a : k.args) linha += a + " ";
    EXPECT_EQ(r.status, 1) << linha;
    EXPECT_EQ(r.out, "") << linha;
    EXPECT_EQ(r.err, k.err) << linha;
  }
}

// Pixels are compared, not bytes: a page and its PNG and TIFF copies are
// equal; a changed pixel, another size and a grey picture are told apart.
TEST_F(Conversor, ComparesPixelsInTheRicherClass) {
  IMGBIN b = binaria();
  const std::string png = scratch_path("c.png"), tif = scratch_path("c.tif"), outro = scratch_path("outro.bmp");
  imp(b, png);
  imp(b, tif);
  b.set(3, 4, !b.get(3, 4));
  b.set(4, 6, !b.get(4, 6));
  imp(b, outro);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
  } casos[] = {
      {{"compare", bmp, png}, 0, "equal: 5 x 7 pixels\n"},
      {{"compare", tif, pbm}, 0, "equal: 5 x 7 pixels\n"},
      {{"compare", png, outro}, 1, "differ: 2 of 35 pixels, the first at row 3, column 4\n"},
      {{"compare", bmp, pgm}, 1, "differ: sizes 5 x 7 and 6 x 10\n"},
      {{"compare", pgm, tga}, 0, "equal: 6 x 10 pixels\n"},
      {{"compare", ppm, tga24}, 0, "equal: 6 x 10 pixels\n"},
  };
  for (const auto& k : casos) {
    const RunResult r = roda(k.args);
    EXPECT_EQ(r.status, k.status) << k.args[1] << " " << k.args[2];
    EXPECT_EQ(r.out, k.out) << k.args[1] << " " << k.args[2];
    EXPECT_EQ(r.err, "");
  }
  const RunResult r = roda({"compare", bmp});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error: compare needs two file names\nRun 'imagorix --help' for usage.\n");
}

// A grey or colour page made bilevel at a chosen level or at Otsu's.
TEST_F(Conversor, ThresholdsGreyAndColourPages) {
  const std::string out = scratch_path("limiar.bmp");
  for (const int n : {0, 100, 137, 255}) {
    ASSERT_EQ(roda({"convert", "--threshold", std::to_string(n), pgm, out}).status, 0);
    expect_same_pixels(lido<IMGBIN>(out), binariza(cinza(), n));
    ASSERT_EQ(roda({"convert", "--as", "bin", "--threshold", std::to_string(n), ppm, out}).status, 0);
    expect_same_pixels(lido<IMGBIN>(out), binariza(colorida(), n));
  }
  const RunResult r = roda({"convert", "--threshold", "otsu", pgm, out});
  ASSERT_EQ(r.status, 0);
  const int t = limiar_otsu(cinza());
  EXPECT_EQ(r.out, "otsu threshold: " + std::to_string(t) + "\n");
  expect_same_pixels(lido<IMGBIN>(out), binariza(cinza(), t));
  const std::string ajuda = "Run 'imagorix --help' for usage.\n";
  for (const char* ruim : {"256", "-1", "12x", "", "Otsu"}) {
    const RunResult e = roda({"convert", "--threshold", ruim, pgm, out});
    EXPECT_EQ(e.status, 1) << ruim;
    EXPECT_EQ(e.err, "Error: --threshold needs a level from 0 to 255, or otsu\n" + ajuda) << ruim;
  }
  const RunResult e = roda({"convert", "--as", "gry", "--threshold", "9", pgm, out});
  EXPECT_EQ(e.err, "Error: --threshold writes a bilevel page: --as can only be bin with it\n" + ajuda);
}

// A text matrix whose header gives a negative size once converted into a PGM
// that said "7 -5", with status 0: a file no reader accepts.
TEST_F(Conversor, NegativeSizesEndTheConversionWithNothingWritten) {
  const std::string in = write_text(scratch_path("bad.txt"), "-5 7\n");
  const std::string out = scratch_path("bad.pgm");
  const RunResult r = roda({"convert", in, out});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Erro IMGGRY::LeTxt - Tamanho invalido \n");
  EXPECT_FALSE(exists(out));
}

namespace {

I3DCOR clipe() {
  I3DCOR k(3, 4, 5);
  for (int f = 0; f < 3; ++f)
    for (int l = 0; l < 4; ++l)
      for (int c = 0; c < 5; ++c) k(f, l, c) = COR{BYTE(60 * f + l), BYTE(40 * c), BYTE(200 - l * c)};
  k.fd() = 40000;
  return k;
}

template <class S>
S seq_lida(const std::string& p) {
  S s;
  le(s, p);
  return s;
}

// The clip's frames in another class, converted by the image rules (grey
// directly from colour, or through real frames).
template <class P>
I3D<P> clipe_em() {
  const I3DCOR k = clipe();
  I3D<P> s(k.nf(), k.nl(), k.nc());
  for (int f = 0; f < k.nf(); ++f) s(f) = IMG<P>(k(f));
  return s;
}
I3DGRY clipe_cinza_de_real() {
  const I3DFLT x = clipe_em<FLT>();
  I3DGRY g(x.nf(), x.nl(), x.nc());
  for (int f = 0; f < x.nf(); ++f) g(f) = IMGGRY(x(f));
  return g;
}

}  // namespace

// Sequences convert between AVI, native sequence files and series of
// numbered TGA files, in the class the input holds or the one --as names.
TEST(ConversorSequencias, ConvertsAndNamesSequences) {
  const std::string avi = scratch_path("clip.avi");
  ImpAvi(clipe(), avi);
  struct Passo {
    std::vector<std::string> args;
    std::string tipo;  // what "type" says of the file written
    std::function<bool()> confere;
  };
  const std::string d = scratch_dir();
  const Passo passos[] = {
      {{"convert", avi, d + "frames"}, "40 TGA series of 3 frames\n",
       [&] {
         I3DCOR k;
         k.LeTga(d + "frames");
         return same_sequence(k, clipe()) && !exists(d + "frames003.tga");
       }},
      {{"convert", d + "frames", d + "back.avi"}, "52 24-bit AVI\n",
       [&] {
         const I3DCOR k = seq_lida<I3DCOR>(d + "back.avi");
         return same_sequence(k, clipe());
       }},
      // Colour frames to a native file or a grey video: converted.
      {{"convert", avi, d + "real.img"}, "14 native real sequence\n",
       [&] { return same_sequence(seq_lida<I3DFLT>(d + "real.img"), clipe_em<FLT>()); }},
      {{"convert", d + "real.img", d + "grey.avi"}, "51 8-bit AVI\n",
       [&] { return same_sequence(seq_lida<I3DGRY>(d + "grey.avi"), clipe_cinza_de_real()); }},
      {{"convert", "--as", "gry", d + "frames", d + "g"}, "40 TGA series of 3 frames\n",
       [&] {
         I3DGRY g;
         g.LeTga(d + "g");
         return same_sequence(g, clipe_em<BYTE>());
       }},
      {{"convert", "--as", "sht", d + "grey.avi", d + "s.img"}, "16 native short sequence\n",
       [&] { return seq_lida<I3DSHT>(d + "s.img")(2, 3, 4) == clipe_cinza_de_real()(2, 3, 4); }},
      {{"convert", d + "s.img", d + "s2.img"}, "16 native short sequence\n",
       [&] { return same_sequence(seq_lida<I3DSHT>(d + "s2.img"), seq_lida<I3DSHT>(d + "s.img")); }},
      {{"convert", "--as", "cpx", d + "g", d + "c.img"}, "18 native complex sequence\n",
       [&] { return seq_lida<I3DCPX>(d + "c.img")(1, 2, 3) == CPXF(IMGFLT(clipe_em<BYTE>()(1))(2, 3), 0); }},
  };
  for (const Passo& p : passos) {
    const RunResult r = roda(p.args);
    ASSERT_EQ(r.status, 0) << p.args.back() << ": " << r.err;
    EXPECT_EQ(r.err, "") << p.args.back();
    EXPECT_EQ(roda({"type", p.args.back()}).out, p.tipo) << p.args.back();
    EXPECT_TRUE(p.confere()) << p.args.back();
  }
  // An AVI from a pipe.
  const RunResult r = roda({"convert", pipe_holding(read_bytes(avi)), d + "piped"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(roda({"type", avi}).out, "52 24-bit AVI\n");
}

TEST(ConversorSequencias, Errors) {
  const std::string avi = scratch_path("e.avi"), cpx = scratch_path("e.img"), d = scratch_dir();
  ImpAvi(clipe(), avi);
  I3DCPX(1, 1, 1).ImpImg(cpx);
  const std::string ajuda = "Run 'imagorix --help' for usage.\n";
  const std::pair<std::vector<std::string>, std::string> casos[] = {
      {{"convert", "--as", "bin", avi, d + "x.avi"},
       "Error: 'bin' is not a sequence class (use gry, cor, sht, flt or cpx)\n" + ajuda},
      {{"convert", "--as", "cpx", avi, d + "x.avi"}, d + "x.avi  Erro: deve imprimir I3DCPX como IMG\n"},
      // No conversion from complex frames: the short class reads the file.
      {{"convert", "--as", "sht", cpx, d + "x.img"}, "Tipo de imagem invalido  " + cpx + "\n"},
      {{"convert", avi, d + "x.pgm"}, d + "x.pgm  Erro: deve imprimir I3DGRY como seq de TGA (nome sem extensao) ou AVI\n"},
      {{"convert", "--as", "cor", avi, d + "x.img"},
       d + "x.img  Erro: deve imprimir I3DCOR como seq de TGA (nome sem extensao) ou AVI\n"},
  };
  for (const auto& [args, err] : casos) {
    const RunResult r = roda(args);
    EXPECT_EQ(r.status, 1) << args.back();
    EXPECT_EQ(r.err, err) << args.back();
    EXPECT_FALSE(exists(args.back())) << args.back();
  }
}

// An AVI converted to an AVI of its own class goes frame by frame. Whatever
// the file holds, the result must be the one of reading the clip whole and
// writing it: the same status, the same message, the same file or none. The
// files: ours, cut short at many places, each 32-bit field of the header
// (palette aside) set to 0 and to all ones, and with bytes after the end.
TEST(ConversorSequencias, CopiesAnAviAsAWholeReadingWould) {
  I3DGRY g(3, 3, 5);
  for (int f = 0; f < 3; ++f)
    for (int l = 0; l < 3; ++l)
      for (int c = 0; c < 5; ++c) g(f, l, c) = BYTE(61 * f + 17 * l + 5 * c + 1);
  I3DCOR k = clipe();
  k.fd() = 40000;
  const std::string in = scratch_path("copia_in.avi"), out = scratch_path("copia_out.avi");
  const auto variantes = [](const Bytes& b, std::size_t paleta, std::size_t fim_paleta) {
    // Detection needs bytes 0 to 11 ("RIFF", "AVI ") and 184 to 191 (planes,
    // bits, compression) to take a file for the same kind of AVI; other
    // files never reach this path.
    std::vector<Bytes> v;
    for (std::size_t n = 192; n < b.size(); n += 23) v.emplace_back(b.begin(), b.begin() + std::ptrdiff_t(n));
    for (std::size_t k = 0; k + 4 <= 1300 && k + 4 <= b.size(); k += 4) {
      if ((k >= paleta && k < fim_paleta) || k == 0 || k == 8 || k == 184 || k == 188) continue;
      for (std::uint32_t x : {0u, 0xFFFFFFFFu}) {
        Bytes c = b;
        put_le32(c, k, x);
        v.push_back(c);
      }
    }
    Bytes longo = b;
    longo.insert(longo.end(), {'J', 'U', 'N', 'K', 0, 0, 0, 0});
    v.push_back(longo);
    return v;
  };
  struct Resultado {
    int status;
    std::string err;
    bool existe;
    Bytes bytes;
  };
  const auto resultado = [&](const RunResult& r) {
    Resultado x{r.status, r.err, exists(out), {}};
    if (x.existe) x.bytes = read_bytes(out);
    std::remove(out.c_str());
    return x;
  };
  const auto confere = [&]<class S>(const S& s, std::size_t paleta, std::size_t fim_paleta) {
    ImpAvi(s, in);
    // Every variant in the plain build; under the sanitizers, where each
    // program started costs ten times as much, every third.
#if defined(__SANITIZE_ADDRESS__)
    constexpr std::size_t PASSO = 3;
#else
    constexpr std::size_t PASSO = 1;
#endif
    const std::vector<Bytes> todas = variantes(read_bytes(in), paleta, fim_paleta);
    int casos = 0;
    for (std::size_t i = 0; i < todas.size(); i += PASSO) {
      const Bytes& b = todas[i];
      write_bytes(in, b);
      ++casos;
      std::remove(out.c_str());
      const Resultado a = resultado(roda({"convert", in, out}));
      const Resultado w = resultado(run_in_child([&] {
        S t;
        le(t, in);
        imp(t, out);
        return 0;
      }));
      EXPECT_EQ(a.status, w.status) << b.size() << " bytes: " << a.err << " / " << w.err;
      EXPECT_EQ(a.err, w.err) << b.size() << " bytes";
      EXPECT_EQ(a.existe, w.existe) << b.size() << " bytes: " << a.err;
      EXPECT_TRUE(a.bytes == w.bytes) << b.size() << " bytes";
    }
    EXPECT_GT(casos, 100 / int(PASSO));
  };
  confere(g, 212, 1236);
  confere(k, 0, 0);
}
