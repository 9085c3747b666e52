#include "image/native.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "image/img.h"
#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

// A native file's header; the pixel bytes are appended by the caller.
Bytes cabecalho(const char* tag, int tamanho, int nl, int nc, int lc = 0, int cc = 0) {
  Bytes b(tag, tag + 7);
  b.push_back(0x1A);
  for (int v : {tamanho, nl, nc, lc, cc}) put_le32(b, b.size(), v);
  return b;
}

template <class P>
bool mesmos_bits(const IMG<P>& a, const IMG<P>& b) {
  return a.nl() == b.nl() && a.nc() == b.nc() &&
         (a.n() <= 0 || std::memcmp(a.data(), b.data(), sizeof(P) * std::size_t(a.n())) == 0);
}

}  // namespace

TEST(Native, WritesTheFormatBytes) {
  IMGSHT s(1, 2, {-2, 300});
  s.lc() = 5;
  s.cc() = -1;
  const std::string p = scratch_path("sht.img");
  s.ImpImg(p);
  Bytes quer = cabecalho("IMGSHT*", 2, 1, 2, 5, -1);
  quer.insert(quer.end(), {0xFE, 0xFF, 0x2C, 0x01});
  EXPECT_EQ(read_bytes(p), quer);

  IMGCPX x(1, 1, {1.0, -2.0});
  x.ImpImg(p);
  quer = cabecalho("IMGCPX*", 8, 1, 1);
  quer.insert(quer.end(), {0, 0, 0x80, 0x3F, 0, 0, 0, 0xC0});  // 1.0f, then -2.0f
  EXPECT_EQ(read_bytes(p), quer);

  IMGFLT(1, 2, 0.5f).ImpImg(p);
  quer = cabecalho("IMGFLT*", 4, 1, 2);
  quer.insert(quer.end(), {0, 0, 0, 0x3F, 0, 0, 0, 0x3F});
  EXPECT_EQ(read_bytes(p), quer);

  IMGDBL(1, 1, 0.5).ImpImg(p);
  quer = cabecalho("IMGDBL*", 8, 1, 1);
  quer.insert(quer.end(), {0, 0, 0, 0, 0, 0, 0xE0, 0x3F});
  EXPECT_EQ(read_bytes(p), quer);
}

TEST(Native, RoundTripKeepsExactValuesAndTheCentre) {
  const std::string p = scratch_path("ida_volta.img");
  auto ida_volta = [&](auto img) {
    img.lc() = -7;
    img.cc() = 1000;
    img.ImpImg(p);
    decltype(img) r(1, 1);
    r.LeImg(p);
    EXPECT_TRUE(mesmos_bits(r, img));
    EXPECT_EQ(r.lc(), -7);
    EXPECT_EQ(r.cc(), 1000);
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  ida_volta(IMGSHT(2, 3, {-32768, 32767, 0, 1, -1, 12345}));
  ida_volta(IMGFLT(1, 4, {1.0 / 3, nan, -std::numeric_limits<double>::infinity(), 1e-40}));
  ida_volta(IMGDBL(3, 1, {1.0 / 3, 1e-310, -0.0}));
  ida_volta(IMGCPX(2, 1, {0.1, -0.2, 3e38, nan}));
  ida_volta(IMGDBL(0, 0));
}

TEST(Native, ReaderFollowsTheFileIntoAnImageOfTheSameSize) {
  const std::string p = scratch_path("mesmo.img");
  Bytes b = cabecalho("IMGFLT*", 4, 1, 1, 3, 4);
  b[7] = 0;  // the eighth byte is not checked
  put_le32(b, b.size(), 0x3F800000);
  write_bytes(p, b);
  IMGFLT f(1, 1);
  f.fundo() = 0.25f;
  f.LeImg(p);
  EXPECT_EQ(f(0, 0), 1.0f);
  EXPECT_EQ(f.lc(), 3);
  EXPECT_EQ(f.cc(), 4);
  EXPECT_EQ(f.fundo(), 0.25f);  // same size: resize kept the storage
}

TEST(NativeDeath, NegativeSizesAreRefusedBeforeAnythingIsRead) {
  const std::string p = scratch_path("negativo.img");
  for (auto [nl, nc] : {std::pair{-2, -3}, {-5, 7}, {0, -1}}) {
    write_bytes(p, cabecalho("IMGSHT*", 2, nl, nc));
    EXPECT_EXIT(IMGSHT().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGSHT::LeImg - Tamanho invalido "));
  }
  write_bytes(p, cabecalho("IMGCPX*", 8, -1, 1));
  EXPECT_EXIT(IMGCPX().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGCPX::LeImg - Tamanho invalido "));
}

TEST(NativeDeath, WrongTagOrElementSize) {
  const std::string p = scratch_path("tag.img");
  struct Caso {
    Bytes arquivo;
    std::function<void(const std::string&)> le;
    std::string msg;
  } casos[] = {
      {cabecalho("IMGFLT*", 4, 1, 1), [](auto& q) { IMGDBL().LeImg(q); }, "Erro IMGDBL::LeImg - Formato incorreta "},
      {cabecalho("IMGDBL*", 8, 1, 1), [](auto& q) { IMGCPX().LeImg(q); }, "Erro IMGCPX::LeImg - Formato incorreta "},
      {cabecalho("IMGCPX*", 8, 1, 1), [](auto& q) { IMGSHT().LeImg(q); }, "Erro IMGSHT::LeImg - Formato incorreta "},
      {cabecalho("IMGSHT*", 2, 1, 1), [](auto& q) { IMGFLT().LeImg(q); }, "Erro IMGFLT::LeImg - Formato incorreta "},
      {cabecalho("IMGFLT*", 8, 1, 1), [](auto& q) { IMGFLT().LeImg(q); }, "Erro IMGFLT::LeImg - Formato incorreta "},
      {cabecalho("IMGsht*", 2, 1, 1), [](auto& q) { IMGSHT().LeImg(q); }, "Erro IMGSHT::LeImg - Formato incorreta "},
      {cabecalho("I3DSHT*", 2, 1, 1), [](auto& q) { IMGSHT().LeImg(q); }, "Erro IMGSHT::LeImg - Formato incorreta "},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.msg);
    Bytes b = k.arquivo;
    b.resize(b.size() + 16, 0);
    write_bytes(p, b);
    EXPECT_EXIT(k.le(p), testing::ExitedWithCode(1), stderr_line(k.msg));
  }
  // Too short to hold the element size.
  write_bytes(p, Bytes{'I', 'M', 'G', 'S', 'H', 'T', '*', 0x1A, 2, 0});
  EXPECT_EXIT(IMGSHT().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGSHT::LeImg - Formato incorreta "));
  Bytes b = cabecalho("IMGSHT*", 2, 1, 1);
  b[6] = 0;  // "IMGSHT" followed by a zero byte is a different tag
  b.resize(b.size() + 2, 0);
  write_bytes(p, b);
  EXPECT_EXIT(IMGSHT().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGSHT::LeImg - Formato incorreta "));
}

TEST(NativeDeath, FilesCutShortAndSizesTheFileCannotHold) {
  const std::string p = scratch_path("curto.img");
  // Cut inside the pixels, and inside the header after the tag.
  Bytes b = cabecalho("IMGDBL*", 8, 2, 2);
  b.resize(b.size() + 31, 0);
  write_bytes(p, b);
  EXPECT_EXIT(IMGDBL().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGDBL::LeImg - Fim inesperado "));
  b.resize(20);
  write_bytes(p, b);
  EXPECT_EXIT(IMGDBL().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGDBL::LeImg - Fim inesperado "));
  // A large stated size in a small file, from a file and from a pipe.
  b = cabecalho("IMGCPX*", 8, 30000, 30000);
  b.resize(b.size() + 100, 0);
  write_bytes(p, b);
  EXPECT_EXIT((cap_address_space(), IMGCPX().LeImg(p)), testing::ExitedWithCode(1),
              stderr_line("Erro IMGCPX::LeImg - Fim inesperado "));
  EXPECT_EXIT((cap_address_space(), IMGCPX().LeImg(pipe_holding(b))), testing::ExitedWithCode(1),
              stderr_line("Erro IMGCPX::LeImg - Fim inesperado "));
  // Sizes whose pixel count overflows give the allocation message.
  write_bytes(p, cabecalho("IMGSHT*", 2, 1 << 16, 1 << 16));
  EXPECT_EXIT(IMGSHT().LeImg(p), testing::ExitedWithCode(1), stderr_line("Erro IMGSHT::aloca - Falta memoria "));
}

TEST(NativeDeath, OpeningAndWritingFailures) {
  const std::string sem = "/nonexistent/x.img";
  struct Caso {
    std::function<void(const std::string&)> le, imp;
    std::string classe;
  } casos[] = {
      {[](auto& q) { IMGSHT().LeImg(q); }, [](auto& q) { IMGSHT(2, 2, 1).ImpImg(q); }, "IMGSHT"},
      {[](auto& q) { IMGFLT().LeImg(q); }, [](auto& q) { IMGFLT(2, 2, 1).ImpImg(q); }, "IMGFLT"},
      {[](auto& q) { IMGDBL().LeImg(q); }, [](auto& q) { IMGDBL(2, 2, 1).ImpImg(q); }, "IMGDBL"},
      {[](auto& q) { IMGCPX().LeImg(q); }, [](auto& q) { IMGCPX(2, 2, 1, 0).ImpImg(q); }, "IMGCPX"},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.classe);
    EXPECT_EXIT(k.le(sem), testing::ExitedWithCode(1), stderr_line("Erro " + k.classe + "::LeImg - Abertura de  " + sem));
    EXPECT_EXIT(k.imp(sem), testing::ExitedWithCode(1), stderr_line("Erro " + k.classe + "::ImpImg - Abertura de  " + sem));
    EXPECT_EXIT(k.imp("/dev/full"), testing::ExitedWithCode(1),
                stderr_line("Erro " + k.classe + "::ImpImg - Falha de escrita  /dev/full"));
  }
}

TEST(ImpHex, WordsOfThePixelStream) {
  const std::string p = scratch_path("hex.txt");
  ImpHex(IMGBIN(1, 1, 1), p);
  EXPECT_EQ(read_text(p), "1, 1,\n0x80000000, ");
  ImpHex(IMGBIN(1, 33, 0), p);
  EXPECT_EQ(read_text(p), "1, 33,\n0x00000000, 0x00000000, ");
  // Rows run on without a break: 101 then 010.
  ImpHex(IMGBIN(2, 3, {1, 0, 1, 0, 1, 0}), p);
  EXPECT_EQ(read_text(p), "2, 3,\n0xa8000000, ");
  ImpHex(IMGBIN(0, 0), p);
  EXPECT_EQ(read_text(p), "0, 0,\n");
}

TEST(ImpHex, LineBreaksCountFromTheStartOfEachFile) {
  IMGBIN nove(9, 32, 1);
  for (int c = 0; c < 32; c += 2) nove(8, c) = 0;
  const std::string oito = "0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, "
                           "0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, \n";
  const std::string quer = "9, 32,\n" + oito + "0x55555555, ";
  const std::string p = scratch_path("hex9.txt"), q = scratch_path("hex9b.txt");
  ImpHex(nove, p);
  EXPECT_EQ(read_text(p), quer);
  ImpHex(nove, q);  // a second file in the same process breaks at the same places
  EXPECT_EQ(read_text(q), quer);
}

TEST(ImpHexDeath, OpeningAndWritingFailures) {
  EXPECT_EXIT(ImpHex(IMGBIN(2, 2, 1), "/nonexistent/h.txt"), testing::ExitedWithCode(1),
              stderr_line("Erro ImpHex - abertura de  /nonexistent/h.txt"));
  EXPECT_EXIT(ImpHex(IMGBIN(2, 2, 1), "/dev/full"), testing::ExitedWithCode(1),
              stderr_line("Erro ImpHex - Falha de escrita  /dev/full"));
}
