// Native sequence files and series of numbered TGA files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "image/img.h"
#include "image/leimp.h"
#include "support/files.h"
#include "support/images.h"
#include "video/i3d.h"

using namespace imagorix;
using namespace testsupport;

namespace {

Bytes tag(const char* t, unsigned char oitavo = 0x1A) {
  Bytes b(t, t + 7);
  b.push_back(oitavo);
  return b;
}

// A native sequence file: tag, nf, then one record per frame of sizes
// (nl, nc) with pixels of value v (as 32-bit floats).
Bytes arquivo_flt(int nf, const std::vector<std::pair<int, int>>& tamanhos, const char* qtag = "IMGFLT*",
                  int elemento = 4) {
  Bytes b = tag("I3DFLT*");
  put_le32(b, b.size(), nf);
  for (auto [nl, nc] : tamanhos) {
    const Bytes t = tag(qtag, 'x');
    b.insert(b.end(), t.begin(), t.end());
    for (int v : {elemento, nl, nc, 0, 0}) put_le32(b, b.size(), v);
    for (int k = 0; k < nl * nc; ++k) put_le32(b, b.size(), 0x3F000000);  // 0.5f
  }
  return b;
}

template <class P>
bool mesmos_bits(const I3D<P>& a, const I3D<P>& b) {
  if (a.nf() != b.nf() || a.nl() != b.nl() || a.nc() != b.nc()) return false;
  for (int f = 0; f < a.nf(); ++f) {
    if (a(f).lc() != b(f).lc() || a(f).cc() != b(f).cc()) return false;
    if (a(f).n() > 0 && std::memcmp(a(f).data(), b(f).data(), sizeof(P) * std::size_t(a(f).n())) != 0) return false;
  }
  return true;
}

}  // namespace

TEST(NativoSeq, WritesTheFormatBytes) {
  I3DSHT s(2, 1, 2);
  s(0, 0, 0) = -2;
  s(1, 0, 1) = 300;
  s(1).lc() = 5;
  const std::string p = scratch_path("s.img");
  s.ImpImg(p);
  Bytes quer = tag("I3DSHT*");
  put_le32(quer, quer.size(), 2);
  for (int f = 0; f < 2; ++f) {
    const Bytes t = tag("IMGSHT*");
    quer.insert(quer.end(), t.begin(), t.end());
    for (int v : {2, 1, 2, f == 1 ? 5 : 0, 0}) put_le32(quer, quer.size(), v);
    if (f == 0) quer.insert(quer.end(), {0xFE, 0xFF, 0, 0});
    else quer.insert(quer.end(), {0, 0, 0x2C, 0x01});
  }
  EXPECT_EQ(read_bytes(p), quer);
}

TEST(NativoSeq, RoundTripKeepsValuesAndCentres) {
  const std::string p = scratch_path("ida.img");
  auto ida_volta = [&](auto s) {
    s(s.nf() - 1).cc() = -7;
    s.ImpImg(p);
    decltype(s) r(1, 9, 9);
    r.LeImg(p);
    EXPECT_TRUE(mesmos_bits(r, s));
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  I3DSHT s(3, 2, 3);
  for (int f = 0; f < 3; ++f) s(f) = IMGSHT(2, 3, {-32768, 32767, f, 1, -1, 12345});
  ida_volta(s);
  I3DFLT x(2, 1, 4);
  x(1) = IMGFLT(1, 4, {1.0 / 3, nan, -1e30, 1e-40});
  ida_volta(x);
  I3DCPX c(2, 2, 1);
  c(0) = IMGCPX(2, 1, {0.1, -0.2, 3e38, nan});
  ida_volta(c);
}

// The same sizes: the frames read are the ones the sequence had.
TEST(NativoSeq, ReadingIntoTheSameSizesKeepsTheFrames) {
  const std::string p = write_bytes(scratch_path("mesmas.img"), arquivo_flt(2, {{2, 2}, {2, 2}}));
  I3DFLT s(2, 2, 2);
  const FLT* antes = s(1).data();
  s.LeImg(p);
  EXPECT_EQ(s(1).data(), antes);
  EXPECT_EQ(s(1, 1, 1), 0.5f);
  // No frames: the sequence becomes empty too.
  s.LeImg(write_bytes(scratch_path("vazia.img"), arquivo_flt(0, {})));
  EXPECT_EQ(s.nf(), 0);
}

TEST(NativoSeqDeathTest, RefusedFiles) {
  Bytes curta = arquivo_flt(2, {{2, 2}, {2, 2}});
  curta.pop_back();
  Bytes enorme = arquivo_flt(2, {{2, 2}});
  put_le32(enorme, 8, 0x7FFFFFFF);
  Bytes grande = arquivo_flt(1, {{2, 2}});
  put_le32(grande, 24, 40000);  // 40000 x 2 frames of 4 bytes, file of 60
  struct Caso {
    const char* rotulo;
    Bytes b;
    std::string msg;
  };
  const Caso casos[] = {
      {"sequence tag", [] { Bytes b = arquivo_flt(1, {{1, 1}}); b[3] = 'S'; return b; }(),
       "Erro I3DFLT::LeImg - Formato incorreta 1 "},
      {"frame tag of another class", arquivo_flt(1, {{1, 1}}, "IMGSHT*"), "Erro I3DFLT::LeImg - Formato incorreta 2 "},
      {"element size", arquivo_flt(1, {{1, 1}}, "IMGFLT*", 8), "Erro I3DFLT::LeImg - Formato incorreta 2 "},
      {"second frame of another size", arquivo_flt(2, {{10, 10}, {10, 20}}), "Erro: Dimensoes de imagens diferentes "},
      {"missing pixel byte", curta, "Erro I3DFLT::LeImg - Fim inesperado 3 "},
      {"frames the file cannot hold", enorme, "Erro I3DFLT::LeImg - Fim inesperado 3 "},
      {"rows the file cannot hold", grande, "Erro I3DFLT::LeImg - Fim inesperado 3 "},
      {"negative frame count", arquivo_flt(-1, {}), "Erro I3DFLT::LeImg - Tamanho invalido "},
      {"negative rows", arquivo_flt(1, {{-5, 7}}), "Erro I3DFLT::LeImg - Tamanho invalido "},
  };
  for (const Caso& k : casos) {
    const std::string p = write_bytes(scratch_path("mau.img"), k.b);
    EXPECT_EXIT(
        {
          cap_address_space();
          I3DFLT s;
          s.LeImg(p);
        },
        testing::ExitedWithCode(1), stderr_line(k.msg))
        << k.rotulo;
    // From a pipe, whose length is unknown, the frames are read as they come.
    EXPECT_EXIT(
        {
          cap_address_space();
          I3DFLT s;
          s.LeImg(pipe_holding(k.b));
        },
        testing::ExitedWithCode(1), stderr_line(k.msg))
        << k.rotulo << " (pipe)";
  }
  EXPECT_EXIT(I3DCPX().LeImg("/nonexistent/x.img"), testing::ExitedWithCode(1),
              stderr_line("Erro I3DCPX::LeImg - Abertura de  /nonexistent/x.img"));
}

TEST(NativoSeqDeathTest, WriterRefusalsLeaveNoFile) {
  const std::string p = scratch_path("neg.img");
  EXPECT_EXIT(I3DSHT(2, -1, 3).ImpImg(p), testing::ExitedWithCode(1),
              stderr_line("Erro I3DSHT::ImpImg - Tamanho invalido  " + p));
  EXPECT_FALSE(exists(p));
  EXPECT_EXIT(
      {
        cap_file_size(1000);
        I3DFLT(3, 20, 20).ImpImg(p);
      },
      testing::ExitedWithCode(1), stderr_line("Erro I3DFLT::ImpImg - Falha de escrita  " + p));
  EXPECT_FALSE(exists(p));
  EXPECT_EXIT(I3DCPX(1, 1, 1).ImpImg("/nonexistent/c.img"), testing::ExitedWithCode(1),
              stderr_line("Erro I3DCPX::ImpImg - Abertura de  /nonexistent/c.img"));
}

TEST(TgaSeq, OneFilePerFrameAndBack) {
  I3DGRY g(12, 2, 3);
  for (int f = 0; f < 12; ++f) g(f).preenche(BYTE(20 * f));
  const std::string base = scratch_path("clip");
  g.ImpTga(base);
  for (int f = 0; f < 12; ++f) {
    char n[8];
    std::snprintf(n, sizeof n, "%03d", f);
    IMGGRY q;
    le(q, base + n + ".tga");
    EXPECT_EQ(q(1, 2), 20 * f) << f;
  }
  EXPECT_FALSE(exists(base + "012.tga"));
  I3DGRY r;
  r.LeTga(base);
  EXPECT_EQ(r.nf(), 12);
  EXPECT_EQ(r(11, 1, 2), 220);

  // Real frames as grey: -0.5, 0.5 and 2.0 become 0, 127 and 255.
  I3DFLT x(1, 1, 3);
  x(0) = IMGFLT(1, 3, {-0.5, 0.5, 2.0});
  x.ImpTga(scratch_path("real"));
  IMGGRY q;
  le(q, scratch_path("real000.tga"));
  EXPECT_TRUE(testsupport::pixel_difference(q, IMGGRY(1, 3, {0, 127, 255})).empty());

  I3DCOR k(2, 1, 1);
  k(1, 0, 0) = COR{1, 2, 3};
  k.ImpTga(scratch_path("cor"));
  I3DCOR kr;
  kr.LeTga(scratch_path("cor"));
  EXPECT_EQ(kr(1, 0, 0), (COR{1, 2, 3}));
}

TEST(TgaSeqDeathTest, Refusals) {
  const std::string base = scratch_path("dif");
  IMGGRY(2, 2).imp(base + "000.tga");
  IMGGRY(2, 3).imp(base + "001.tga");
  EXPECT_EXIT(I3DGRY().LeTga(base), testing::ExitedWithCode(1), stderr_line("Erro: Dimensoes de imagens diferentes "));
  EXPECT_EXIT(I3DCOR().LeTga(scratch_path("nada")), testing::ExitedWithCode(1),
              stderr_line("Erro I3DCOR::LeTga - Abertura de  " + scratch_path("nada000.tga")));
  const std::string longo = scratch_path(std::string(250, 'a'));
  EXPECT_EXIT(I3DGRY(1, 1, 1).ImpTga(longo), testing::ExitedWithCode(1),
              stderr_line("Erro: nome arquivo invalido " + longo + "000.tga"));
  EXPECT_EXIT(I3DFLT(-1, 1, 1).ImpTga(base), testing::ExitedWithCode(1),
              stderr_line("Erro I3DFLT::ImpTga - Tamanho invalido  " + base));
}
