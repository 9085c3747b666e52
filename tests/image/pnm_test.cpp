#include "image/pnm.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "support/files.h"
#include "support/images.h"

using namespace imagorix;
using namespace testsupport;

namespace {

const std::string CABECA = "#Created by Imagorix\n";

IMGGRY cinza(int nl, int nc, unsigned semente) {
  std::mt19937 g(semente);
  IMGGRY img(nl, nc);
  for (int k = 0; k < img.n(); ++k) img.data()[k] = BYTE(g());
  return img;
}

IMGCOR colorida(int nl, int nc, unsigned semente) {
  std::mt19937 g(semente);
  IMGCOR img(nl, nc);
  for (int k = 0; k < img.n(); ++k) img.data()[k] = COR{BYTE(g()), BYTE(g() >> 8), BYTE(g() >> 16)};
  return img;
}

}  // namespace

TEST(Pnm, WrittenFilesByteForByte) {
  IMGBIN b22(2, 2, {1, 0, 0, 1});  // top row white, black
  IMGBIN b110(1, 10, {0, 1, 1, 0, 0, 0, 1, 1, 1, 0});
  b110.row(0)[0] |= 0x003FFFFFu;  // spare bits set: they must not show
  IMGBIN b110preto = b110;
  b110preto.fundo() = 0;  // black background: the padding bits are 1
  const IMGGRY g(2, 3, {0, 7, 255, 100, 99, 10});
  const IMGCOR c(1, 2, {1, 2, 3, 255, 128, 0});
  const std::string p = scratch_path("exato");
  struct Caso {
    const char* nome;
    std::function<void()> escreve;
    std::string esperado;
  };
  const Caso casos[] = {
      {"plain PBM", [&] { imppbmt(b22, p); }, "P1\n" + CABECA + "2 2\n0 1 \n1 0 \n"},
      {"raw PBM", [&] { imppbmb(b110, p); }, "P4\n" + CABECA + "10 1\n" + std::string("\x9c\x40", 2)},
      {"raw PBM, black background", [&] { imppbmb(b110preto, p); },
       "P4\n" + CABECA + "10 1\n" + std::string("\x9c\x7f", 2)},
      {"plain PGM", [&] { imppgmt(g, p); }, "P2\n" + CABECA + "3 2\n255\n  0   7 255 \n100  99  10 \n"},
      {"raw PGM", [&] { imppgmb(g, p); }, "P5\n" + CABECA + "3 2\n255\n" + std::string("\0\x07\xff\x64\x63\x0a", 6)},
      {"plain PPM", [&] { impppmt(c, p); }, "P3\n" + CABECA + "2 1\n255\n  1   2   3  255 128   0  \n"},
      {"raw PPM", [&] { impppmb(c, p); }, "P6\n" + CABECA + "2 1\n255\n" + std::string("\x01\x02\x03\xff\x80\x00", 6)},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nome);
    k.escreve();
    EXPECT_EQ(read_text(p), k.esperado);
  }
}

TEST(Pnm, RoundTripOfEveryVariant) {
  const std::string p = scratch_path("volta");
  const int tamanhos[][2] = {{1, 1}, {2, 7}, {3, 33}, {5, 70}};
  for (const auto& t : tamanhos) {
    SCOPED_TRACE(std::to_string(t[0]) + "x" + std::to_string(t[1]));
    const unsigned s = unsigned(t[0] * 100 + t[1]);
    const IMGBIN b = random_words_image(t[0], t[1], s);
    const IMGGRY g = cinza(t[0], t[1], s);
    const IMGCOR c = colorida(t[0], t[1], s);
    IMGBIN bl;
    IMGGRY gl;
    IMGCOR cl;
    imppbmt(b, p), lepbmt(bl, p), expect_same_pixels(bl, b);
    imppbmb(b, p), lepbmb(bl, p), expect_same_pixels(bl, b);
    imppgmt(g, p), lepgmt(gl, p), expect_same_pixels(gl, g);
    imppgmb(g, p), lepgmb(gl, p), expect_same_pixels(gl, g);
    impppmt(c, p), leppmt(cl, p), expect_same_pixels(cl, c);
    impppmb(c, p), leppmb(cl, p), expect_same_pixels(cl, c);
  }
}

TEST(Pnm, FullPageRawPbmRoundTrip) {
  const IMGBIN orig = random_words_image(7016, 4960, 3);
  const std::string p = scratch_path("pagina.pbm");
  imppbmb(orig, p);
  EXPECT_EQ(read_text(p).size(), 3 + CABECA.size() + 10 + 7016u * 620u);
  IMGBIN lida;
  lepbmb(lida, p);
  expect_same_pixels(lida, orig);
}

TEST(Pnm, ReadersTakeCommentsLayoutAndScaling) {
  const std::string p = scratch_path("le");
  struct CasoGry {
    const char* nome;
    std::string arquivo;
    bool raw;
    IMGGRY esperado;
  };
  const CasoGry cinzas[] = {
      {"comments between header values", "P2 # a\n# b\n3 # w\n1\n#m\n255 1 2 3", false, IMGGRY(1, 3, {1, 2, 3})},
      {"plain, maximum 15", "P2\n3 1\n15\n15 7 0\n", false, IMGGRY(1, 3, {255, 119, 0})},
      {"plain, maximum 65535", "P2\n3 1\n65535\n65535 32768 128\n", false, IMGGRY(1, 3, {255, 128, 0})},
      {"plain, samples beyond the maximum", "P2\n3 1\n255\n300 -4 255\n", false, IMGGRY(1, 3, {255, 0, 255})},
      {"plain, maximum 15, sample beyond it", "P2\n2 1\n15\n16 -1\n", false, IMGGRY(1, 2, {255, 0})},
      {"raw, maximum 15", "P5\n3 1\n15\n" + std::string("\x0f\x07\x00", 3), true, IMGGRY(1, 3, {255, 119, 0})},
      {"raw, maximum 1, byte beyond it", "P5 3 1 1\n" + std::string("\x01\x00\x02", 3), true, IMGGRY(1, 3, {255, 0, 255})},
      // The data starts after the one separator that ends the maximum, even
      // when the first samples look like blanks.
      {"raw, data that looks like blanks", "P5\n3 1\n255\n\n \t", true, IMGGRY(1, 3, {10, 32, 9})},
  };
  for (const CasoGry& k : cinzas) {
    SCOPED_TRACE(k.nome);
    write_text(p, k.arquivo);
    IMGGRY img;
    k.raw ? lepgmb(img, p) : lepgmt(img, p);
    expect_same_pixels(img, k.esperado);
  }

  // PPM: channels red, green, blue; scaling applies to each.
  IMGCOR c;
  write_text(p, "P3 # rgb\n2 1 255\n1 2 3 4 5 6\n");
  leppmt(c, p);
  expect_same_pixels(c, IMGCOR(1, 2, {1, 2, 3, 4, 5, 6}));
  write_text(p, "P6\n1 1\n3\n" + std::string("\x03\x01\x00", 3));
  leppmb(c, p);
  expect_same_pixels(c, IMGCOR(1, 1, {255, 85, 0}));

  // PBM: 1 is black. Plain accepts every truth token; raw skips the bits
  // after the last column of each row.
  IMGBIN b;
  write_text(p, "P1\n# c\n3 2\n1 0 x\n. t f");
  lepbmt(b, p);
  expect_same_pixels(b, IMGBIN(2, 3, {0, 1, 0, 1, 0, 1}));
  write_text(p, "P4\n3 2\n" + std::string("\x5f\xe0", 2));
  lepbmb(b, p);
  expect_same_pixels(b, IMGBIN(2, 3, {1, 0, 1, 0, 0, 0}));
}

TEST(Pnm, ReaderKeepsBackgroundAndCentreWhenTheSizeStays) {
  const std::string p = scratch_path("centro.pgm");
  imppgmb(cinza(4, 6, 1), p);
  IMGGRY img(4, 6);
  img.fundo() = 77;
  img.lc() = 0;
  lepgmb(img, p);
  EXPECT_EQ(img.fundo(), 77);
  EXPECT_EQ(img.lc(), 0);
  IMGGRY outra(3, 3);
  outra.fundo() = 77;
  outra.lc() = 0;
  lepgmb(outra, p);
  EXPECT_EQ(outra.fundo(), 0);
  EXPECT_EQ(outra.lc(), 1);
}

TEST(PnmDeath, RefusedFilesStopWithTheirMessage) {
  using Leitor = std::function<void(const std::string&)>;
  const Leitor pbmt = [](const std::string& n) { IMGBIN i; lepbmt(i, n); };
  const Leitor pbmb = [](const std::string& n) { IMGBIN i; lepbmb(i, n); };
  const Leitor pgmt = [](const std::string& n) { IMGGRY i; lepgmt(i, n); };
  const Leitor pgmb = [](const std::string& n) { IMGGRY i; lepgmb(i, n); };
  const Leitor ppmt = [](const std::string& n) { IMGCOR i; leppmt(i, n); };
  const Leitor ppmb = [](const std::string& n) { IMGCOR i; leppmb(i, n); };
  struct Caso {
    const char* nome;
    Leitor le;
    std::string arquivo;
    std::string msg;
  };
  const Caso casos[] = {
      {"P4 to lepbmt", pbmt, "P4\n1 1\n\x80", "Erro lepbmt: Formato nao-PBMT (TEXT)"},
      {"P1 to lepbmb", pbmb, "P1\n1 1\n1", "Erro lepbmb: Formato nao-PBMB (BINARY)"},
      {"P5 to lepgmt", pgmt, "P5\n1 1\n255\nA", "Erro lepgmt: Formato nao-PGMT (TEXT)"},
      {"P2 to lepgmb", pgmb, "P2\n1 1\n255\n1", "Erro lepgmb: Formato nao-PGMB (BINARY)"},
      {"P6 to leppmt", ppmt, "P6\n1 1\n255\nABC", "Erro leppmt: Formato nao-PPMT (TEXT)"},
      {"P3 to leppmb", ppmb, "P3\n1 1\n255\n1 2 3", "Erro leppmb: Formato nao-PPMB (BINARY)"},
      {"P22 is not P2", pgmt, "P22\n1 1\n255\n1", "Erro lepgmt: Formato nao-PGMT (TEXT)"},
      {"digits run together", pbmt, "P1\n4 1\n0110      \n", "LeNum(bool)"},
      {"plain PBM ends early", pbmt, "P1\n2 2\n1 0 1    \n", "LeNum(bool)"},
      {"plain PGM ends early", pgmt, "P2\n2 2\n255\n1 2 3    \n", "LeNum(BYTE)"},
      {"plain PGM, maximum 15, ends early", pgmt, "P2\n2 2\n15\n1 2 3    \n", "LeNum(int)"},
      {"plain PPM ends early", ppmt, "P3\n1 2\n255\n1 2 3 4 5    \n", "LeNum(BYTE)"},
      {"width not a number", pgmb, "P5\nabc 1\n255\n", "LeNum(int)"},
      {"no maximum", ppmb, "P6\n1 1\n", "LeNum(int)"},
      {"raw PGM, maximum 65535", pgmb, "P5\n1 1\n65535\nAB", "Erro: ncores>255"},
      {"raw PPM, maximum 256", ppmb, "P6\n1 1\n256\nABCDEF", "Erro: ncores>255"},
      {"plain PGM, maximum 0", pgmt, "P2\n1 1\n0\n0", "Erro lepgmt - Valor maximo invalido"},
      {"raw PGM, maximum -1", pgmb, "P5\n1 1\n-1\nA", "Erro lepgmb - Valor maximo invalido"},
      {"plain PPM, maximum 0", ppmt, "P3\n1 1\n0\n0 0 0", "Erro leppmt - Valor maximo invalido"},
      {"raw PPM, maximum 0", ppmb, "P6\n1 1\n0\nABC", "Erro leppmb - Valor maximo invalido"},
      {"negative width", pbmt, "P1\n-2 1\n", "Erro lepbmt - Dimensoes invalidas"},
      {"negative height", pbmb, "P4\n2 -1\n", "Erro lepbmb - Dimensoes invalidas"},
      {"raw PBM ends early", pbmb, "P4\n9 2\n\xff\xff\xff", "Erro lepbmb - Fim inesperado"},
      {"raw PBM without data", pbmb, "P4\n9 2", "Erro lepbmb - Fim inesperado"},
      {"raw PGM ends early", pgmb, "P5\n3 2\n255\nABCDE", "Erro lepgmb - Fim inesperado"},
      {"raw PPM ends early", ppmb, "P6\n2 1\n255\nABCDE", "Erro leppmb - Fim inesperado"},
  };
  const std::string p = scratch_path("recusado");
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nome);
    write_text(p, k.arquivo);
    EXPECT_EXIT(k.le(p), testing::ExitedWithCode(1), stderr_line(k.msg + " "));
  }
  // Raw data cut short in a pipe is found by the reads themselves.
  const Caso cortados[] = {
      {"raw PBM", pbmb, "P4\n9 2\n\xff\xff\xff", "Erro lepbmb - Fim inesperado"},
      {"raw PGM", pgmb, "P5\n3 2\n255\nABCDE", "Erro lepgmb - Fim inesperado"},
      {"raw PGM, maximum 15", pgmb, "P5\n3 2\n15\nABCDE", "Erro lepgmb - Fim inesperado"},
      {"raw PPM", ppmb, "P6\n2 1\n255\nABCDE", "Erro leppmb - Fim inesperado"},
  };
  for (const Caso& k : cortados) {
    SCOPED_TRACE(k.nome);
    EXPECT_EXIT(k.le(pipe_holding(k.arquivo)), testing::ExitedWithCode(1), stderr_line(k.msg + " "));
  }
}

TEST(PnmDeath, HeaderSizesAreCheckedBeforeAllocating) {
  std::string p = scratch_path("enorme");
  struct Caso {
    const char* nome;
    std::string arquivo;
    std::function<void()> le;
    std::string msg;
  };
  // A pixel count that fits an int, in a file far too short for it.
  const std::string alto = "1 2147483647\n";
  // A pixel count beyond an int.
  const std::string largo = "65536 65536\n";
  const Caso casos[] = {
      {"plain PBM", "P1\n" + alto + "1 0", [&] { IMGBIN i; lepbmt(i, p); }, "LeNum(bool)"},
      {"raw PBM", "P4\n" + alto + "\x80", [&] { IMGBIN i; lepbmb(i, p); }, "Erro lepbmb - Fim inesperado"},
      {"plain PGM", "P2\n" + alto + "255\n1 2", [&] { IMGGRY i; lepgmt(i, p); }, "LeNum(BYTE)"},
      {"raw PGM", "P5\n" + alto + "255\nAB", [&] { IMGGRY i; lepgmb(i, p); }, "Erro lepgmb - Fim inesperado"},
      {"plain PPM", "P3\n" + alto + "7\n1 2 3", [&] { IMGCOR i; leppmt(i, p); }, "LeNum(int)"},
      {"raw PPM", "P6\n" + alto + "255\nABC", [&] { IMGCOR i; leppmb(i, p); }, "Erro leppmb - Fim inesperado"},
      {"PBM overflow", "P4\n" + largo, [&] { IMGBIN i; lepbmb(i, p); }, "Erro IMGBIN::aloca - falta memoria"},
      {"PGM overflow", "P2\n" + largo + "255\n", [&] { IMGGRY i; lepgmt(i, p); }, "Erro IMGGRY::aloca - Falta memoria"},
      {"PPM overflow", "P6\n" + largo + "255\n", [&] { IMGCOR i; leppmb(i, p); }, "Erro IMGCOR::aloca - Falta memoria"},
      // Three samples a pixel: the least length of such a file is beyond a
      // long long, and is not computed.
      {"plain PPM overflow", "P3\n2000000000 2000000000\n7\n", [&] { IMGCOR i; leppmt(i, p); },
       "Erro IMGCOR::aloca - Falta memoria"},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.nome);
    write_text(p, k.arquivo);
    EXPECT_EXIT((cap_address_space(), k.le()), testing::ExitedWithCode(1), stderr_line(k.msg + " "));
  }
  // A pipe cannot tell its length: the pixels are taken as they arrive, and
  // the image is sized only once they are all in.
  for (const Caso& k : casos) {
    SCOPED_TRACE(std::string(k.nome) + " from a pipe");
    EXPECT_EXIT((cap_address_space(), p = pipe_holding(k.arquivo), k.le()), testing::ExitedWithCode(1),
                stderr_line(k.msg + " "));
  }
}

TEST(PnmDeath, OpeningAndWritingFailures) {
  const IMGBIN b(40, 300, 1);
  const IMGGRY g(40, 300, BYTE(9));
  const IMGCOR c(40, 300, 0x010203);
  const std::string nada = scratch_path("nao/existe");
  using Op = std::function<void(const std::string&)>;
  struct Caso {
    const char* fn;
    Op op;
    bool escreve;
  };
  const Caso casos[] = {
      {"lepbmt", [](const std::string& n) { IMGBIN i; lepbmt(i, n); }, false},
      {"lepbmb", [](const std::string& n) { IMGBIN i; lepbmb(i, n); }, false},
      {"lepgmt", [](const std::string& n) { IMGGRY i; lepgmt(i, n); }, false},
      {"lepgmb", [](const std::string& n) { IMGGRY i; lepgmb(i, n); }, false},
      {"leppmt", [](const std::string& n) { IMGCOR i; leppmt(i, n); }, false},
      {"leppmb", [](const std::string& n) { IMGCOR i; leppmb(i, n); }, false},
      {"imppbmt", [&](const std::string& n) { imppbmt(b, n); }, true},
      {"imppbmb", [&](const std::string& n) { imppbmb(b, n); }, true},
      {"imppgmt", [&](const std::string& n) { imppgmt(g, n); }, true},
      {"imppgmb", [&](const std::string& n) { imppgmb(g, n); }, true},
      {"impppmt", [&](const std::string& n) { impppmt(c, n); }, true},
      {"impppmb", [&](const std::string& n) { impppmb(c, n); }, true},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.fn);
    const std::string f = k.fn;
    EXPECT_EXIT(k.op(nada), testing::ExitedWithCode(1), stderr_line("Erro " + f + " - Abertura de  " + nada));
    if (k.escreve) {
      EXPECT_EXIT(k.op("/dev/full"), testing::ExitedWithCode(1),
                  stderr_line("Erro " + f + " - Falha de escrita  /dev/full"));
    }
  }
  // An empty image writes only its header; the failure shows at closing.
  EXPECT_EXIT(imppgmb(IMGGRY(), "/dev/full"), testing::ExitedWithCode(1),
              stderr_line("Erro imppgmb - Falha de escrita  /dev/full"));
}
