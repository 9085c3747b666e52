#include "base/arquivo.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/erro.h"
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

namespace {

ARQLE abre_volta(const std::string& nome) {
  return ARQLE(nome, "rb", "Erro T::Le - Abertura ", "Erro T::Le - Faltou memoria setvbuf", ARQLE::VOLTA);
}

std::string le_tudo(ARQLE& a) {
  std::string s;
  int c;
  while ((c = std::fgetc(a.get())) != EOF) s += static_cast<char>(c);
  return s;
}

// Files left in the scratch folder whose name the writer gives its
// temporary files.
int temporarios() {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(testsupport::scratch_dir()))
    if (e.path().filename().string().rfind(".imagorix-", 0) == 0) ++n;
  return n;
}

}  // namespace

// Detection reads ahead and the reader then starts from the first byte: a
// pipe, which cannot seek, replays what it kept.
TEST(ArqLe, APipeOpenedToGoBackReplaysFromItsStart) {
  std::string dados;
  for (int i = 0; i < 5000; ++i) dados += static_cast<char>('a' + i % 26);
  for (const std::string& nome :
       {testsupport::pipe_holding(dados), testsupport::write_text(scratch_path("volta.txt"), dados)}) {
    ARQLE a = abre_volta(nome);
    unsigned char h[192];
    EXPECT_EQ(a.peek(h, sizeof h), sizeof h);
    EXPECT_EQ(0, memcmp(h, dados.data(), sizeof h));
    char buf[3000];
    ASSERT_TRUE(a.read(buf, sizeof buf));
    a.rebobina();
    EXPECT_EQ(std::fgetc(a.get()), 'a');
    a.rebobina();
    a.solta();
    EXPECT_EQ(le_tudo(a), dados) << nome;
  }
}

TEST(ArqLe, APipeNotOpenedToGoBackCannotRewind) {
  ARQLE a(testsupport::pipe_holding(std::string("abc")), "rb", "a ", "b");
  EXPECT_EQ(a.remaining(), -1);
  std::fgetc(a.get());
  EXPECT_EXIT(a.rebobina(), testing::ExitedWithCode(1), "^Erro ARQLE::rebobina - Leitura nao pode voltar  /dev/fd/");
}

// A write that fails, or a writer that ends the program half way, leaves the
// file it would replace as it was, and no temporary file behind.
TEST(ArqImp, FailedWritesLeaveTheOldFileUntouched) {
  const std::string p = scratch_path("antigo.bin");
  testsupport::write_text(p, "old content");
  EXPECT_EXIT((cap_file_size(1000), write_bytes(p, 1 << 20)), testing::ExitedWithCode(1),
              "^Erro IMGBIN::ImpBmp - Falha de escrita  .*antigo.bin\n$");
  EXPECT_EQ(testsupport::read_text(p), "old content");
  EXPECT_EXIT(
      {
        ARQIMP f(p, "wb", "T::Imp", "Erro T::Imp - abertura de ", "Erro T::Imp - Faltou memoria setvbuf");
        f.write("new", 3);
        imagorix::erro("Erro: interrompido");
      },
      testing::ExitedWithCode(1), "^Erro: interrompido \n$");
  EXPECT_EQ(testsupport::read_text(p), "old content");
  EXPECT_EQ(temporarios(), 0);
  write_bytes(p, 5);
  EXPECT_EQ(testsupport::read_text(p), "UUUUU");
  EXPECT_EQ(temporarios(), 0);
}

TEST(ArqImp, KeepsPermissionsAndWritesThroughLinks) {
  namespace fs = std::filesystem;
  const std::string alvo = scratch_path("alvo.bin"), ligacao = scratch_path("ligacao.bin");
  testsupport::write_text(alvo, "old");
  chmod(alvo.c_str(), 0640);
  fs::remove(ligacao);
  fs::create_symlink(alvo, ligacao);
  write_bytes(ligacao, 4);
  EXPECT_TRUE(fs::is_symlink(ligacao));
  EXPECT_EQ(testsupport::read_text(alvo), "UUUU");
  struct stat st;
  ASSERT_EQ(stat(alvo.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  // A new file gets what the process's mask allows.
  const std::string novo = scratch_path("novo.bin");
  fs::remove(novo);
  const mode_t antes = umask(027);
  write_bytes(novo, 1);
  umask(antes);
  ASSERT_EQ(stat(novo.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// A file the process may not write stays as it is, although its folder would
// let a new file take its name.
TEST(ArqImp, AFileThatMayNotBeWrittenIsNotReplaced) {
  std::string pasta = testing::TempDir() + "arq_somente_leitura_XXXXXX";
  ASSERT_NE(mkdtemp(pasta.data()), nullptr);
  chmod(pasta.c_str(), 0777);
  const std::string p = pasta + "/fixo.bin";
  testsupport::write_text(p, "fixed");
  chmod(p.c_str(), 0444);
  // Root may write anything; the writer then runs as an ordinary user.
  EXPECT_EXIT((getuid() == 0 && setuid(65534) != 0 ? std::abort() : (void)0, write_bytes(p, 3)),
              testing::ExitedWithCode(1), "^Erro IMGBIN::ImpBmp - abertura de  " + p + "\n$");
  EXPECT_EQ(testsupport::read_text(p), "fixed");
  std::filesystem::remove_all(pasta);
}
