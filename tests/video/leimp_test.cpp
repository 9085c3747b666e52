// Generic reading and writing of sequences: the formats each class takes.
#include "video/leimp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "image/img.h"
#include "image/leimp.h"
#include "image/tipo.h"
#include "support/files.h"
#include "support/sequences.h"
#include "video/avi.h"
#include "video/i3d.h"

using namespace imagorix;
using namespace testsupport;

namespace {

template <class P>
I3D<P> sequencia(int nf, int nl, int nc) {
  I3D<P> s(nf, nl, nc);
  for (int f = 0; f < nf; ++f)
    for (int l = 0; l < nl; ++l)
      for (int c = 0; c < nc; ++c) {
        const int v = 50 * f + 7 * l + 3 * c;
        if constexpr (std::same_as<P, COR>) s(f, l, c) = COR{BYTE(v), BYTE(v + 1), BYTE(v + 2)};
        else if constexpr (std::same_as<P, CPXF>) s(f, l, c) = CPXF(FLT(v) / 3, -FLT(v));
        else if constexpr (std::same_as<P, FLT>) s(f, l, c) = FLT(v) / 255;
        else s(f, l, c) = P(v);
      }
  return s;
}

// Written with imp under nome, detected as tipo and read back with le.
template <class P>
void ida_volta(const I3D<P>& s, const std::string& nome, int tipo) {
  const std::string p = scratch_path(nome);
  imp(s, p);
  EXPECT_EQ(TipoImg(p), tipo) << nome;
  I3D<P> r(1, 1, 1);
  le(r, p);
  EXPECT_TRUE(same_sequence(r, s)) << nome;
}

}  // namespace

TEST(LeImpSeq, EachClassRoundTripsThroughItsFormats) {
  ida_volta(sequencia<BYTE>(3, 4, 5), "g.avi", TIPO_AVI8);
  ida_volta(sequencia<COR>(3, 4, 5), "c.AVI", TIPO_AVI24);
  ida_volta(sequencia<SHT>(2, 3, 3), "s.img", TIPO_I3DSHT);
  ida_volta(sequencia<FLT>(2, 3, 3), "f.img", TIPO_I3DFLT);
  ida_volta(sequencia<CPXF>(2, 3, 3), "x.img", TIPO_I3DCPX);
  // A real sequence goes to AVI and back through grey levels.
  ida_volta(sequencia<FLT>(2, 3, 3), "f.has", TIPO_AVI8);
  // Read from a pipe as from the file.
  const std::string p = scratch_path("pipe.img");
  imp(sequencia<CPXF>(2, 2, 2), p);
  I3DCPX x;
  le(x, pipe_holding(read_bytes(p)));
  EXPECT_TRUE(same_sequence(x, sequencia<CPXF>(2, 2, 2)));
}

TEST(LeImpSeq, RealSequenceToAviTruncatesToGrey) {
  I3DFLT x(1, 1, 3);
  x(0) = IMGFLT(1, 3, {-0.5, 0.5, 2.0});
  const std::string p = scratch_path("x.avi");
  imp(x, p);
  I3DGRY g;
  le(g, p);
  EXPECT_EQ(g(0, 0, 0), 0);
  EXPECT_EQ(g(0, 0, 1), 127);
  EXPECT_EQ(g(0, 0, 2), 255);
}

TEST(LeImpSeq, NameWithoutSuffixIsATgaSeries) {
  imp(sequencia<BYTE>(12, 2, 2), scratch_path("clip"));
  for (const char* n : {"clip000.tga", "clip011.tga"}) EXPECT_EQ(TipoImg(scratch_path(n)), TIPO_TGA) << n;
  EXPECT_FALSE(exists(scratch_path("clip012.tga")));
  imp(sequencia<COR>(1, 2, 2), scratch_path("kor"));
  EXPECT_EQ(TipoImg(scratch_path("kor000.tga")), TIPO_TGA24);
  imp(sequencia<SHT>(1, 2, 2), scratch_path("sht"));
  imp(sequencia<FLT>(1, 2, 2), scratch_path("flt"));
  EXPECT_EQ(TipoImg(scratch_path("flt000.tga")), TIPO_TGA);
}

TEST(LeImpSeqDeathTest, Refusals) {
  const std::string avi8 = scratch_path("r8.avi"), sht = scratch_path("rs.img");
  imp(sequencia<BYTE>(1, 1, 1), avi8);
  imp(sequencia<SHT>(1, 1, 1), sht);
  const std::string x = scratch_path("x");
  struct Caso {
    std::function<void()> f;
    std::string msg;
  };
  const Caso casos[] = {
      {[&] { imp(sequencia<BYTE>(1, 1, 1), x + ".img"); },
       x + ".img  Erro: deve imprimir I3DGRY como seq de TGA (nome sem extensao) ou AVI"},
      {[&] { imp(sequencia<COR>(1, 1, 1), x + ".tga"); },
       x + ".tga  Erro: deve imprimir I3DCOR como seq de TGA (nome sem extensao) ou AVI"},
      {[&] { imp(sequencia<SHT>(1, 1, 1), x + ".avi"); },
       x + ".avi  Erro: deve imprimir I3DSHT como IMG ou seq de TGA (nome sem extensao)"},
      {[&] { imp(sequencia<FLT>(1, 1, 1), x + ".bmp"); },
       x + ".bmp  Erro: deve imprimir I3DFLT como IMG ou seq de TGA (nome sem extensao)"},
      {[&] { imp(sequencia<CPXF>(1, 1, 1), x); }, x + "  Erro: deve imprimir I3DCPX como IMG"},
      {[&] {
         I3DCOR k;
         le(k, avi8);
       },
       "Tipo de imagem invalido  " + avi8},
      {[&] {
         I3DFLT f;
         le(f, sht);
       },
       "Tipo de imagem invalido  " + sht},
      {[&] {
         I3DGRY g;
         le(g, sht);
       },
       "Tipo de imagem invalido  " + sht},
  };
  for (const Caso& k : casos) EXPECT_EXIT(k.f(), testing::ExitedWithCode(1), stderr_line(k.msg));
}
