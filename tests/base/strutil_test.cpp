#include "base/strutil.h"

#include <gtest/gtest.h>

#include <string>

using namespace imagorix;

TEST(StrUtil, CaseConversionLeavesOtherBytesAlone) {
  const std::string s = "Img_01.PgM \xc3\x89\xff";
  EXPECT_EQ(strlower(s), "img_01.pgm \xc3\x89\xff");
  EXPECT_EQ(strupper(s), "IMG_01.PGM \xc3\x89\xff");
  EXPECT_EQ(strlower(""), "");
  EXPECT_EQ(strupper(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(StrUtil, Extension) {
  const struct {
    std::string nome, ext;
  } casos[] = {
      {"Img.PGM", "pgm"},
      {"archive", ""},
      {"a.b.TXT", "txt"},
      {"name.", ""},
      {".", ""},
      {".Profile", "profile"},
      {"out.pbm1", "pbm1"},
      {"dir.d/file", ""},
      {"../photos/img", ""},
      {"C:\\my.dir\\scan", ""},
      {"C:\\my.dir\\scan.Bmp", "bmp"},
      {std::string(251, 'x') + ".tga", "tga"},  // 255 characters
  };
  for (const auto& c : casos) EXPECT_EQ(extension(c.nome), c.ext) << c.nome;
}

TEST(StrUtilDeathTest, ExtensionRejectsEmptyAndOverlongNames) {
  EXPECT_EXIT(extension(""), testing::ExitedWithCode(1), "^Erro: nome arquivo invalido \n$");
  EXPECT_EXIT(extension(std::string(252, 'x') + ".tga"), testing::ExitedWithCode(1),
              "^Erro: nome arquivo invalido x{252}\\.tga\n$");
}
