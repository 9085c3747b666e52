#include "image/leimp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "image/jpeg.h"
#include "image/native.h"
#include "image/pnm.h"
#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

template <class I>
std::vector<double> valores(const I& img) {
  std::vector<double> v;
  for (int l = 0; l < img.nl(); ++l)
    for (int c = 0; c < img.nc(); ++c) v.push_back(static_cast<double>(img(l, c)));
  return v;
}

// A 2 x 1 colour-mapped TGA: entry 0 is (10, 10, 11), entry 1 pure red;
// the pixels are entries 1 and 0.
const Bytes TGA_MAPA = {0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0, 2, 0, 1, 0, 8, 0x20,
                        11, 10, 10, 0, 0, 255, 1, 0};

// Just enough of an 8-bit AVI file for detection.
Bytes avi8() {
  Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '};
  b.resize(192, 0);
  b[184] = 1;
  b[186] = 8;
  return b;
}

template <class I>
void le_em(const std::string& p) {
  I img;
  le(img, p);
}

// Files of every type the reading table refuses somewhere, made once.
class Leitura : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    IMGGRY g(2, 3, BYTE(200));
    imp(g, tga_cinza = scratch_path("le_grey.tga"));
    imp(IMGCOR(2, 3, 0x102030), tga24 = scratch_path("le_rgb.tga"));
    imp(IMGBIN(2, 3, 1), bmp = scratch_path("le_bin.bmp"));
    imp(IMGSHT(2, 2, SHT(-7)), sht = scratch_path("le_sht.img"));
    imp(IMGFLT(2, 2, 0.25f), flt = scratch_path("le_flt.img"));
    imp(IMGDBL(2, 2, 0.75), dbl = scratch_path("le_dbl.img"));
    imp(IMGCPX(2, 2, 1.0f, -1.0f), cpx = scratch_path("le_cpx.img"));
    avi = write_bytes(scratch_path("le_clip.avi"), avi8());
    i3d = write_bytes(scratch_path("le_seq.img"), Bytes{'I', '3', 'D', 'F', 'L', 'T', '*', 0x1A, 4, 0, 0, 0});
  }
  static inline std::string tga_cinza, tga24, bmp, sht, flt, dbl, cpx, avi, i3d;
};

}  // namespace

TEST_F(Leitura, RefusedTypes) {
  struct Caso {
    const char* classe;
    void (*ler)(const std::string&);
    const std::string* arquivo;
  };
  const Caso casos[] = {
      {"IMGSHT", le_em<IMGSHT>, &tga24},  {"IMGSHT", le_em<IMGSHT>, &bmp},
      {"IMGBIN", le_em<IMGBIN>, &sht},    {"IMGGRY", le_em<IMGGRY>, &sht},
      {"IMGCOR", le_em<IMGCOR>, &sht},    {"IMGFLT", le_em<IMGFLT>, &sht},
      {"IMGDBL", le_em<IMGDBL>, &sht},    {"IMGCPX", le_em<IMGCPX>, &sht},
      {"IMGBIN", le_em<IMGBIN>, &flt},    {"IMGSHT", le_em<IMGSHT>, &flt},
      {"IMGDBL", le_em<IMGDBL>, &flt},    {"IMGCPX", le_em<IMGCPX>, &flt},
      {"IMGGRY", le_em<IMGGRY>, &dbl},    {"IMGFLT", le_em<IMGFLT>, &dbl},
      {"IMGCPX", le_em<IMGCPX>, &dbl},    {"IMGCOR", le_em<IMGCOR>, &cpx},
      {"IMGFLT", le_em<IMGFLT>, &cpx},    {"IMGBIN", le_em<IMGBIN>, &avi},
      {"IMGGRY", le_em<IMGGRY>, &avi},    {"IMGFLT", le_em<IMGFLT>, &i3d},
  };
  for (const Caso& k : casos) {
    EXPECT_EXIT(k.ler(*k.arquivo), testing::ExitedWithCode(1),
                "^Tipo de imagem invalido  " + *k.arquivo + "\n$")
        << k.classe << " " << *k.arquivo;
  }
}

TEST_F(Leitura, GreyTgaIntoBinaryThresholdsAndKeepsBackgroundZero) {
  const std::string p = scratch_path("le_levels.tga");
  imp(IMGGRY(1, 4, {0, 127, 128, 255}), p);
  IMGBIN b(5, 5, 1);
  le(b, p);
  EXPECT_EQ(valores(b), (std::vector<double>{0, 0, 1, 1}));
  EXPECT_EQ(b.fundo() & 1u, 0u);

  // A BMP is read natively: its background stays white.
  IMGBIN w;
  le(w, bmp);
  EXPECT_EQ(w.nl(), 2);
  EXPECT_EQ(w.nc(), 3);
  EXPECT_EQ(w.fundo() & 1u, 1u);
}

TEST_F(Leitura, ContentDecidesNotTheName) {
  IMGBIN b;
  le(b, write_text(scratch_path("le_plain_pbm.bmp"), "P1\n3 1\n1 0 1\n"));
  EXPECT_EQ(valores(b), (std::vector<double>{0, 1, 0}));  // PBM 1 is black

  IMGGRY g;
  le(g, write_text(scratch_path("le_matrix.pgm"), "2 2\n\n1 2\n3 4\n"));
  EXPECT_EQ(valores(g), (std::vector<double>{1, 2, 3, 4}));
}

TEST_F(Leitura, ShortImagesGoThroughGrey) {
  IMGSHT s;
  le(s, write_text(scratch_path("le_pbm_short"), "P1\n2 1\n1 0\n"));
  EXPECT_EQ(valores(s), (std::vector<double>{0, 255}));
  le(s, write_text(scratch_path("le_ppm_short"), "P3\n2 1\n255\n10 20 31 255 255 254\n"));
  EXPECT_EQ(valores(s), (std::vector<double>{20, 255}));
  le(s, tga_cinza);
  EXPECT_EQ(valores(s), std::vector<double>(6, 200));
  le(s, sht);
  EXPECT_EQ(valores(s), std::vector<double>(4, -7));
}

// Colour-mapped TGA and JPEG give colour only to IMGCOR; every other class
// gets the grey level, (r + g + b + 1) / 3, not the colour's own conversion.
TEST_F(Leitura, ColourMappedTgaAndJpegReachOtherClassesAsGrey) {
  const std::string mapa = write_bytes(scratch_path("le_cmap.tga"), TGA_MAPA);
  IMGCOR k;
  le(k, mapa);
  ASSERT_EQ(k.nc(), 2);
  EXPECT_EQ(k(0, 0), (COR{255, 0, 0}));
  EXPECT_EQ(k(0, 1), (COR{10, 10, 11}));
  IMGGRY g;
  le(g, mapa);
  EXPECT_EQ(valores(g), (std::vector<double>{85, 10}));
  IMGFLT f;
  le(f, mapa);
  EXPECT_EQ(valores(f), (std::vector<double>{85 / 255.0f, 10 / 255.0f}));

  const std::string jpg = scratch_path("le_colour.jpg");
  IMGCOR fonte(8, 8);
  for (int l = 0; l < 8; ++l)
    for (int c = 0; c < 8; ++c)
      fonte(l, c) = COR{BYTE(30 * c), BYTE(20 + 10 * l), BYTE(7 * (l + c))};
  imp(fonte, jpg);
  IMGGRY gj;
  IMGCOR kj;
  LeJpg(gj, jpg);
  LeJpg(kj, jpg);
  IMGCOR kl;
  le(kl, jpg);
  ASSERT_EQ(kl.nl(), 8);
  ASSERT_EQ(kl.nc(), 8);
  for (int l = 0; l < 8; ++l)
    for (int c = 0; c < 8; ++c) ASSERT_EQ(kl(l, c), kj(l, c));
  IMGFLT fj;
  le(fj, jpg);
  EXPECT_EQ(valores(fj), valores(IMGFLT(gj)));
  IMGCPX cj;
  le(cj, jpg);
  EXPECT_EQ(cj.nl(), 8);
  for (int l = 0; l < 8; ++l)
    for (int c = 0; c < 8; ++c) ASSERT_EQ(cj(l, c), CPXF(gj(l, c) / 255.0f, 0.0f));
}

TEST_F(Leitura, NativeFilesKeepTheirValues) {
  IMGFLT f;
  le(f, flt);
  EXPECT_EQ(valores(f), std::vector<double>(4, 0.25));
  IMGGRY g;
  le(g, flt);  // real to grey
  EXPECT_EQ(valores(g), std::vector<double>(4, 63));
  IMGDBL d;
  le(d, dbl);
  EXPECT_EQ(valores(d), std::vector<double>(4, 0.75));
  IMGCPX c;
  le(c, cpx);
  ASSERT_EQ(c.nl(), 2);
  EXPECT_EQ(c(1, 1), CPXF(1.0f, -1.0f));
}

TEST(Escrita, RefusedSuffixes) {
  struct Caso {
    const char* nome;
    void (*escreve)(const std::string&);
    const char* msg;
  };
  const char* bin = " Erro: IMGBIN deve ser impresso em formato BMP ou TXT \\(MAT\\) ou PBM";
  const char* gry = " Erro: IMGGRY deve ser impresso em formato TGA, TXT \\(MAT\\), JPG ou PGM";
  const char* cor = " Erro: IMGCOR deve ser impresso em formato TGA, TXT \\(MAT\\), JPG ou PPM";
  const char* sht =
      " Erro: IMGSHT deve ser impresso como TXT \\(MAT\\), IMG ou TGA \\(com perda de info\\)";
  const char* flt =
      " Erro: IMGFLT deve ser impresso como TXT \\(MAT\\), IMG ou TGA \\(com perda de info\\)";
  const char* dbl =
      " Erro: IMGDBL deve ser impresso como TXT \\(MAT\\), IMG ou TGA \\(com perda de info\\)";
  const char* cpx = " Erro: IMGCPX deve ser impresso como TXT \\(MAT\\), ou IMG";
  auto b = [](const std::string& n) { imp(IMGBIN(1, 1, 1), n); };
  auto g = [](const std::string& n) { imp(IMGGRY(1, 1), n); };
  auto k = [](const std::string& n) { imp(IMGCOR(1, 1), n); };
  auto s = [](const std::string& n) { imp(IMGSHT(1, 1), n); };
  auto f = [](const std::string& n) { imp(IMGFLT(1, 1), n); };
  auto d = [](const std::string& n) { imp(IMGDBL(1, 1), n); };
  auto c = [](const std::string& n) { imp(IMGCPX(1, 1), n); };
  const Caso casos[] = {
      {"a.tga", b, bin},  {"a.jpg", b, bin},  {"a.pgm1", b, bin}, {"clip", b, bin},
      {"a.bmp", g, gry},  {"a.ppm", g, gry},  {"a.img", g, gry},
      {"a.pgm", k, cor},  {"a.bmp", k, cor},  {"a.avi", k, cor},
      {"a.jpg", s, sht},  {"a.pgm", s, sht},  {"a.bmp", s, sht},
      {"a.ppm", f, flt},  {"a.pbm", f, flt},  {"a.gif", f, flt},
      {"a.bmp", d, dbl},  {"a.ppm", d, dbl},
      {"a.tga", c, cpx},  {"a.jpg", c, cpx},  {"a.", c, cpx},
  };
  for (const Caso& x : casos) {
    const std::string nome = scratch_path(x.nome);
    EXPECT_EXIT(x.escreve(nome), testing::ExitedWithCode(1),
                "^" + nome + " " + x.msg + "\n$")
        << x.nome;
  }
  // The name is shown exactly as given, number included.
  EXPECT_EXIT(b("out.tga75"), testing::ExitedWithCode(1), std::string("^out.tga75 ") + bin + "\n$");
  // The suffix is analysed before the class looks at the type.
  EXPECT_EXIT(b("a.jpeg"), testing::ExitedWithCode(1), "^Erro suf do arquivo: numero apos suf \n$");
}

// A header with a negative size is a file no reader accepts: every writer
// refuses such an image before creating anything.
TEST(Escrita, NegativeSizesAreRefusedBeforeTheFileIsCreated) {
  const std::string p = scratch_path("negativo");
  const IMGBIN bin(-5, 7);
  const IMGGRY gry(5, -7);
  const IMGCOR cor(-1, -1);
  const IMGFLT flt(-2, 3);
  const struct {
    std::function<void()> f;
    const char* msg;
  } casos[] = {
      {[&] { bin.ImpTxt(p); }, "Erro IMGBIN::ImpTxt - Tamanho invalido"},
      {[&] { flt.ImpTxt(p); }, "Erro IMGFLT::ImpTxt - Tamanho invalido"},
      {[&] { flt.ImpImg(p); }, "Erro IMGFLT::ImpImg - Tamanho invalido"},
      {[&] { ImpHex(bin, p); }, "Erro ImpHex - Tamanho invalido"},
      {[&] { imppbmt(bin, p); }, "Erro imppbmt - Tamanho invalido"},
      {[&] { imppbmb(bin, p); }, "Erro imppbmb - Tamanho invalido"},
      {[&] { imppgmt(gry, p); }, "Erro imppgmt - Tamanho invalido"},
      {[&] { imppgmb(gry, p); }, "Erro imppgmb - Tamanho invalido"},
      {[&] { impppmt(cor, p); }, "Erro impppmt - Tamanho invalido"},
      {[&] { impppmb(cor, p); }, "Erro impppmb - Tamanho invalido"},
      {[&] { gry.imp(p); }, "Erro IMGGRY::imp - Tamanho invalido"},
      {[&] { cor.ImpTga(p); }, "Erro IMGCOR::ImpTga - Tamanho invalido"},
      {[&] { ImpJpg(gry, p, 75); }, "Erro ImpJpg - Tamanho invalido"},
      {[&] { ImpJpg(cor, p, 75); }, "Erro ImpJpg - Tamanho invalido"},
      // Through the generic writer, which picks the writer by suffix.
      {[&] { imp(gry, p + ".pgm"); }, "Erro imppgmb - Tamanho invalido"},
      {[&] { imp(flt, p + ".txt"); }, "Erro IMGFLT::ImpTxt - Tamanho invalido"},
  };
  for (const auto& c : casos) {
    EXPECT_EXIT(c.f(), testing::ExitedWithCode(1), stderr_line(std::string(c.msg) + " ")) << c.msg;
    EXPECT_FALSE(exists(p)) << c.msg;
    EXPECT_FALSE(exists(p + ".pgm")) << c.msg;
    EXPECT_FALSE(exists(p + ".txt")) << c.msg;
  }
}

TEST(Escrita, NumberChoosesVariantAndIsDroppedFromTheName) {
  const IMGBIN b(1, 3, {1, 0, 1});
  const std::string raw = scratch_path("es_raw.pbm");
  imp(b, raw);
  EXPECT_EQ(read_text(raw).substr(0, 2), "P4");
  std::remove(raw.c_str());
  imp(b, raw + "1");
  EXPECT_EQ(read_text(raw).substr(0, 2), "P1");
  EXPECT_FALSE(exists(raw + "1"));
  IMGBIN back;
  le(back, raw);
  EXPECT_EQ(valores(back), valores(b));

  // The JPEG quality: the same bytes as the writer given that quality.
  IMGGRY g(16, 16);
  for (int l = 0; l < 16; ++l)
    for (int c = 0; c < 16; ++c) g(l, c) = BYTE(l * c);
  const std::string q = scratch_path("es_q.jpg"), r = scratch_path("es_r.jpg");
  imp(g, q + "40");
  ImpJpg(g, r, 40);
  EXPECT_EQ(read_text(q), read_text(r));
  EXPECT_FALSE(exists(q + "40"));
  imp(g, q);
  ImpJpg(g, r, 90);
  EXPECT_EQ(read_text(q), read_text(r));
  imp(g, q + "0");
  EXPECT_EQ(read_text(q), read_text(r));
}

TEST(Escrita, ConversionsOnTheWayOut) {
  // Real to BMP: 0.5 and above is white.
  const std::string bmp = scratch_path("es_flt.bmp");
  const IMGFLT f(1, 4, {0.49, 0.5, 1.0, -2.0});
  imp(f, bmp);
  IMGBIN b;
  le(b, bmp);
  EXPECT_EQ(valores(b), (std::vector<double>{0, 1, 1, 0}));
  EXPECT_EQ(valores(f), (std::vector<double>{0.49f, 0.5, 1.0, -2.0}));  // untouched

  // Short to TGA: clamped to 0 ... 255.
  const std::string tga = scratch_path("es_sht.tga");
  imp(IMGSHT(1, 4, {-5, 0, 100, 300}), tga);
  IMGGRY g;
  le(g, tga);
  EXPECT_EQ(valores(g), (std::vector<double>{0, 0, 100, 255}));

  // Double to plain PGM, through grey.
  const std::string pgm = scratch_path("es_dbl.pgm");
  imp(IMGDBL(1, 3, {0.0, 0.5, 1.5}), pgm + "1");
  EXPECT_EQ(read_text(pgm).substr(0, 2), "P2");
  le(g, pgm);
  EXPECT_EQ(valores(g), (std::vector<double>{0, 127, 255}));

  // Colour to 24-bit TGA, exactly.
  const std::string tga24 = scratch_path("es_cor.tga");
  const IMGCOR k(1, 2, {1, 2, 3, 250, 128, 0});
  imp(k, tga24);
  IMGCOR kb;
  le(kb, tga24);
  EXPECT_EQ(kb(0, 0), (COR{1, 2, 3}));
  EXPECT_EQ(kb(0, 1), (COR{250, 128, 0}));
}

TEST(Escrita, TextAndNativeRoundTrips) {
  const IMGSHT s(2, 2, {-300, 0, 7, 32767});
  const IMGCPX c(1, 2, {0.5, -1.5, 2.0, 0.25});
  const IMGDBL d(1, 2, {0.1, -3.25});
  for (const char* suf : {".img", ".txt", ".MAT"}) {
    const std::string p = scratch_path(std::string("es_rt") + suf);
    IMGSHT s2;
    imp(s, p);
    le(s2, p);
    EXPECT_EQ(valores(s2), valores(s)) << suf;
    IMGCPX c2;
    imp(c, p);
    le(c2, p);
    ASSERT_EQ(c2.nc(), 2) << suf;
    EXPECT_EQ(c2(0, 0), c(0, 0)) << suf;
    EXPECT_EQ(c2(0, 1), c(0, 1)) << suf;
  }
  const std::string p = scratch_path("es_rt_dbl.img");
  IMGDBL d2;
  imp(d, p);
  le(d2, p);
  EXPECT_EQ(valores(d2), valores(d));
}

namespace {

// The same bytes read by name and through a pipe, which cannot seek: the
// type detected from the first bytes and the picture read after it must come
// from the one stream.
template <class I>
void igual_por_pipe(const std::string& arquivo) {
  I por_nome, por_pipe;
  le(por_nome, arquivo);
  le(por_pipe, pipe_holding(read_bytes(arquivo)));
  SCOPED_TRACE(arquivo);
  expect_same_pixels(por_pipe, por_nome);
}

// The files, and a text matrix of the class's own (text matrices hold one
// class's values).
template <class I>
void toda_leitura_por_pipe(const std::vector<std::string>& arquivos, const I& img) {
  for (const std::string& a : arquivos) igual_por_pipe<I>(a);
  const std::string txt = scratch_path("pipe.txt");
  imp(img, txt);
  igual_por_pipe<I>(txt);
}

}  // namespace

TEST_F(Leitura, EveryClassReadsEveryFormatThroughAPipe) {
  const IMGGRY g(3, 5, {0, 40, 90, 130, 255, 7, 200, 128, 127, 60, 1, 2, 3, 250, 249});
  const IMGCOR k(g);
  // name as written (a number after the suffix picks the plain variant and
  // is not part of the file's name), and the image.
  std::vector<std::string> imagens = {tga_cinza, tga24, bmp, write_bytes(scratch_path("pipe_map.tga"), TGA_MAPA)};
  auto escreve = [&](const auto& img, const std::string& nome, const std::string& fica) {
    imp(img, scratch_path(nome));
    imagens.push_back(scratch_path(fica));
  };
  escreve(g, "pipe.pgm", "pipe.pgm");
  escreve(g, "pipe_t.pgm1", "pipe_t.pgm");
  escreve(k, "pipe.ppm", "pipe.ppm");
  escreve(k, "pipe_t.ppm1", "pipe_t.ppm");
  escreve(IMGBIN(g), "pipe.pbm", "pipe.pbm");
  escreve(IMGBIN(g), "pipe_t.pbm1", "pipe_t.pbm");
  escreve(g, "pipe.jpg", "pipe.jpg");
  escreve(k, "pipe_c.jpg", "pipe_c.jpg");
  toda_leitura_por_pipe(imagens, IMGBIN(g));
  toda_leitura_por_pipe(imagens, g);
  toda_leitura_por_pipe(imagens, k);
  toda_leitura_por_pipe(imagens, IMGFLT(g));
  toda_leitura_por_pipe(imagens, IMGDBL(g));
  toda_leitura_por_pipe(imagens, IMGCPX(g));
  // Short images take no BMP or 24-bit TGA.
  std::erase(imagens, bmp);
  std::erase(imagens, tga24);
  imagens.push_back(sht);
  toda_leitura_por_pipe(imagens, IMGSHT(g));
  // Native files.
  igual_por_pipe<IMGFLT>(flt);
  igual_por_pipe<IMGGRY>(flt);
  igual_por_pipe<IMGDBL>(dbl);
  igual_por_pipe<IMGCPX>(cpx);
}

TEST_F(Leitura, APipeOfAnUnknownTypeOrAnEmptyPipeIsRefusedLikeAFile) {
  EXPECT_EXIT(le_em<IMGBIN>(pipe_holding(std::string("GIF89a"))), testing::ExitedWithCode(1),
              stderr_line("Erro TipoImg - Formato deve ser JPG ou um dos nao-compactados: BMP-1bit ou "
                          "TGA-8bits ou TGA-24bits ou .TXT (MAT) ou .IMG ou .AVIou PBM ou PGM ou PPM "));
  const std::string p = pipe_holding(read_bytes(sht));
  EXPECT_EXIT(le_em<IMGBIN>(p), testing::ExitedWithCode(1), stderr_line("Tipo de imagem invalido  " + p));
}
