#include "image/jpeg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

long tamanho(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

// Smooth content with some detail, in sizes that are not multiples of the
// 8x8 (or 16x16) blocks, so the edges of the coder are exercised too.
IMGGRY cinza(int nl, int nc) {
  IMGGRY g(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) g(l, c) = static_cast<BYTE>(20 + 4 * l + 3 * c);
  return g;
}

IMGCOR colorida(int nl, int nc) {
  IMGCOR k(nl, nc);
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c)
      k(l, c) = COR{static_cast<BYTE>(200 - 5 * c), static_cast<BYTE>(30 + 6 * l),
                    static_cast<BYTE>(100 + 2 * (l + c))};
  return k;
}

int maxdif(const IMGGRY& a, const IMGGRY& b) {
  int m = 0;
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c) m = std::max(m, std::abs(a(l, c) - b(l, c)));
  return m;
}

// Sum of the absolute channel differences.
long erro_total(const IMGCOR& a, const IMGCOR& b) {
  long s = 0;
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c)
      s += std::abs(a(l, c).r - b(l, c).r) + std::abs(a(l, c).g - b(l, c).g) +
           std::abs(a(l, c).b - b(l, c).b);
  return s;
}

int maxdif(const IMGCOR& a, const IMGCOR& b) {
  int m = 0;
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c) {
      m = std::max(m, std::abs(a(l, c).r - b(l, c).r));
      m = std::max(m, std::abs(a(l, c).g - b(l, c).g));
      m = std::max(m, std::abs(a(l, c).b - b(l, c).b));
    }
  return m;
}

// A file written by libjpeg directly, not through the library: any number of
// components and colour space, optionally progressive.
void jpeg_direto(const std::string& p, int nl, int nc, int planos, J_COLOR_SPACE cs,
                 const std::vector<JSAMPLE>& amostras, bool progressivo) {
  jpeg_compress_struct ci;
  jpeg_error_mgr em;
  ci.err = jpeg_std_error(&em);
  jpeg_create_compress(&ci);
  std::FILE* f = std::fopen(p.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  jpeg_stdio_dest(&ci, f);
  ci.image_width = nc;
  ci.image_height = nl;
  ci.input_components = planos;
  ci.in_color_space = cs;
  jpeg_set_defaults(&ci);
  jpeg_set_quality(&ci, 95, TRUE);
  if (progressivo) jpeg_simple_progression(&ci);
  jpeg_start_compress(&ci, TRUE);
  while (ci.next_scanline < ci.image_height) {
    JSAMPROW r = const_cast<JSAMPLE*>(&amostras[ci.next_scanline * nc * planos]);
    jpeg_write_scanlines(&ci, &r, 1);
  }
  jpeg_finish_compress(&ci);
  jpeg_destroy_compress(&ci);
  std::fclose(f);
}

}  // namespace

TEST(Jpeg, GreyRoundTripKeepsSizeWithinCompressionLoss) {
  const std::string p = scratch_path("jpg_grey.jpg");
  const IMGGRY g = cinza(13, 21);
  ImpJpg(g, p, 90);
  IMGGRY back(2, 2);  // a different size: reading resizes
  LeJpg(back, p);
  ASSERT_EQ(back.nl(), 13);
  ASSERT_EQ(back.nc(), 21);
  EXPECT_LE(maxdif(g, back), 6);
  EXPECT_EQ(PlanosJpg(p), 1);

  // The same one-component file in colour: every channel is the grey level.
  IMGCOR k;
  LeJpg(k, p);
  ASSERT_EQ(k.nl(), 13);
  ASSERT_EQ(k.nc(), 21);
  for (int l = 0; l < 13; ++l)
    for (int c = 0; c < 21; ++c) ASSERT_EQ(k(l, c), (COR{back(l, c), back(l, c), back(l, c)}));
}

TEST(Jpeg, ColourRoundTripAndGreyOfAColourFile) {
  const std::string p = scratch_path("jpg_cor.jpg");
  const IMGCOR k = colorida(17, 9);
  ImpJpg(k, p, 95);
  IMGCOR back;
  LeJpg(back, p);
  ASSERT_EQ(back.nl(), 17);
  ASSERT_EQ(back.nc(), 9);
  EXPECT_LE(maxdif(k, back), 12);
  EXPECT_EQ(PlanosJpg(p), 3);

  // Read as grey, each pixel is (r + g + b + 1) / 3 of the decoded colours.
  IMGGRY g;
  LeJpg(g, p);
  ASSERT_EQ(g.nl(), 17);
  ASSERT_EQ(g.nc(), 9);
  for (int l = 0; l < 17; ++l)
    for (int c = 0; c < 9; ++c) {
      const COR v = back(l, c);
      ASSERT_EQ(g(l, c), (v.r + v.g + v.b + 1) / 3) << l << "," << c;
    }
}

TEST(Jpeg, QualityReachesTheCoder) {
  const std::string lo = scratch_path("jpg_q10.jpg"), hi = scratch_path("jpg_q98.jpg");
  const IMGCOR k = colorida(40, 40);
  ImpJpg(k, lo, 10);
  ImpJpg(k, hi, 98);
  EXPECT_LT(tamanho(lo), tamanho(hi));
  IMGCOR a, b;
  LeJpg(a, lo);
  LeJpg(b, hi);
  EXPECT_LT(erro_total(k, b), erro_total(k, a));
}

TEST(Jpeg, ReadsProgressiveFilesOfOtherWriters) {
  const std::string p = scratch_path("jpg_prog.jpg");
  const int nl = 12, nc = 30;
  std::vector<JSAMPLE> s;
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) {
      s.push_back(static_cast<JSAMPLE>(8 * c));
      s.push_back(static_cast<JSAMPLE>(10 * l));
      s.push_back(90);
    }
  jpeg_direto(p, nl, nc, 3, JCS_RGB, s, true);
  IMGCOR k;
  LeJpg(k, p);
  ASSERT_EQ(k.nl(), nl);
  ASSERT_EQ(k.nc(), nc);
  int m = 0;
  for (int l = 0; l < nl; ++l)
    for (int c = 0; c < nc; ++c) {
      const JSAMPLE* v = &s[3 * (l * nc + c)];
      m = std::max({m, std::abs(k(l, c).r - v[0]), std::abs(k(l, c).g - v[1]),
                    std::abs(k(l, c).b - v[2])});
    }
  EXPECT_LE(m, 12);
}

TEST(Jpeg, FourComponentFilesAreRefusedByBothReaders) {
  const std::string p = scratch_path("jpg_cmyk.jpg");
  std::vector<JSAMPLE> s(4 * 8 * 8, 77);
  jpeg_direto(p, 8, 8, 4, JCS_CMYK, s, false);
  EXPECT_EQ(PlanosJpg(p), 4);
  const char* msg = "^JPG deve ter 1 ou 3 planos de cores \n$";
  IMGGRY g;
  EXPECT_EXIT(LeJpg(g, p), testing::ExitedWithCode(1), msg);
  IMGCOR k;
  EXPECT_EXIT(LeJpg(k, p), testing::ExitedWithCode(1), msg);
}

TEST(Jpeg, ReadingErrors) {
  IMGGRY g;
  EXPECT_EXIT(LeJpg(g, "/nonexistent/x.jpg"), testing::ExitedWithCode(1),
              "^can't open  /nonexistent/x.jpg\n$");
  EXPECT_EXIT(PlanosJpg("/nonexistent/x.jpg"), testing::ExitedWithCode(1),
              "^can't open  /nonexistent/x.jpg\n$");

  // Data libjpeg rejects: its own message first, then ours.
  struct Caso { const char* nome; std::vector<unsigned char> bytes; };
  const Caso casos[] = {
      {"jpg_empty.jpg", {}},
      {"jpg_soi_only.jpg", {0xFF, 0xD8}},
      {"jpg_garbage.jpg", {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0x12, 0x34, 0x56}},
      {"jpg_not.jpg", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}},
  };
  for (const Caso& k : casos) {
    const std::string p = scratch_path(k.nome);
    write_bytes(p, k.bytes);
    EXPECT_EXIT(LeJpg(g, p), testing::ExitedWithCode(1), "^([^\n]+\n)+Erro: Leitura JPG \n$") << k.nome;
    IMGCOR c;
    EXPECT_EXIT(LeJpg(c, p), testing::ExitedWithCode(1), "^([^\n]+\n)+Erro: Leitura JPG \n$") << k.nome;
    EXPECT_EXIT(PlanosJpg(p), testing::ExitedWithCode(1), "^([^\n]+\n)+Erro: Leitura JPG \n$") << k.nome;
  }
}

TEST(Jpeg, TruncatedDataIsReadWithTheLibrarysWarning) {
  const std::string p = scratch_path("jpg_trunc.jpg"), q = scratch_path("jpg_trunc_cut.jpg");
  ImpJpg(cinza(64, 64), p, 90);
  Bytes b = read_bytes(p);
  ASSERT_GT(b.size(), 40u);
  b.resize(b.size() - 40);
  write_bytes(q, b);
  // Missing entropy data is a warning in libjpeg: the image keeps its size.
  testing::internal::CaptureStderr();
  IMGGRY g;
  LeJpg(g, q);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(g.nl(), 64);
  EXPECT_EQ(g.nc(), 64);
  EXPECT_FALSE(err.empty());
}

// A header promising far more pixels than the file's bytes could code is
// refused before the image is allocated, from a file and from a pipe, while
// a real file that compresses very well is still read.
TEST(Jpeg, SizesBeyondWhatTheDataCouldCodeAreRefused) {
  const std::string p = scratch_path("jpg_small.jpg"), q = scratch_path("jpg_huge.jpg");
  ImpJpg(cinza(8, 8), p, 75);
  Bytes b = read_bytes(p);
  // The baseline frame header: marker, length, precision, height, width.
  std::size_t sof = 0;
  while (sof + 9 < b.size() && !(b[sof] == 0xFF && b[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, b.size());
  b[sof + 5] = b[sof + 7] = 30000 >> 8;
  b[sof + 6] = b[sof + 8] = 30000 & 0xFF;
  write_bytes(q, b);
  // Under a cap on the address space, allocating for the header would end
  // with the image's allocation message instead.
  IMGGRY g;
  IMGCOR c;
  EXPECT_EXIT((cap_address_space(), LeJpg(g, q)), testing::ExitedWithCode(1), "^Erro: Leitura JPG \n$");
  EXPECT_EXIT((cap_address_space(), LeJpg(c, q)), testing::ExitedWithCode(1), "^Erro: Leitura JPG \n$");
  EXPECT_EXIT((cap_address_space(), LeJpg(g, pipe_holding(b))), testing::ExitedWithCode(1), "^Erro: Leitura JPG \n$");

  // Uniform images: among the most compressible files a coder writes.
  ImpJpg(IMGGRY(1000, 1200, BYTE(255)), p, 90);
  LeJpg(g, p);
  EXPECT_EQ(g.nl(), 1000);
  EXPECT_EQ(g.nc(), 1200);
  EXPECT_EQ(g(999, 1199), 255);
  ImpJpg(IMGCOR(1000, 1200, 0x102030), p, 90);
  LeJpg(c, p);
  EXPECT_EQ(c.nl(), 1000);
  EXPECT_EQ(c.nc(), 1200);
  // The same from a pipe.
  b = read_bytes(p);
  ASSERT_FALSE(b.empty());
  EXPECT_EXIT(
      {
        IMGCOR k;
        LeJpg(k, pipe_holding(b));
        std::exit(k.nl() == 1000 && k.nc() == 1200 ? 3 : 4);
      },
      testing::ExitedWithCode(3), "");
}

TEST(Jpeg, WritingErrors) {
  EXPECT_EXIT(ImpJpg(cinza(4, 4), "/nonexistent/dir/x.jpg", 90), testing::ExitedWithCode(1),
              "^Can't open /nonexistent/dir/x.jpg\n \n$");
  EXPECT_EXIT(ImpJpg(cinza(64, 64), "/dev/full", 90), testing::ExitedWithCode(1),
              "^Erro ImpJpg - Falha de escrita  /dev/full\n$");
  EXPECT_EXIT(ImpJpg(colorida(300, 300), "/dev/full", 90), testing::ExitedWithCode(1),
              "^Erro ImpJpg - Falha de escrita  /dev/full\n$");

  // An image libjpeg cannot code: its message, ours, and no file left.
  const std::string vazio = scratch_path("jpg_vazio.jpg");
  std::remove(vazio.c_str());
  EXPECT_EXIT(ImpJpg(IMGGRY(), vazio, 90), testing::ExitedWithCode(1),
              "^[^\n]+\nErro: Escrita JPG \n$");
  EXPECT_FALSE(exists(vazio));
}

TEST(Jpeg, FailedWriteRemovesThePartialFile) {
  const std::string p = scratch_path("jpg_partial.jpg");
  std::remove(p.c_str());
  // A file size limit makes a write fail part way, as a full disk would.
  EXPECT_EXIT((cap_file_size(2000), ImpJpg(colorida(400, 400), p, 100)), testing::ExitedWithCode(1),
              "^Erro ImpJpg - Falha de escrita  .*jpg_partial.jpg\n$");
  EXPECT_FALSE(exists(p));
}
