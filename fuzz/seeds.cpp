// Writes the seed inputs of every fuzz target: small valid files made by the
// library's own writers, a few variants of them patched byte by byte (the
// other row order, the other palette order, comments), JPEG files in the
// coding modes libjpeg reads, and images signed by kova for the verifier.
//
//   fuzz_seeds <corpus root>    writes <root>/<target>/seed-*
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "base/vetorbit.h"
#include "base/vetortxt.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/jpeg.h"
#include "image/leimp.h"
#include "image/png.h"
#include "image/pnm.h"
#include "image/tiff.h"
#include "sign.h"
#include "targets.h"
#include "video/avi.h"
#include "video/i3d.h"
#include "video/leimp.h"

using namespace imagorix;

namespace {

using Bytes = std::vector<unsigned char>;

std::string raiz;

std::string pasta(const std::string& alvo) {
  const std::string d = raiz + "/" + alvo;
  mkdir(d.c_str(), 0755);
  return d;
}

std::string nome(const std::string& alvo, const std::string& semente) { return pasta(alvo) + "/seed-" + semente; }

Bytes conteudo(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

void grava(const std::string& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}
void grava(const std::string& p, const std::string& s) { grava(p, Bytes(s.begin(), s.end())); }

// A copy of a written seed under other targets.
void copia(const std::string& de, std::initializer_list<const char*> alvos, const std::string& semente) {
  const Bytes b = conteudo(de);
  for (const char* a : alvos) grava(nome(a, semente), b);
}

constexpr std::initializer_list<const char*> LE = {"le_bin", "le_gry", "le_cor", "le_sht",
                                                   "le_flt", "le_dbl", "le_cpx"};

IMGBIN binaria(int nl, int nc, unsigned semente) {
  IMGBIN b(nl, nc, 1);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) b.set(l, c, ((l * 7 + c * 13 + semente) % 5) != 0);
  return b;
}

IMGGRY cinza(int nl, int nc) {
  IMGGRY g(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) g(l, c) = static_cast<BYTE>(37 * l + 11 * c);
  return g;
}

IMGCOR cor(int nl, int nc) {
  IMGCOR k(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) k(l, c) = COR{static_cast<BYTE>(40 * l), static_cast<BYTE>(90 * c), static_cast<BYTE>(l ^ c)};
  return k;
}

void bmp() {
  for (auto [nl, nc] : {std::pair{1, 1}, {3, 33}, {8, 8}}) {
    const std::string s = "bmp-" + std::to_string(nl) + "x" + std::to_string(nc);
    binaria(nl, nc, 1).ImpBmp(nome("bmp", s));
    copia(nome("bmp", s), LE, s);
  }
  Bytes b = conteudo(nome("bmp", "bmp-3x33"));
  // Palette white, black: the bits read inverted.
  Bytes p = b;
  for (int k = 0; k < 4; ++k) std::swap(p[54 + k], p[58 + k]);
  grava(nome("bmp", "bmp-palette-inverted"), p);
  // Negative height: top row first.
  Bytes t = b;
  t[22] = 0xFD, t[23] = t[24] = t[25] = 0xFF;
  grava(nome("bmp", "bmp-top-down"), t);
  // The image size field filled in.
  Bytes z = b;
  z[34] = static_cast<unsigned char>(b.size() - 62);
  grava(nome("bmp", "bmp-image-size"), z);
}

void pnm() {
  const IMGBIN b = binaria(3, 10, 2);
  const IMGGRY g = cinza(2, 3);
  const IMGCOR k = cor(2, 2);
  imppbmt(b, nome("lepbmt", "p1"));
  imppbmb(b, nome("lepbmb", "p4"));
  imppgmt(g, nome("lepgmt", "p2"));
  imppgmb(g, nome("lepgmb", "p5"));
  impppmt(k, nome("leppmt", "p3"));
  impppmb(k, nome("leppmb", "p6"));
  grava(nome("lepbmt", "p1-comments"), "P1 # c\n/* block */ 3 2\n1 0 1\n0 1 x\n");
  grava(nome("lepgmt", "p2-max15"), "P2\n# scaled\n3 1\n15\n0 7 15\n");
  grava(nome("lepgmt", "p2-max65535"), "P2 2 1 65535 65535 300\n");
  grava(nome("lepgmb", "p5-max15"), std::string("P5 2 2 15\n\x00\x07\x0f\x10", 14));
  grava(nome("leppmt", "p3-max7"), "P3 1 2 7 7 0 3 1 2 3\n");
  grava(nome("leppmb", "p6-max100"), std::string("P6 1 1 100 \x64\x32\x00", 15));
  copia(nome("lepbmb", "p4"), LE, "p4");
  copia(nome("lepgmt", "p2"), LE, "p2");
  copia(nome("leppmb", "p6"), LE, "p6");
}

// A colour-mapped TGA: header, map (blue, green, red), indices.
Bytes tga_mapa(int nl, int nc, int nmapa, unsigned char desc) {
  Bytes b = {0, 1, 1, 0, 0, static_cast<unsigned char>(nmapa), 0, 24, 0, 0, 0, 0,
             static_cast<unsigned char>(nc), 0, static_cast<unsigned char>(nl), 0, 8, desc};
  for (int i = 0; i < nmapa; ++i)
    for (int c = 0; c < 3; ++c) b.push_back(static_cast<unsigned char>(60 * i + 20 * c));
  for (int k = 0; k < nl * nc; ++k) b.push_back(static_cast<unsigned char>(k % nmapa));
  return b;
}

void tga() {
  cinza(2, 3).imp(nome("tga_gry", "grey"));
  Bytes g = conteudo(nome("tga_gry", "grey"));
  g[17] = 0;
  grava(nome("tga_gry", "grey-bottom-up"), g);
  cor(3, 2).ImpTga(nome("tga_cor", "rgb"));
  Bytes k = conteudo(nome("tga_cor", "rgb"));
  k[17] = 0;
  grava(nome("tga_cor", "rgb-bottom-up"), k);
  for (const char* a : {"tgai_gry", "tgap_gry", "tgap_cor"}) {
    grava(nome(a, "mapped"), tga_mapa(2, 3, 4, 0x20));
    grava(nome(a, "mapped-bottom-up"), tga_mapa(3, 2, 6, 0));
  }
  copia(nome("tga_gry", "grey"), LE, "tga-grey");
  copia(nome("tga_cor", "rgb"), LE, "tga-rgb");
  copia(nome("tgap_gry", "mapped"), LE, "tga-mapped");
}

// One small image of each class with a native file, written both as text and
// natively: extreme values, tiny and huge magnitudes.
struct NATIVAS {
  IMGSHT s{2, 2, {-300, 7, 32767, -32768}};
  IMGFLT f{1, 3, {0.5, -1e-7, 3e12}};
  IMGDBL d{2, 1, {1.0 / 3, -2.5e-300}};
  IMGCPX x{1, 2, {1.5, -2, 0, 1e-3}};
};

void texto() {
  const IMGGRY g = cinza(2, 3);
  binaria(2, 3, 0).ImpTxt(nome("txt_bin", "bin"));
  g.ImpTxt(nome("txt_gry", "gry"));
  cor(2, 2).ImpTxt(nome("txt_cor", "cor"));
  const NATIVAS n;
  n.s.ImpTxt(nome("txt_sht", "sht"));
  n.f.ImpTxt(nome("txt_flt", "flt"));
  n.d.ImpTxt(nome("txt_dbl", "dbl"));
  n.x.ImpTxt(nome("txt_cpx", "cpx"));
  grava(nome("txt_bin", "no-centre"), "2 2 1 0 0 1");
  grava(nome("txt_gry", "comments"), "/* size */ 1 3 // row\n 0 300 -5 # centre\n 0 1");
  grava(nome("txt_sht", "keywords"), "1;4; max min maxsht 70000");
  grava(nome("txt_flt", "keywords"), "(1,3) infinito -infinito . 4");
  grava(nome("txt_dbl", "keywords"), "1 2 max -m\n0 0\n");
  grava(nome("txt_cpx", "pairs"), "1 1 (m,-m)");
  copia(nome("txt_gry", "gry"), LE, "txt");
  copia(nome("txt_cpx", "cpx"), {"le_cpx"}, "txt-cpx");
  // A size no image has, which once converted into a file no reader took.
  grava(nome("txt_gry", "negative"), "-5 7\n");
  copia(nome("txt_gry", "negative"), LE, "txt-negative");
}

void nativo() {
  const NATIVAS n;
  n.s.ImpImg(nome("img_sht", "sht"));
  n.f.ImpImg(nome("img_flt", "flt"));
  n.d.ImpImg(nome("img_dbl", "dbl"));
  n.x.ImpImg(nome("img_cpx", "cpx"));
  copia(nome("img_sht", "sht"), {"le_sht"}, "img");
  copia(nome("img_flt", "flt"), LE, "img-flt");
  copia(nome("img_dbl", "dbl"), {"le_dbl"}, "img");
  copia(nome("img_cpx", "cpx"), {"le_cpx"}, "img");
  Bytes b = conteudo(nome("img_sht", "sht"));
  const unsigned char menos5[4] = {0xFB, 0xFF, 0xFF, 0xFF};
  std::copy(menos5, menos5 + 4, b.begin() + 12);  // the row count
  grava(nome("img_sht", "negative"), b);
  copia(nome("img_sht", "negative"), {"le_sht"}, "img-negative");
}

// JPEG coding modes the library's own writer does not use, straight through
// libjpeg: progressive, arithmetic coding, four components.
struct ERRO_JPEG {
  jpeg_error_mgr pub;
  std::jmp_buf salto;
};

void jpeg_especial(const std::string& p, int nl, int nc, int planos, bool progressivo, bool aritmetico) {
  jpeg_compress_struct c{};
  ERRO_JPEG e{};
  c.err = jpeg_std_error(&e.pub);
  e.pub.error_exit = [](j_common_ptr ci) {
    (*ci->err->output_message)(ci);
    std::longjmp(reinterpret_cast<ERRO_JPEG*>(ci->err)->salto, 1);
  };
  FILE* f = std::fopen(p.c_str(), "wb");
  if (!f) return;
  if (setjmp(e.salto)) {
    // A libjpeg without arithmetic coding: no such seed.
    jpeg_destroy_compress(&c);
    std::fclose(f);
    std::remove(p.c_str());
    return;
  }
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = static_cast<JDIMENSION>(nc);
  c.image_height = static_cast<JDIMENSION>(nl);
  c.input_components = planos;
  c.in_color_space = planos == 1 ? JCS_GRAYSCALE : planos == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 60, TRUE);
  if (progressivo) jpeg_simple_progression(&c);
  c.arith_code = aritmetico ? TRUE : FALSE;
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> linha(static_cast<std::size_t>(nc * planos));
  while (c.next_scanline < c.image_height) {
    for (std::size_t i = 0; i < linha.size(); ++i) linha[i] = static_cast<JSAMPLE>(i * 29 + c.next_scanline * 53);
    JSAMPROW r = linha.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(f);
}

void jpeg() {
  ImpJpg(cinza(8, 8), nome("jpg_gry", "grey-8x8"), 75);
  ImpJpg(cinza(9, 17), nome("jpg_gry", "grey-9x17"), 90);
  ImpJpg(cor(8, 8), nome("jpg_cor", "colour-8x8"), 75);
  ImpJpg(cor(16, 16), nome("jpg_cor", "colour-16x16"), 50);
  jpeg_especial(nome("jpg_gry", "progressive"), 16, 8, 1, true, false);
  jpeg_especial(nome("jpg_cor", "progressive"), 16, 16, 3, true, false);
  jpeg_especial(nome("jpg_gry", "arithmetic"), 8, 16, 1, false, true);
  jpeg_especial(nome("jpg_cor", "arithmetic"), 8, 8, 3, false, true);
  jpeg_especial(nome("jpg_gry", "cmyk"), 8, 8, 4, false, false);
  jpeg_especial(nome("jpg_cor", "cmyk"), 8, 8, 4, false, false);
  copia(nome("jpg_gry", "grey-8x8"), LE, "jpg-grey");
  copia(nome("jpg_cor", "colour-8x8"), LE, "jpg-colour");
}

void numeros() {
  // The first byte picks the reader (0 ... 12) or alternates them (13 on).
  const std::string s[] = {
      std::string(1, '\x00') + "(12, 3.5); 4;5 nl=5;nc=7",
      std::string(1, '\x01') + "1011 x.f",
      std::string(1, '\x02') + "word_1 a:b\\c@d -x.y",
      std::string(1, '\x03') + "true false 1 0 t f v x .",
      std::string(1, '\x04') + "M . 1e-3 -infinito +max 3.5.1 inf nan",
      std::string(1, '\x05') + "1e39 -1e-50 max min",
      std::string(1, '\x06') + "70000 maxsht minsht -32769 12abc",
      std::string(1, '\x07') + "2147483647 -2147483648 2147483648",
      std::string(1, '\x08') + "300 -5 255 99999999999",
      std::string(1, '\x09') + "1 2 /* 3 */ 4",
      std::string(1, '\x0a') + "1x0.f",
      std::string(1, '\x0b') + "1 2 // c\r3 4 # d\n5 6",
      std::string(1, '\x0c') + "7 1.5 8 -2e2",
      std::string(1, '\x20') + "1 2.5 x word 3 max 0 70000 1 . 9 10 11 12 13 14\x1a 15",
      std::string(1, '\x0d') + "/* open",
  };
  int i = 0;
  for (const std::string& t : s) grava(nome("lenum", "tokens-" + std::to_string(i++)), t);
}

void vetorbit() {
  VETORBIT v(45);
  for (int i = 0; i < v.nv(); ++i) v(i) = (i * 5 % 7) < 3;
  imp(v, nome("vetorbit", "bits-45"));
  grava(nome("vetorbit", "hand"), "6\n\n1x0.f1\n");
  grava(nome("vetorbit", "empty"), "0\n");
}

// PNG and TIFF pages of the three kinds, as the library writes them, and
// given to the generic readers too.
void png_tiff() {
  const IMGBIN b = binaria(7, 45, 1);
  const IMGGRY g = cinza(5, 9);
  const IMGCOR c = cor(4, 6);
  ImpPng(b, nome("png", "bin"));
  ImpPng(g, nome("png", "gry"));
  ImpPng(c, nome("png", "cor"));
  ImpTiff(b, nome("tiff", "bin-g4"));
  ImpTiff(g, nome("tiff", "gry-deflate"));
  ImpTiff(c, nome("tiff", "cor-deflate"));
  copia(nome("png", "bin"), LE, "png");
  copia(nome("tiff", "bin-g4"), LE, "tiff");
}

// Vectors and matrices written by the library, the same by hand with the
// separators, comments and keywords of the text numbers, and sizes no
// file may carry.
void vetores() {
  VETOR<int> vi(4);
  VETOR<double> vd(3);
  VETOR<PONTO2> p2(3);
  VETOR<PONTOI2> pi2(2);
  for (int i = 0; i < 4; ++i) vi(i) = i * i - 3;
  for (int i = 0; i < 3; ++i) {
    vd(i) = 1.0 / (i + 1) - 0.5;
    p2(i) = PONTO2(i * 0.25, -i * 1e-3);
  }
  pi2(0) = PONTOI2(1, -2);
  pi2(1) = PONTOI2(2147483647, 0);
  imp(vi, nome("vet_int", "imp"));
  imp(vd, nome("vet_dbl", "imp"));
  imp(p2, nome("vet_p2", "imp"));
  imp(pi2, nome("vet_pi2", "imp"));
  imp(MATRIZ<int>(2, 3, 1, -2, 3, 4, 5, 6), nome("mat_int", "imp"));
  imp(MATRIZ<double>(2, 2, 0.5, 1e-9, -3.0, 1e30), nome("mat_dbl", "imp"));
  grava(nome("vet_int", "hand"), "3 # n\n(1, 2); /* x */ 3\n");
  grava(nome("vet_dbl", "hand"), "3\n\nmax -infinito 2.5e-3\n");
  grava(nome("vet_p2", "hand"), "2 2 (1,2) (3.5,max)");
  grava(nome("vet_pi2", "hand"), "1, 2 // one point\n7 8");
  grava(nome("mat_int", "hand"), "2 2\n\n1 2 \n3 4 \n");
  grava(nome("mat_dbl", "hand"), "1 3\n.  m  4\n");
  for (const char* a : {"vet_int", "vet_dbl"}) grava(nome(a, "negative"), "-5\n1\n");
  for (const char* a : {"vet_p2", "vet_pi2"}) grava(nome(a, "negative"), "-5 2\n1 2\n");
  for (const char* a : {"mat_int", "mat_dbl"}) grava(nome(a, "negative"), "-5 7\n1\n");
}

// Images signed by kova for the verifier: a page-like pattern of strokes on
// white, which compresses well enough to carry the watermark.
void assinadas() {
  int n = 0;
  for (auto [nl, nc] : {std::pair{60, 60}, {48, 96}, {66, 61}}) {
    IMGBIN b(nl, nc, 1);
    for (int l = 0; l < nl; ++l)
      for (int c = 0; c < nc; ++c) {
        const bool traco = (l % 12 >= 3 && l % 12 <= 5 && (c / 4) % 3 != 2) || (c % 17 == 3 && l % 12 < 8);
        b.set(l, c, !traco);
      }
    const std::string tmp = raiz + "/original.bmp", marcada = nome("kova_v", "marked-" + std::to_string(n++) + ".bmp");
    b.ImpBmp(tmp);
    kova::sign(tmp, fuzz::KovaKey, marcada, fuzz::KovaMac, 3);
    // Also the seeds of the target that re-makes their MAC.
    copia(marcada, {"kova_mac"}, "marked-" + std::to_string(n - 1) + ".bmp");
    std::remove(tmp.c_str());
  }
  // The verifier reads any binary format: the first image again as raw PBM.
  IMGBIN m;
  le(m, nome("kova_v", "marked-0.bmp"));
  imppbmb(m, nome("kova_v", "marked-0.pbm"));
}

// Sequences: AVI files of both kinds written here, a colour file laid out as
// ffmpeg writes uncompressed video (no handler, "00dc" frames, rows top-down
// under a negative height, JUNK inside the stream list), native sequence
// files, and two-frame TGA series as the halves of one input.
void sequencias() {
  I3DGRY g(3, 3, 5);
  I3DCOR k(2, 3, 5);
  for (int f = 0; f < 3; ++f)
    for (int l = 0; l < 3; ++l)
      for (int c = 0; c < 5; ++c) {
        g(f, l, c) = static_cast<BYTE>(61 * f + 17 * l + 5 * c);
        k(f, l, c) = COR{static_cast<BYTE>(40 * f + l), static_cast<BYTE>(90 * c), static_cast<BYTE>(l ^ c)};
      }
  k.fd() = 40000;
  ImpAvi(g, nome("avi_gry", "grey.avi"));
  ImpAvi(k, nome("avi_cor", "colour.avi"));
  copia(nome("avi_gry", "grey.avi"), {"avi_flt", "le3_gry", "le3_flt"}, "grey.avi");
  copia(nome("avi_cor", "colour.avi"), {"le3_cor"}, "colour.avi");

  // The ffmpeg layout, from our colour file: frames at 252 and 308.
  Bytes b = conteudo(nome("avi_cor", "colour.avi"));
  auto poe32 = [](Bytes& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + std::size_t(i)] = static_cast<unsigned char>(x >> (8 * i));
  };
  std::fill(b.begin() + 112, b.begin() + 116, 0);
  poe32(b, 180, static_cast<std::uint32_t>(-3));
  for (std::size_t q : {252u, 308u}) {
    b[q + 3] = 'c';
    std::swap_ranges(b.begin() + std::ptrdiff_t(q + 8), b.begin() + std::ptrdiff_t(q + 24), b.begin() + std::ptrdiff_t(q + 40));
  }
  // A JUNK chunk closing the stream list, as ffmpeg reserves for its index.
  const Bytes junk = {'J', 'U', 'N', 'K', 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  b.insert(b.begin() + 212, junk.begin(), junk.end());
  for (std::size_t s : {4u, 16u, 92u}) {
    std::uint32_t v = b[s] | b[s + 1] << 8 | b[s + 2] << 16 | std::uint32_t(b[s + 3]) << 24;
    poe32(b, s, v + static_cast<std::uint32_t>(junk.size()));
  }
  grava(nome("avi_cor", "ffmpeg-layout.avi"), b);
  copia(nome("avi_cor", "ffmpeg-layout.avi"), {"le3_cor"}, "ffmpeg-layout.avi");

  I3DSHT s(2, 2, 2);
  s(1) = IMGSHT(2, 2, {-300, 7, 32767, -32768});
  I3DFLT x(2, 1, 3);
  x(0) = IMGFLT(1, 3, {0.5, -1e-7, 3e12});
  I3DCPX z(2, 1, 2);
  z(1) = IMGCPX(1, 2, {1.5, -2, 0, 1e-3});
  s.ImpImg(nome("img3_sht", "sht"));
  x.ImpImg(nome("img3_flt", "flt"));
  z.ImpImg(nome("img3_cpx", "cpx"));
  copia(nome("img3_sht", "sht"), {"le3_sht"}, "img");
  copia(nome("img3_flt", "flt"), {"le3_flt"}, "img");
  copia(nome("img3_cpx", "cpx"), {"le3_cpx"}, "img");

  const std::string t = raiz + "/quadro.tga";
  Bytes serie;
  cinza(2, 3).imp(t);
  serie = conteudo(t);
  IMGGRY(2, 3, BYTE(9)).imp(t);
  Bytes q = conteudo(t);
  serie.insert(serie.end(), q.begin(), q.end());
  grava(nome("tgaseq_gry", "grey"), serie);
  cor(3, 2).ImpTga(t);
  serie = conteudo(t);
  q = serie;
  q[20] ^= 0xFF;
  serie.insert(serie.end(), q.begin(), q.end());
  grava(nome("tgaseq_cor", "colour"), serie);
  std::remove(t.c_str());
}

// The pipe target: a byte naming the reader, then one of that reader's seeds,
// or every seed of a generic reader, whose detection reads ahead on the pipe
// in a way of its own for each format.
void por_pipe() {
  const auto leitores = fuzz::pipe_readers();
  for (std::size_t i = 0; i < leitores.size(); ++i) {
    const std::string d = raiz + "/" + leitores[i];
    std::vector<std::string> nomes;
    if (DIR* dir = opendir(d.c_str())) {
      while (dirent* e = readdir(dir))
        if (std::string(e->d_name).starts_with("seed-")) nomes.push_back(e->d_name);
      closedir(dir);
    }
    std::sort(nomes.begin(), nomes.end());
    if (!std::string(leitores[i]).starts_with("le_") && !nomes.empty()) nomes.resize(1);
    for (const std::string& n : nomes) {
      Bytes b = conteudo(d + "/" + n);
      b.insert(b.begin(), static_cast<unsigned char>(i));
      grava(nome("pipe", std::string(leitores[i]) + "-" + n.substr(5)), b);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <corpus root>\n");
    return 2;
  }
  raiz = argv[1];
  mkdir(raiz.c_str(), 0755);
  bmp();
  pnm();
  tga();
  texto();
  nativo();
  jpeg();
  numeros();
  vetorbit();
  vetores();
  png_tiff();
  assinadas();
  sequencias();
  por_pipe();
  return 0;
}
