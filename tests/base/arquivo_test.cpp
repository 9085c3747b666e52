#include "base/arquivo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/files.h"

using namespace imagorix;
using testsupport::cap_file_size;
using testsupport::exists;
using testsupport::scratch_path;

namespace {

// Writes n bytes through ARQIMP and closes; used inside death tests.
void write_bytes(const std::string& nome, std::size_t n) {
  ARQIMP f(nome, "wb", "IMGBIN::ImpBmp", "Erro IMGBIN::ImpBmp - abertura de ",
           "Erro IMGBIN::ImpBmp - Faltou memoria setvbuf");
  std::vector<unsigned char> b(n, 0x55);
  f.write(b.data(), b.size());
  f.close();
}

}  // namespace

TEST(ArqImp, WritesLittleEndianFieldsAndText) {
  const std::string p = scratch_path("arq_ok.bin");
  {
    ARQIMP f(p, "wb", "T::Imp", "Erro T::Imp - abertura de ", "Erro T::Imp - Faltou memoria setvbuf");
    f.le16(0x4D42);
    f.le32(0x11223344);
    f.print("%d|%s", 7, "x");
    f.put('!');
    f.close();
  }
  ARQLE r(p, "rb", "Erro T::Le - Abertura de ", "Erro T::Le - Falta memoria setvbuf");
  EXPECT_EQ(r.remaining(), 10);
  unsigned char b[10];
  ASSERT_TRUE(r.read(b, 10));
  const unsigned char want[10] = {0x42, 0x4D, 0x44, 0x33, 0x22, 0x11, '7', '|', 'x', '!'};
  EXPECT_EQ(0, memcmp(b, want, 10));
  EXPECT_EQ(r.remaining(), 0);
  EXPECT_FALSE(r.read(b, 1));
}

TEST(ArqImp, FullDeviceEndsWithTheWriteFailureAndIsLeftInPlace) {
  EXPECT_EXIT(write_bytes("/dev/full", 1 << 20), testing::ExitedWithCode(1),
              "^Erro IMGBIN::ImpBmp - Falha de escrita  /dev/full\n$");
  EXPECT_TRUE(exists("/dev/full"));
  // A failure found only when the buffer is flushed at close.
  EXPECT_EXIT(write_bytes("/dev/full", 10), testing::ExitedWithCode(1),
              "^Erro IMGBIN::ImpBmp - Falha de escrita  /dev/full\n$");
}

TEST(ArqImp, FailedRegularFileIsRemoved) {
  const std::string p = scratch_path("arq_partial.bin");
  std::remove(p.c_str());
  // A file size limit makes the write fail part way, as a full disk would.
  EXPECT_EXIT((cap_file_size(1000), write_bytes(p, 1 << 20)), testing::ExitedWithCode(1),
              "^Erro IMGBIN::ImpBmp - Falha de escrita  .*arq_partial.bin\n$");
  EXPECT_FALSE(exists(p));
}

TEST(ArqImp, UnclosedWriterLeavesNoFile) {
  const std::string p = scratch_path("arq_unclosed.bin");
  {
    ARQIMP f(p, "wb", "T::Imp", "Erro T::Imp - abertura de ", "Erro T::Imp - Faltou memoria setvbuf");
    f.put('a');
  }
  EXPECT_FALSE(exists(p));
}

TEST(ArqOpen, OpeningFailuresNameTheFile) {
  EXPECT_EXIT((ARQLE{"/nonexistent/in.bmp", "rb", "Erro IMGBIN::LeBmp - Abertura de ",
                     "Erro IMGBIN::LeBmp - Falta memoria setvbuf"}),
              testing::ExitedWithCode(1), "^Erro IMGBIN::LeBmp - Abertura de  /nonexistent/in.bmp\n$");
  EXPECT_EXIT((ARQIMP{"/nonexistent/out.bmp", "wb", "IMGBIN::ImpBmp", "Erro IMGBIN::ImpBmp - abertura de ",
                      "Erro IMGBIN::ImpBmp - Faltou memoria setvbuf"}),
              testing::ExitedWithCode(1), "^Erro IMGBIN::ImpBmp - abertura de  /nonexistent/out.bmp\n$");
}

TEST(ArqLe, PeekPadsShortFilesWithZerosAndKeepsThePosition) {
  const std::string p = scratch_path("arq_peek.bin");
  FILE* f = fopen(p.c_str(), "wb");
  fputs("P4", f);
  fclose(f);
  ARQLE r(p, "rb", "a ", "b");
  unsigned char b[8];
  memset(b, 0xFF, sizeof b);
  EXPECT_EQ(r.peek(b, 8), 2u);
  const unsigned char want[8] = {'P', '4', 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(0, memcmp(b, want, 8));
  EXPECT_EQ(std::fgetc(r.get()), 'P');
}
