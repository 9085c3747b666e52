#include "image/tipo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

Bytes texto(const std::string& s) { return Bytes(s.begin(), s.end()); }

// TGA headers of 18 bytes, followed by a 2 x 2 picture.
Bytes tga(unsigned char cmap, unsigned char tipo, unsigned char cmbits, unsigned char bpp) {
  Bytes b = {0, cmap, tipo, 0, 0, 0, 0, cmbits, 0, 0, 0, 0, 2, 0, 2, 0, bpp, 0};
  if (cmap) put_le16(b, 5, 256);
  b.resize(b.size() + (cmap ? 768 : 0) + 4 * (bpp / 8), 0x40);
  return b;
}

// A 1-bit BMP header (62 bytes with its two-colour table) and 8 x 1 pixels.
Bytes bmp(unsigned bits, unsigned comp, unsigned cores) {
  Bytes b = {'B', 'M'};
  put_le32(b, 2, 66);
  put_le32(b, 10, 62);
  put_le32(b, 14, 40);
  put_le32(b, 18, 8);
  put_le32(b, 22, 1);
  put_le16(b, 26, 1);
  put_le16(b, 28, bits);
  put_le32(b, 30, comp);
  put_le32(b, 46, cores);
  b.resize(62, 0);
  b[58] = b[59] = b[60] = 0xFF;
  b.insert(b.end(), {0xA5, 0, 0, 0});
  return b;
}

// An AVI file long enough for the first stream's bitmap header, with planes
// and bits per pixel at 184 and compression at 188.
Bytes avi(unsigned bits, unsigned comp) {
  Bytes b = texto("RIFF");
  put_le32(b, 4, 1000);
  b.insert(b.end(), {'A', 'V', 'I', ' '});
  b.resize(200, 0);
  put_le32(b, 184, bits);
  put_le32(b, 188, comp);
  return b;
}

Bytes com_tag(const char* tag) {
  Bytes b = texto(tag);
  b.resize(40, 0x11);
  return b;
}

struct Caso {
  const char* nome;  // the suffix is deliberately misleading where it can be
  Bytes bytes;
  int tipo;
};

}  // namespace

class TipoPorConteudo : public testing::TestWithParam<Caso> {};

TEST_P(TipoPorConteudo, DetectsTheCode) {
  const Caso& c = GetParam();
  EXPECT_EQ(TipoImg(write_bytes(scratch_path(c.nome), c.bytes)), c.tipo);
}

INSTANTIATE_TEST_SUITE_P(
    Arquivos, TipoPorConteudo,
    testing::Values(
        Caso{"tga_grey.bmp", tga(0, 3, 0, 8), 1},
        Caso{"tga_cmap.bmp", tga(1, 1, 24, 8), 2},
        Caso{"tga_rgb.bmp", tga(0, 2, 0, 24), 3},
        // An 18-byte header alone: the bytes past the end read as zero.
        Caso{"tga_header_only", Bytes{0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 8, 0}, 1},
        Caso{"bmp_zero_colours.pgm", bmp(1, 0, 0), 4},
        Caso{"bmp_two_colours", bmp(1, 0, 2), 4},
        Caso{"jpeg_signature_only.tga", Bytes{0xFF, 0xD8}, 21},
        Caso{"avi8.jpg", avi(0x00080001, 0), 51},
        Caso{"avi24", avi(0x00180001, 0), 52},
        Caso{"matrix.pgm", texto("2 3\n\n1 2 3\n4 5 6\n"), 5},
        Caso{"matrix_comments", texto("# size\n/* rows */ 2, -3\n"), 5},
        Caso{"matrix_two_numbers", texto("7 8"), 5},
        Caso{"native_sht.txt", com_tag("IMGSHT*"), 11},
        Caso{"native_flt", com_tag("IMGFLT*"), 13},
        Caso{"native_3dflt", com_tag("I3DFLT*"), 14},
        Caso{"native_cpx", com_tag("IMGCPX*"), 15},
        Caso{"native_3dsht", com_tag("I3DSHT*"), 16},
        Caso{"native_3dcpx", com_tag("I3DCPX*"), 18},
        Caso{"native_dbl", com_tag("IMGDBL*"), 17},
        Caso{"plain_pbm.bmp", texto("P1\n2 2\n0 1\n1 0\n"), 61},
        Caso{"plain_pgm", texto("P2 1 1 255 7\n"), 62},
        Caso{"plain_ppm", texto("P3 1 1 255 1 2 3\n"), 63},
        Caso{"raw_pbm", Bytes{'P', '4', '\n', '8', ' ', '1', '\n', 0x55}, 64},
        Caso{"raw_pgm", Bytes{'P', '5', ' ', '1', ' ', '1', ' ', '9', ' ', 0}, 65},
        Caso{"raw_ppm", Bytes{'P', '6', '\n', '1', ' ', '1', '\n', '9', '\n', 1, 2, 3}, 66}));

class TipoRecusado : public testing::TestWithParam<Caso> {};

const char* const DESCONHECIDO =
    "^Erro TipoImg - Formato deve ser JPG ou um dos nao-compactados: BMP-1bit ou TGA-8bits ou "
    "TGA-24bits ou \\.TXT \\(MAT\\) ou \\.IMG ou \\.AVIou PBM ou PGM ou PPM \n$";
const char* const AVI_DESCONHECIDO =
    "^Erro TipoImg - Formato deve ser JPG ou um dos nao-compactados: BMP-1bit ou TGA-8bits ou "
    "TGA-24bits ou \\.TXT \\(MAT\\) ou \\.IMG ou \\.AVI \n$";

// tipo: 0 for the general message, 1 for the AVI one.
TEST_P(TipoRecusado, EndsWithTheFormatMessage) {
  const Caso& c = GetParam();
  const std::string p = write_bytes(scratch_path(c.nome), c.bytes);
  EXPECT_EXIT(TipoImg(p), testing::ExitedWithCode(1), c.tipo ? AVI_DESCONHECIDO : DESCONHECIDO);
}

INSTANTIATE_TEST_SUITE_P(
    Arquivos, TipoRecusado,
    testing::Values(
        Caso{"empty.bmp", {}, 0},
        Caso{"tga_cmap_len_grey", [] { Bytes b = tga(0, 3, 0, 8); b[5] = 1; return b; }(), 0},
        Caso{"tga_16bit", tga(0, 2, 0, 16), 0},
        // Three bytes of a grey TGA header: byte 16 is missing, so zero.
        Caso{"tga_cut", Bytes{0, 0, 3}, 0},
        Caso{"bmp_8bit", bmp(8, 0, 0), 0},
        Caso{"bmp_rle", bmp(1, 1, 0), 0},
        Caso{"bmp_three_colours", bmp(1, 0, 3), 0},
        Caso{"one_number", texto("12\n"), 0},
        Caso{"number_word", texto("12 x3\n"), 0},
        Caso{"tag_short", com_tag("IMGSHT"), 0},
        Caso{"pnm_p7", texto("P7\n1 1\n"), 0},
        Caso{"avi16", avi(0x00100001, 0), 1},
        Caso{"avi8_compressed", avi(0x00080001, 1), 1},
        // Only the RIFF header: the bitmap fields past the end read as zero.
        Caso{"avi_cut", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, 1}));

TEST(TipoImg, MissingFile) {
  EXPECT_EXIT(TipoImg("/nonexistent/x.bmp"), testing::ExitedWithCode(1),
              "^Erro TipoImg - Abertura  /nonexistent/x.bmp\n$");
}

struct CasoSufixo {
  std::string nome;
  std::string grava;
  int tipo, num;
};

class SufixoEscolhe : public testing::TestWithParam<CasoSufixo> {};

TEST_P(SufixoEscolhe, NameTypeAndNumber) {
  const CasoSufixo& c = GetParam();
  const SUFIXO s = Sufixo(c.nome);
  EXPECT_EQ(s.nome, c.grava);
  EXPECT_EQ(s.tipo, c.tipo);
  EXPECT_EQ(s.num, c.num);
}

INSTANTIATE_TEST_SUITE_P(
    Nomes, SufixoEscolhe,
    testing::Values(
        CasoSufixo{"out.pbm", "out.pbm", 64, 0},
        CasoSufixo{"out.pbm1", "out.pbm", 61, 1},
        CasoSufixo{"out.pbm0", "out.pbm", 64, 0},
        CasoSufixo{"photo.jpg75", "photo.jpg", 21, 75},
        CasoSufixo{"photo.JPG", "photo.JPG", 21, 90},
        CasoSufixo{"photo.jpg0", "photo.jpg", 21, 90},
        CasoSufixo{"a.PGM2", "a.PGM", 62, 2},
        CasoSufixo{"a.pgm", "a.pgm", 65, 0},
        CasoSufixo{"a.ppm-1", "a.ppm", 63, -1},
        CasoSufixo{"a.ppm", "a.ppm", 66, 0},
        CasoSufixo{"a.pgm 7", "a.pgm", 62, 7},
        CasoSufixo{"a.bmp3x", "a.bmp", 4, 3},
        CasoSufixo{"x.tga", "x.tga", 1, 0},
        CasoSufixo{"x.Txt", "x.Txt", 5, 0},
        CasoSufixo{"x.mat", "x.mat", 5, 0},
        CasoSufixo{"x.img", "x.img", 11, 0},
        CasoSufixo{"x.avi", "x.avi", 51, 0},
        CasoSufixo{"x.HAS", "x.HAS", 51, 0},
        CasoSufixo{"x.gif", "x.gif", 30, 0},
        CasoSufixo{"x.jp", "x.jp", 30, 0},
        CasoSufixo{"x.", "x.", 30, 0},
        CasoSufixo{"clip", "clip", 40, 0},
        // The last dot of the whole name counts, even in a directory.
        CasoSufixo{"dir.v/x", "dir.v/x", 30, 0},
        CasoSufixo{"dir.v/x.bmp", "dir.v/x.bmp", 4, 0},
        CasoSufixo{std::string(251, 'a') + ".bmp", std::string(251, 'a') + ".bmp", 4, 0}));

TEST(Sufixo, Refusals) {
  const char* numero = "^Erro suf do arquivo: numero apos suf \n$";
  EXPECT_EXIT(Sufixo("a.jpeg"), testing::ExitedWithCode(1), numero);
  EXPECT_EXIT(Sufixo("a.bmp+"), testing::ExitedWithCode(1), numero);
  EXPECT_EXIT(Sufixo("../clip"), testing::ExitedWithCode(1), numero);
  EXPECT_EXIT(Sufixo("a.jpg99999999999"), testing::ExitedWithCode(1), numero);
  const char* nome = "^Erro: nome arquivo invalido \n$";
  EXPECT_EXIT(Sufixo(""), testing::ExitedWithCode(1), nome);
  EXPECT_EXIT(Sufixo(std::string(252, 'a') + ".bmp"), testing::ExitedWithCode(1), nome);
  // The length is checked before anything else.
  EXPECT_EXIT(Sufixo(std::string(251, 'a') + ".jpeg"), testing::ExitedWithCode(1), nome);
}
