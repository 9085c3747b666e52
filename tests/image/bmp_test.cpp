#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/imgbin.h"
#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

// A 1-bit BMP built independently of the reader: header as written by the
// usual tools, palette given, pixel(l, c) the stored bit of image row l
// (rows stored bottom first for a positive height, top first for a negative
// one).
template <class F>
Bytes bmp(int nc, int altura, const unsigned char (&paleta)[8], F pixel) {
  const int nl = altura < 0 ? -altura : altura;
  const int linha_bytes = (nc + 31) / 32 * 4;
  Bytes b(62 + std::size_t(nl) * linha_bytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  put_le32(b, 2, std::uint32_t(b.size()));
  put_le32(b, 10, 62);
  put_le32(b, 14, 40);
  put_le32(b, 18, std::uint32_t(nc));
  put_le32(b, 22, std::uint32_t(altura));
  put_le16(b, 26, 1);
  put_le16(b, 28, 1);
  put_le32(b, 46, 2);
  put_le32(b, 50, 2);
  std::copy(paleta, paleta + 8, b.begin() + 54);
  for (int k = 0; k < nl; ++k) {
    const int l = altura > 0 ? nl - 1 - k : k;
    for (int c = 0; c < nc; ++c)
      if (pixel(l, c)) b[62 + std::size_t(k) * linha_bytes + c / 8] |= 0x80 >> (c % 8);
  }
  return b;
}

constexpr unsigned char PRETO_BRANCO[8] = {0, 0, 0, 0, 255, 255, 255, 0};
constexpr unsigned char BRANCO_PRETO[8] = {255, 255, 255, 0, 0, 0, 0, 0};

bool xadrez(int l, int c) { return (l * 7 + c * 3) % 5 < 2; }

}  // namespace

TEST(Bmp, WritesTheBytesOfTheFormatBottomRowFirst) {
  // 3 x 33: two words per row, file size 62 + 24. The image's spare bits are
  // set and must not reach the file.
  IMGBIN img(3, 33, 0);
  for (int l = 0; l < 3; ++l)
    for (int c = 0; c < 33; ++c) img.set(l, c, xadrez(l, c));
  for (int l = 0; l < 3; ++l) img.row(l)[1] |= 0x7FFFFFFFu;
  const std::vector<std::uint32_t> antes(img.data(), img.data() + img.nw());

  const std::string p = scratch_path("escrita.bmp");
  img.ImpBmp(p);
  const Bytes f = read_bytes(p);
  EXPECT_EQ(f.size(), 86u);
  EXPECT_EQ(f, bmp(33, 3, PRETO_BRANCO, xadrez));
  EXPECT_EQ(std::vector<std::uint32_t>(img.data(), img.data() + img.nw()), antes);

  // 1 x 1 black: 66 bytes, the pixel in the top bit of the first data byte.
  IMGBIN um(1, 1, 0);
  um.ImpBmp(p);
  const Bytes g = read_bytes(p);
  ASSERT_EQ(g.size(), 66u);
  EXPECT_EQ(Bytes(g.begin() + 62, g.end()), Bytes({0, 0, 0, 0}));
  um.set(0, 0, true);
  um.ImpBmp(p);
  EXPECT_EQ(read_bytes(p)[62], 0x80);
}

TEST(Bmp, RoundTripKeepsPixelsAndSizesTheImageAnew) {
  const std::string p = scratch_path("volta.bmp");
  const int tamanhos[][2] = {{1, 1}, {3, 33}, {2, 32}, {5, 64}, {4, 95}, {17, 200}};
  for (const auto& t : tamanhos) {
    const IMGBIN orig = random_words_image(t[0], t[1], unsigned(t[0] * 1000 + t[1]));
    orig.ImpBmp(p);
    IMGBIN lida(2, 2, 0);
    lida.fundo() = 0;
    lida.lc() = 9;
    lida.LeBmp(p);
    SCOPED_TRACE(std::to_string(t[0]) + "x" + std::to_string(t[1]));
    expect_same_pixels(lida, orig);
    EXPECT_EQ(lida.fundo() & 1u, 1u);
    EXPECT_EQ(lida.lc(), (t[0] - 1) / 2);
    EXPECT_EQ(lida.cc(), (t[1] - 1) / 2);
  }
}

TEST(Bmp, FullPageRoundTrip) {
  const IMGBIN orig = random_words_image(7016, 4960, 7);
  const std::string p = scratch_path("pagina.bmp");
  orig.ImpBmp(p);
  EXPECT_EQ(read_bytes(p).size(), 62u + 7016u * 620u);
  IMGBIN lida;
  lida.LeBmp(p);
  expect_same_pixels(lida, orig);
}

TEST(Bmp, ASetBitIsTheBrighterPaletteColour) {
  struct Caso {
    const char* nome;
    unsigned char paleta[8];
    bool branco_se_1;  // a stored 1 reads as white
  };
  const Caso casos[] = {
      {"black, white", {0, 0, 0, 0, 255, 255, 255, 0}, true},
      {"white, black", {255, 255, 255, 0, 0, 0, 0, 0}, false},
      {"dark red, light blue", {0, 0, 90, 0, 200, 0, 0, 0}, true},
      {"equal grey levels", {30, 30, 30, 0, 90, 0, 0, 0}, true},
      // Sums 3 and 2 are both grey level 1 after (sum + 1) / 3: kept.
      {"equal after rounding", {3, 0, 0, 0, 2, 0, 0, 0}, true},
  };
  const std::string p = scratch_path("paleta.bmp");
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nome);
    write_bytes(p, bmp(13, 3, k.paleta, xadrez));
    IMGBIN img;
    img.LeBmp(p);
    for (int l = 0; l < 3; ++l)
      for (int c = 0; c < 13; ++c) ASSERT_EQ(img.get(l, c), xadrez(l, c) == k.branco_se_1);
  }
  // Entry 0 white with all bits 0: all white.
  write_bytes(p, bmp(9, 2, BRANCO_PRETO, [](int, int) { return false; }));
  IMGBIN img;
  img.LeBmp(p);
  for (int l = 0; l < 2; ++l)
    for (int c = 0; c < 9; ++c) EXPECT_TRUE(img.get(l, c));
}

TEST(Bmp, NegativeHeightStoresTheTopRowFirst) {
  const std::string p = scratch_path("topo.bmp");
  write_bytes(p, bmp(40, -5, PRETO_BRANCO, xadrez));
  IMGBIN img;
  img.LeBmp(p);
  ASSERT_EQ(img.nl(), 5);
  ASSERT_EQ(img.nc(), 40);
  for (int l = 0; l < 5; ++l)
    for (int c = 0; c < 40; ++c) ASSERT_EQ(img.get(l, c), xadrez(l, c));
}

TEST(Bmp, HeaderVariantsThatAreAccepted) {
  struct Caso {
    const char* nome;
    std::size_t at;
    std::uint32_t valor;
  };
  const Bytes base = bmp(20, 4, PRETO_BRANCO, xadrez);  // 62 + 16 bytes
  const Caso casos[] = {
      {"colours used 0", 46, 0},
      {"image size matching the file size", 34, 16},
      {"image size 0 skips the file size", 2, 12345},
      {"resolutions and important colours ignored", 38, 2835},
  };
  const std::string p = scratch_path("variante.bmp");
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nome);
    Bytes b = base;
    put_le32(b, k.at, k.valor);
    write_bytes(p, b);
    IMGBIN img;
    img.LeBmp(p);
    ASSERT_EQ(img.nl(), 4);
    for (int l = 0; l < 4; ++l)
      for (int c = 0; c < 20; ++c) ASSERT_EQ(img.get(l, c), xadrez(l, c));
  }
}

TEST(BmpDeath, RefusedFilesStopWithTheirMessage) {
  struct Caso {
    const char* nome;
    std::size_t at;     // field patched, or SIZE_MAX for none
    int tam;            // 2 or 4 bytes
    std::uint32_t valor;
    std::size_t corte;  // bytes kept, 0 for all
    const char* msg;
  };
  const Bytes base = bmp(20, 4, PRETO_BRANCO, xadrez);
  const Caso casos[] = {
      {"signature", 0, 2, 0x4D43, 0, "BMP invalido"},
      {"offset", 10, 4, 54, 0, "ImageDataOffset"},
      {"header size", 14, 4, 124, 0, "HeaderSize"},
      {"planes", 26, 2, 2, 0, "NumberOfImagePlanes"},
      {"4 bits", 28, 2, 4, 0, "BMP nao-binario"},
      {"compressed", 30, 4, 1, 0, "BMP compactado"},
      {"1 colour", 46, 4, 1, 0, "BMP nao-binario"},
      {"256 colours", 46, 4, 256, 0, "BMP nao-binario"},
      {"image size", 34, 4, 17, 0, "Numero de bytes"},
      {"width 0", 18, 4, 0, 0, "BMP invalido"},
      {"negative width", 18, 4, std::uint32_t(-20), 0, "BMP invalido"},
      {"height 0", 22, 4, 0, 0, "BMP invalido"},
      {"most negative height", 22, 4, 0x80000000u, 0, "BMP invalido"},
      {"one byte", SIZE_MAX, 0, 0, 1, "BMP invalido"},
      {"cut in the file header", SIZE_MAX, 0, 0, 9, "Fim inesperado"},
      {"cut in the information header", SIZE_MAX, 0, 0, 40, "Fim inesperado"},
      {"cut in the palette", SIZE_MAX, 0, 0, 58, "Fim inesperado"},
      {"cut in the pixels", SIZE_MAX, 0, 0, 77, "Fim inesperado"},
      {"no pixels", SIZE_MAX, 0, 0, 62, "Fim inesperado"},
  };
  const std::string p = scratch_path("recusado.bmp");
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nome);
    Bytes b = base;
    if (k.tam == 2) put_le16(b, k.at, k.valor);
    if (k.tam == 4) put_le32(b, k.at, k.valor);
    if (k.corte) b.resize(k.corte);
    write_bytes(p, b);
    IMGBIN img;
    EXPECT_EXIT(img.LeBmp(p), testing::ExitedWithCode(1),
                stderr_line(std::string("Erro IMGBIN::LeBmp - ") + k.msg + " "));
  }
  // Pixels cut short in a pipe are found by the read itself.
  const Bytes cortado(base.begin(), base.begin() + 77);
  IMGBIN pb;
  EXPECT_EXIT(pb.LeBmp(pipe_holding(cortado)), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::LeBmp - Fim inesperado "));
  // Several faults: the first check in reading order wins.
  Bytes b = base;
  put_le32(b, 14, 12);
  put_le16(b, 28, 24);
  write_bytes(p, b);
  IMGBIN img;
  EXPECT_EXIT(img.LeBmp(p), testing::ExitedWithCode(1), stderr_line("Erro IMGBIN::LeBmp - HeaderSize "));
}

TEST(BmpDeath, HeaderSizesAreCheckedBeforeAllocating) {
  const std::string p = scratch_path("enorme.bmp");
  IMGBIN img;
  // A pixel count that fits an int but rows the file does not have.
  Bytes b = bmp(20, 4, PRETO_BRANCO, xadrez);
  put_le32(b, 18, 1);
  put_le32(b, 22, INT_MAX);
  write_bytes(p, b);
  EXPECT_EXIT((cap_address_space(), img.LeBmp(p)), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::LeBmp - Fim inesperado "));
  put_le32(b, 22, std::uint32_t(-INT_MAX));
  write_bytes(p, b);
  EXPECT_EXIT((cap_address_space(), img.LeBmp(p)), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::LeBmp - Fim inesperado "));
  // A pipe cannot tell its length: its rows are counted as they arrive, so
  // the same header allocates nothing for the rows it does not deliver.
  put_le32(b, 22, INT_MAX);
  EXPECT_EXIT((cap_address_space(), img.LeBmp(pipe_holding(b))), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::LeBmp - Fim inesperado "));
  // A pixel count beyond an int: the image's own allocation message.
  put_le32(b, 18, 65536);
  put_le32(b, 22, 65536);
  write_bytes(p, b);
  EXPECT_EXIT((cap_address_space(), img.LeBmp(p)), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::aloca - falta memoria "));
}

TEST(BmpDeath, OpeningAndWritingFailures) {
  const std::string nulo = scratch_path("nulo.bmp");
  std::remove(nulo.c_str());
  const int vazios[][2] = {{0, 5}, {5, 0}, {0, 0}, {-1, 3}};
  for (const auto& v : vazios) {
    const IMGBIN img(v[0], v[1]);
    EXPECT_EXIT(img.ImpBmp(nulo), testing::ExitedWithCode(1), stderr_line("Erro IMGBIN:ImpBmp - Imagem nula  " + nulo));
    EXPECT_FALSE(exists(nulo));
  }
  const IMGBIN img(300, 300, 1);
  EXPECT_EXIT(img.ImpBmp("/dev/full"), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::ImpBmp - Falha de escrita  /dev/full"));
  const IMGBIN um(1, 1, 1);  // the failure shows only when the file is closed
  EXPECT_EXIT(um.ImpBmp("/dev/full"), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::ImpBmp - Falha de escrita  /dev/full"));

  const std::string sem_pasta = scratch_path("nao/existe.bmp");
  EXPECT_EXIT(img.ImpBmp(sem_pasta), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::ImpBmp - abertura de  " + sem_pasta));
  IMGBIN l;
  EXPECT_EXIT(l.LeBmp(sem_pasta), testing::ExitedWithCode(1),
              stderr_line("Erro IMGBIN::LeBmp - Abertura de  " + sem_pasta));
}
