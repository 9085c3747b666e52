#include "image/txt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

template <class I>
std::string fluxo(const I& img) {
  std::ostringstream os;
  os << img;
  return os.str();
}

// Reads the text s as an image of class I.
template <class I>
I le(const std::string& s) {
  const std::string p = scratch_path("le.txt");
  write_text(p, s);
  I img;
  img.LeTxt(p);
  return img;
}

}  // namespace

TEST(Txt, WrittenLayoutOfEveryClass) {
  IMGBIN bin(2, 3, {1, 0, 1, 0, 0, 0});
  IMGGRY gry(1, 3, {7, 42, 255});
  IMGCOR cor(1, 2, {1, 22, 255, 0, 0, 0});
  IMGSHT sht(1, 3, {-5, 1234, -32768});
  IMGFLT flt(1, 5, {0.5, 1, -0.25, 123456789.0, 1e-7});
  IMGDBL dbl(1, 3, {0.5, 1.0 / 3, 123456789.0});
  IMGCPX cpx(1, 2, {1.5, -2, 0, 1e10});
  flt.lc() = -3;
  flt.cc() = 12;
  struct Caso {
    const char* classe;
    std::function<void(const std::string&)> imp;
    std::string arquivo, fluxo;
  } casos[] = {
      {"IMGBIN", [&](auto& p) { bin.ImpTxt(p); }, "2 3\n\n1 0 1 \n0 0 0 \n\n0 1\n", fluxo(bin)},
      {"IMGGRY", [&](auto& p) { gry.ImpTxt(p); }, "1 3\n\n  7  42 255 \n\n0 1\n", fluxo(gry)},
      {"IMGCOR", [&](auto& p) { cor.ImpTxt(p); }, "1 2\n\n  1  22 255      0   0   0    \n\n0 0\n", fluxo(cor)},
      {"IMGSHT", [&](auto& p) { sht.ImpTxt(p); }, "1 3\n\n -5 1234 -32768 \n\n0 1\n", fluxo(sht)},
      {"IMGFLT", [&](auto& p) { flt.ImpTxt(p); }, "1 5\n\n0.5   1 -0.25 1.23457e+08 1e-07 \n\n-3 12\n", fluxo(flt)},
      {"IMGDBL", [&](auto& p) { dbl.ImpTxt(p); }, "1 3\n\n     0.5 0.333333 1.23457e+08 \n\n0 1\n", ""},
      {"IMGCPX", [&](auto& p) { cpx.ImpTxt(p); }, "1 2\n\n(1.5,-2) (0,1e+10) \n\n0 0\n", fluxo(cpx)},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.classe);
    const std::string p = scratch_path("layout.txt");
    k.imp(p);
    EXPECT_EQ(read_text(p), k.arquivo);
    // The stream operator writes the same text, except for IMGDBL's width.
    if (!k.fluxo.empty()) {
      EXPECT_EQ(k.fluxo, k.arquivo);
    }
  }
  EXPECT_EQ(fluxo(dbl), "1 3\n\n0.5 0.333333 1.23457e+08 \n\n0 1\n");
  EXPECT_EQ(fluxo(COR{1, 22, 255}), "(1,22,255)");
}

TEST(Txt, StreamOperatorsUseTheStreamsNumberFormatting) {
  std::ostringstream os;
  os << std::setprecision(3) << IMGFLT(1, 1, {1.0 / 3});
  EXPECT_EQ(os.str(), "1 1\n\n0.333 \n\n0 0\n");
}

TEST(Txt, RoundTripOfEveryClassKeepsPixelsAndCentre) {
  const std::string p = scratch_path("ida_volta.txt");
  auto ida_volta = [&](const auto& img) {
    std::remove_cvref_t<decltype(img)> r;
    img.ImpTxt(p);
    r.LeTxt(p);
    EXPECT_EQ(r.nl(), img.nl());
    EXPECT_EQ(r.nc(), img.nc());
    EXPECT_EQ(r.lc(), img.lc());
    EXPECT_EQ(r.cc(), img.cc());
    for (int l = 0; l < img.nl(); ++l)
      for (int c = 0; c < img.nc(); ++c) EXPECT_EQ(r(l, c), img(l, c)) << l << "," << c;
    return r;
  };
  IMGBIN bin(3, 40);
  for (int l = 0; l < 3; ++l)
    for (int c = 0; c < 40; ++c) bin(l, c) = (l * 7 + c) % 3 == 0;
  bin.lc() = 2;
  ida_volta(bin);
  IMGGRY gry(2, 2, {0, 9, 99, 255});
  gry.cc() = -1;
  ida_volta(gry);
  ida_volta(IMGCOR(2, 1, {255, 0, 7, 8, 9, 10}));
  ida_volta(IMGSHT(1, 4, {-32768, -1, 0, 32767}));
  ida_volta(IMGFLT(1, 3, {0.5, -1e30, 3.25}));
  ida_volta(IMGDBL(1, 2, {1e-300, -7}));
  ida_volta(IMGCPX(1, 2, {0.5, -0.25, 1e6, 0}));
  ida_volta(IMGGRY(0, 0));

  // Reals keep 6 significant digits; infinities and NaN come back as such.
  IMGDBL d(1, 1, {1.0 / 3});
  d.ImpTxt(p);
  IMGDBL rd;
  rd.LeTxt(p);
  EXPECT_EQ(rd(0, 0), 0.333333);
  const float inf = std::numeric_limits<float>::infinity();
  IMGCPX x(1, 2, {2.0 / 3, std::nan(""), -inf, 1.0 / 7});
  x.ImpTxt(p);
  IMGCPX rx;
  rx.LeTxt(p);
  EXPECT_EQ(rx(0, 0).real(), 0.666667f);
  EXPECT_TRUE(std::isnan(rx(0, 0).imag()));
  EXPECT_EQ(rx(0, 1).real(), -inf);
  EXPECT_EQ(rx(0, 1).imag(), 0.142857f);
}

TEST(Txt, ReadingAcceptsAnyLayoutOfTheTokens) {
  IMGBIN b = le<IMGBIN>("2 2 1 0 0 1");
  EXPECT_EQ(b.lc(), 0);
  EXPECT_EQ(b.cc(), 0);
  EXPECT_TRUE(b(0, 0) && !b(0, 1) && !b(1, 0) && b(1, 1));
  b = le<IMGBIN>("2 2 1 0 0 1 1 1");
  EXPECT_EQ(b.lc(), 1);
  EXPECT_EQ(b.cc(), 1);
  // Only the centre row: the column keeps its default.
  b = le<IMGBIN>("3 5 x . t f v 1 0 1 0 1 false true 0 0 0 2");
  EXPECT_EQ(b.lc(), 2);
  EXPECT_EQ(b.cc(), 2);
  EXPECT_TRUE(b(0, 0) && !b(0, 1) && b(0, 2) && !b(0, 3) && b(0, 4) && b(2, 0) == false);

  const IMGCOR c = le<IMGCOR>("# a colour image\n1 2\n(255, 0, 300) /* clamped */ (-4;5;6)\n");
  EXPECT_EQ(c(0, 0), (COR{255, 0, 255}));
  EXPECT_EQ(c(0, 1), (COR{0, 5, 6}));
  const IMGSHT s = le<IMGSHT>("1;3\n max min 70000");
  EXPECT_EQ(s(0, 0), 32767);
  EXPECT_EQ(s(0, 1), -32768);
  EXPECT_EQ(s(0, 2), 4464);
  const IMGFLT f = le<IMGFLT>("1,2 // row\nM 1e-3");
  EXPECT_EQ(f(0, 0), 1e30f);
  EXPECT_EQ(f(0, 1), 0.001f);
}

TEST(Txt, ReadingSizesTheImageAfresh) {
  const std::string p = scratch_path("afresh.txt");
  write_text(p, "2 2 1 2 3 4");
  IMGGRY g(2, 2);
  g.lc() = 5;
  g.fundo() = 9;
  g.LeTxt(p);
  EXPECT_EQ(g.lc(), 0);
  EXPECT_EQ(g.fundo(), 0);
  EXPECT_EQ(g(1, 1), 4);
}

TEST(Txt, TheSmallestFileForItsSizeIsAccepted) {
  // n values need 2n - 1 characters: exactly that is enough.
  EXPECT_EQ(le<IMGBIN>("2 2\n1 0 0 1").n(), 4);
  EXPECT_EQ(le<IMGCOR>("1 1\n1 2 3")(0, 0), (COR{1, 2, 3}));
  EXPECT_EQ(le<IMGCPX>("1 1\n1 2")(0, 0), CPXF(1, 2));
}

TEST(Txt, ReadingFromAPipe) {
  IMGSHT s;
  s.LeTxt(pipe_holding("2 2 1 2 3 4 1 0"));
  EXPECT_EQ(s(1, 0), 3);
  EXPECT_EQ(s.lc(), 1);
  EXPECT_EQ(s.cc(), 0);
  IMGBIN b;
  b.LeTxt(pipe_holding("1 3 1 0 1"));
  EXPECT_TRUE(b(0, 0) && !b(0, 1) && b(0, 2));
}

TEST(Txt, LargeMatricesRoundTrip) {
  IMGFLT f(1000, 1000);
  for (int l = 0; l < 1000; ++l)
    for (int c = 0; c < 1000; ++c) f(l, c) = float(l - c) / 8;
  const std::string p = scratch_path("grande.txt");
  f.ImpTxt(p);
  IMGFLT r;
  r.LeTxt(p);
  EXPECT_EQ(0, std::memcmp(r.data(), f.data(), sizeof(FLT) * 1000000));
}

TEST(TxtDeath, FilesThatEndOrGoWrongInsideThePixels) {
  struct Caso {
    std::function<void(const std::string&)> le;
    std::string texto, msg;
  } casos[] = {
      {[](auto& p) { IMGBIN().LeTxt(p); }, "2 2 1 0 0", "LeNum(bool) "},
      {[](auto& p) { IMGBIN().LeTxt(p); }, "1 2 1 2", "LeNum(bool) "},
      {[](auto& p) { IMGGRY().LeTxt(p); }, "2 2 1 2 3\n\n\n\n", "LeNum(BYTE) "},
      {[](auto& p) { IMGGRY().LeTxt(p); }, "1 2 1 x", "LeNum(BYTE) "},
      {[](auto& p) { IMGCOR().LeTxt(p); }, "1 2 1 2 3 4 5", "LeNum(BYTE) "},
      {[](auto& p) { IMGSHT().LeTxt(p); }, "1 2 1", "LeNum(SHT) "},
      {[](auto& p) { IMGFLT().LeTxt(p); }, "1 2 1", "LeNum(FLT) "},
      {[](auto& p) { IMGFLT().LeTxt(p); }, "1 2 1 $", "LeNum(FLT) "},
      {[](auto& p) { IMGDBL().LeTxt(p); }, "1 2 1", "LeNum(double) "},
      {[](auto& p) { IMGCPX().LeTxt(p); }, "1 2 1 2 3", "LeNum(FLT) "},
      // A Ctrl-Z ends the text however long the file is.
      {[](auto& p) { IMGGRY().LeTxt(p); }, std::string("1 2 1 \x1a 2        "), "LeNum(BYTE) "},
      // The sizes and the centre are ints.
      {[](auto& p) { IMGGRY().LeTxt(p); }, "", "LeNum(int) "},
      {[](auto& p) { IMGGRY().LeTxt(p); }, "x 1 1", "LeNum(int) "},
      {[](auto& p) { IMGGRY().LeTxt(p); }, "1 1 1 abc", "LeNum(int) "},
      {[](auto& p) { IMGGRY().LeTxt(p); }, "1 1 1 0 centre", "LeNum(int) "},
  };
  const std::string p = scratch_path("morre.txt");
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.texto);
    write_text(p, k.texto);
    EXPECT_EXIT(k.le(p), testing::ExitedWithCode(1), stderr_line(k.msg));
  }
}

TEST(TxtDeath, SizesTheFileCannotHoldAreRefusedBeforeAllocating) {
  const std::string p = scratch_path("enorme.txt");
  write_text(p, "30000 30000 1 2 3");
  EXPECT_EXIT((cap_address_space(), IMGDBL().LeTxt(p)), testing::ExitedWithCode(1), stderr_line("LeNum(double) "));
  EXPECT_EXIT((cap_address_space(), IMGBIN().LeTxt(p)), testing::ExitedWithCode(1), stderr_line("LeNum(bool) "));
  // One value short of the smallest file that could hold them.
  write_text(p, "1 2\n1 2 3 4 5");
  EXPECT_EXIT(IMGCOR().LeTxt(p), testing::ExitedWithCode(1), stderr_line("LeNum(BYTE) "));
  // Sizes whose pixel count overflows give the allocation message.
  write_text(p, "70000 70000 1");
  EXPECT_EXIT(IMGGRY().LeTxt(p), testing::ExitedWithCode(1), stderr_line("Erro IMGGRY::aloca - Falta memoria "));
  EXPECT_EXIT(IMGBIN().LeTxt(p), testing::ExitedWithCode(1), stderr_line("Erro IMGBIN::aloca - falta memoria "));
  // From a pipe the size cannot be checked: the values run out instead.
  EXPECT_EXIT((cap_address_space(), IMGCPX().LeTxt(pipe_holding("30000 30000 1 2 3"))), testing::ExitedWithCode(1),
              stderr_line("LeNum(FLT) "));
}

TEST(TxtDeath, NegativeSizesAreRefusedBeforeAllocating) {
  const std::string p = scratch_path("negativo.txt");
  for (const char* t : {"-5 7\n", "5 -7\n1 2 3", "-1 -1\n1"}) {
    write_text(p, t);
    EXPECT_EXIT(IMGGRY().LeTxt(p), testing::ExitedWithCode(1), stderr_line("Erro IMGGRY::LeTxt - Tamanho invalido ")) << t;
    EXPECT_EXIT(IMGBIN().LeTxt(p), testing::ExitedWithCode(1), stderr_line("Erro IMGBIN::LeTxt - Tamanho invalido ")) << t;
  }
  EXPECT_EXIT(IMGCPX().LeTxt(pipe_holding("-5 7\n")), testing::ExitedWithCode(1),
              stderr_line("Erro IMGCPX::LeTxt - Tamanho invalido "));
}

TEST(TxtDeath, OpeningAndWritingFailures) {
  const std::string sem = "/nonexistent/m.txt";
  struct Caso {
    std::function<void(const std::string&)> le, imp;
    std::string classe;
  } casos[] = {
      {[](auto& p) { IMGBIN().LeTxt(p); }, [](auto& p) { IMGBIN(3, 3, 1).ImpTxt(p); }, "IMGBIN"},
      {[](auto& p) { IMGGRY().LeTxt(p); }, [](auto& p) { IMGGRY(3, 3, 1).ImpTxt(p); }, "IMGGRY"},
      {[](auto& p) { IMGCOR().LeTxt(p); }, [](auto& p) { IMGCOR(3, 3, 1).ImpTxt(p); }, "IMGCOR"},
      {[](auto& p) { IMGSHT().LeTxt(p); }, [](auto& p) { IMGSHT(3, 3, 1).ImpTxt(p); }, "IMGSHT"},
      {[](auto& p) { IMGFLT().LeTxt(p); }, [](auto& p) { IMGFLT(3, 3, 1).ImpTxt(p); }, "IMGFLT"},
      {[](auto& p) { IMGDBL().LeTxt(p); }, [](auto& p) { IMGDBL(3, 3, 1).ImpTxt(p); }, "IMGDBL"},
      {[](auto& p) { IMGCPX().LeTxt(p); }, [](auto& p) { IMGCPX(3, 3, 1, 0).ImpTxt(p); }, "IMGCPX"},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.classe);
    EXPECT_EXIT(k.le(sem), testing::ExitedWithCode(1), stderr_line("Erro " + k.classe + "::LeTxt - Abertura  " + sem));
    EXPECT_EXIT(k.imp(sem), testing::ExitedWithCode(1), stderr_line("Erro " + k.classe + "::ImpTxt - Abertura  " + sem));
    EXPECT_EXIT(k.imp("/dev/full"), testing::ExitedWithCode(1),
                stderr_line("Erro " + k.classe + "::ImpTxt - Falha de escrita  /dev/full"));
  }
  // A failure found only part way through a large matrix.
  EXPECT_EXIT(IMGFLT(500, 500, 0.125f).ImpTxt("/dev/full"), testing::ExitedWithCode(1),
              stderr_line("Erro IMGFLT::ImpTxt - Falha de escrita  /dev/full"));
}
