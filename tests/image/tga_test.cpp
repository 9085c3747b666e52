#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "image/img.h"
#include "support/files.h"

using namespace imagorix;
using namespace testsupport;

namespace {

enum : unsigned char { MAPA = 1, RGB = 2, CINZA = 3 };

// A TGA file of the given kind: header, colour map (blue, green, red per
// entry), pixels as given.
Bytes tga(unsigned char tipo, int nl, int nc, const Bytes& pixels, unsigned char desc = 0x20, const Bytes& mapa = {}) {
  const int nmapa = int(mapa.size() / 3);
  const unsigned char h[18] = {0,
                               tipo == MAPA,
                               tipo,
                               0,
                               0,
                               static_cast<unsigned char>(nmapa),
                               static_cast<unsigned char>(nmapa >> 8),
                               static_cast<unsigned char>(tipo == MAPA ? 24 : 0),
                               0,
                               0,
                               0,
                               0,
                               static_cast<unsigned char>(nc),
                               static_cast<unsigned char>(nc >> 8),
                               static_cast<unsigned char>(nl),
                               static_cast<unsigned char>(nl >> 8),
                               static_cast<unsigned char>(tipo == RGB ? 24 : 8),
                               desc};
  Bytes b(std::begin(h), std::end(h));
  b.reserve(b.size() + mapa.size() + pixels.size());
  b.insert(b.end(), mapa.begin(), mapa.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

std::vector<int> cinzas(const IMGGRY& g) {
  std::vector<int> v;
  for (int l = 0; l < g.nl(); ++l)
    for (int c = 0; c < g.nc(); ++c) v.push_back(g(l, c));
  return v;
}

std::vector<COR> cores(const IMGCOR& g) {
  std::vector<COR> v;
  for (int l = 0; l < g.nl(); ++l)
    for (int c = 0; c < g.nc(); ++c) v.push_back(g(l, c));
  return v;
}

// A map of 6 entries; entry 5 is pure blue, entry 1 is (blue 3, green 2, red 1).
const Bytes MAPA6 = {0, 0, 0, 3, 2, 1, 0, 0, 0, 0, 0, 0, 10, 200, 40, 255, 0, 0};

}  // namespace

TEST(Tga, GreyWriterWritesTheFormatBytesAndReadsBack) {
  const IMGGRY img(2, 3, {1, 2, 3, 250, 251, 252});
  const std::string p = scratch_path("grey.tga");
  img.imp(p);
  EXPECT_EQ(read_bytes(p), tga(CINZA, 2, 3, {1, 2, 3, 250, 251, 252}));
  IMGGRY r;
  r.LeTga(p);
  EXPECT_EQ(r.nl(), 2);
  EXPECT_EQ(r.nc(), 3);
  EXPECT_EQ(cinzas(r), cinzas(img));
}

TEST(Tga, TrueColourIsBlueGreenRedInTheFileAndTheImageIsLeftAsItWas) {
  const IMGCOR img(1, 2, {30, 20, 10, 1, 2, 3});
  const std::string p = scratch_path("rgb.tga");
  img.ImpTga(p);
  EXPECT_EQ(read_bytes(p), tga(RGB, 1, 2, {10, 20, 30, 3, 2, 1}));
  EXPECT_EQ(cores(img), (std::vector<COR>{{30, 20, 10}, {1, 2, 3}}));
  IMGCOR r;
  r.LeTga(p);
  EXPECT_EQ(cores(r), cores(img));
}

TEST(Tga, ColourWriterBuffersLargeImagesCorrectly) {
  // More pixels than one pass of the writer's channel-swapping buffer.
  IMGCOR img(150, 200);
  for (int l = 0; l < img.nl(); ++l)
    for (int c = 0; c < img.nc(); ++c) img(l, c) = COR{BYTE(l), BYTE(c), BYTE(l ^ c)};
  const std::string p = scratch_path("big.tga");
  img.ImpTga(p);
  IMGCOR r;
  r.LeTga(p);
  EXPECT_EQ(cores(r), cores(img));
}

TEST(Tga, RowOrderFollowsTheDescriptor) {
  struct Caso {
    unsigned char desc;
    bool invertida;
  } casos[] = {{0x00, true}, {0x08, true}, {0x20, false}, {0x10, false}, {0x30, false}, {0x28, false}};
  for (const Caso& k : casos) {
    SCOPED_TRACE(int(k.desc));
    const std::vector<int> direta = {1, 2, 3, 4, 5, 6}, invertida = {5, 6, 3, 4, 1, 2};
    const std::vector<int>& quer = k.invertida ? invertida : direta;
    const std::string p = scratch_path("desc.tga");

    write_bytes(p, tga(CINZA, 3, 2, {1, 2, 3, 4, 5, 6}, k.desc));
    IMGGRY g;
    g.LeTga(p);
    EXPECT_EQ(cinzas(g), quer);

    write_bytes(p, tga(MAPA, 3, 2, {1, 2, 3, 4, 5, 6}, k.desc, MAPA6));
    g.LeTgaI(p);
    EXPECT_EQ(cinzas(g), quer);

    write_bytes(p, tga(RGB, 3, 2, {0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 5, 0, 0, 6}, k.desc));
    IMGCOR c;
    c.LeTga(p);
    std::vector<int> vermelhos;
    for (const COR& x : cores(c)) vermelhos.push_back(x.r);
    EXPECT_EQ(vermelhos, quer);

    // Through the map: entries 1 and 5 on the rows that end up first.
    write_bytes(p, tga(MAPA, 2, 1, {1, 5}, k.desc, MAPA6));
    c.LeTgaP(p);
    EXPECT_EQ(cores(c)[0], k.invertida ? (COR{0, 0, 255}) : (COR{1, 2, 3}));
    g.LeTgaP(p);
    EXPECT_EQ(cinzas(g)[0], k.invertida ? 85 : 2);
  }
}

TEST(Tga, ColourMappedFilesAsIndicesGreysOrColours) {
  const std::string p = scratch_path("mapa.tga");
  write_bytes(p, tga(MAPA, 1, 4, {5, 1, 4, 0}, 0x20, MAPA6));
  IMGGRY g;
  g.LeTgaI(p);
  EXPECT_EQ(cinzas(g), (std::vector<int>{5, 1, 4, 0}));
  // (blue + green + red + 1) / 3: (255 + 1) / 3 = 85, (3 + 2 + 1 + 1) / 3 = 2.
  g.LeTgaP(p);
  EXPECT_EQ(cinzas(g), (std::vector<int>{85, 2, 83, 0}));
  IMGCOR c;
  c.LeTgaP(p);
  EXPECT_EQ(cores(c), (std::vector<COR>{{0, 0, 255}, {1, 2, 3}, {40, 200, 10}, {0, 0, 0}}));
}

TEST(Tga, SizeAndCentreFollowTheFileAndTheColourReaderAlwaysStartsAfresh) {
  const std::string p = scratch_path("centro.tga");
  write_bytes(p, tga(CINZA, 2, 2, {1, 2, 3, 4}));
  IMGGRY g(2, 2);
  g.lc() = 7;
  g.LeTga(p);  // same size: the storage, and the centre with it, is kept
  EXPECT_EQ(g.lc(), 7);
  IMGGRY h(5, 5);
  h.LeTga(p);
  EXPECT_EQ(h.lc(), 0);
  EXPECT_EQ(h.nl(), 2);

  write_bytes(p, tga(RGB, 2, 2, Bytes(12, 9)));
  IMGCOR c(2, 2);
  c.lc() = 7;
  c.fundo() = COR{1, 1, 1};
  c.LeTga(p);
  EXPECT_EQ(c.lc(), 0);
  EXPECT_EQ(c.fundo(), (COR{0, 0, 0}));
}

TEST(Tga, EmptyImagesRoundTrip) {
  const std::string p = scratch_path("vazia.tga");
  IMGGRY(0, 0).imp(p);
  EXPECT_EQ(read_bytes(p), tga(CINZA, 0, 0, {}));
  IMGGRY g(3, 3);
  g.LeTga(p);
  EXPECT_EQ(g.n(), 0);
  EXPECT_EQ(g.data(), nullptr);
  // A map with no pixels behind it does not need to be complete.
  Bytes curto = tga(MAPA, 0, 0, {}, 0x20, MAPA6);
  curto.resize(curto.size() - 4);
  write_bytes(p, curto);
  IMGCOR c;
  c.LeTgaP(p);
  EXPECT_EQ(c.n(), 0);
}

TEST(Tga, PixelDataFromAPipe) {
  // A pipe has no length to check against: the data is taken as it comes.
  int fd[2];
  ASSERT_EQ(pipe(fd), 0);
  const Bytes b = tga(CINZA, 2, 2, {7, 8, 9, 10}, 0);
  ASSERT_EQ(write(fd[1], b.data(), b.size()), ssize_t(b.size()));
  close(fd[1]);
  IMGGRY g;
  g.LeTga("/dev/fd/" + std::to_string(fd[0]));
  close(fd[0]);
  EXPECT_EQ(cinzas(g), (std::vector<int>{9, 10, 7, 8}));
}

using Leitor = std::function<void(const std::string&)>;

TEST(TgaDeath, HeadersOfAnotherKindAreRefused) {
  const std::string cinza_msg = "Erro IMGGRY::LeTga - Formato TGA deve ser 8bits grayscale sem-palette nao-compactado";
  const std::string cor_msg = "Erro IMGCOR::LeTga - Formato TGA deve ser 24bits sem-palette nao-compactado";
  const Leitor le_cinza = [](const std::string& p) { IMGGRY().LeTga(p); };
  const Leitor le_cor = [](const std::string& p) { IMGCOR().LeTga(p); };
  struct Leitores {
    Leitor le;
    std::string msg;
  } mapeados[] = {
      {[](const std::string& p) { IMGGRY().LeTgaI(p); },
       "Erro IMGGRY::LeTgaI - Formato TGA deve ser 8bits com-palette nao-compactado"},
      {[](const std::string& p) { IMGGRY().LeTgaP(p); },
       "Erro IMGGRY::LeTgaP - Formato TGA deve ser 8bits com-palette nao-compactado"},
      {[](const std::string& p) { IMGCOR().LeTgaP(p); },
       "Erro IMGCOR::LeTgaP - Formato TGA deve ser 8bits com-palette nao-compactado"},
  };
  // A valid file of the reader's kind, one byte changed.
  struct Caso {
    const char* oque;
    unsigned char tipo;
    int byte;
    unsigned char valor;
  } casos[] = {
      {"identification field", CINZA, 0, 4},   {"run-length grey", CINZA, 2, 11},
      {"has a map", CINZA, 1, 1},              {"16 bits", CINZA, 16, 16},
      {"x origin", CINZA, 8, 1},               {"y origin", CINZA, 11, 1},
      {"true colour", CINZA, 2, 2},            {"identification field", RGB, 0, 1},
      {"run-length colour", RGB, 2, 10},       {"32 bits", RGB, 16, 32},
      {"map entry size set", RGB, 7, 24},      {"16-bit map entries", MAPA, 7, 16},
      {"32-bit map entries", MAPA, 7, 32},     {"identification field", MAPA, 0, 1},
      {"run-length mapped", MAPA, 2, 9},       {"first map entry", MAPA, 3, 1},
      {"no map type", MAPA, 1, 0},             {"16-bit indices", MAPA, 16, 16},
  };
  const std::string p = scratch_path("recusado.tga");
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.oque);
    Bytes b = tga(k.tipo, 1, 1, Bytes(k.tipo == RGB ? 3 : 1, 0), 0x20, k.tipo == MAPA ? MAPA6 : Bytes{});
    b[k.byte] = k.valor;
    b.resize(b.size() + 64, 0);  // room for whatever the changed header might claim
    write_bytes(p, b);
    if (k.tipo == CINZA) {
      EXPECT_EXIT(le_cinza(p), testing::ExitedWithCode(1), stderr_line(cinza_msg + " "));
    } else if (k.tipo == RGB) {
      EXPECT_EXIT(le_cor(p), testing::ExitedWithCode(1), stderr_line(cor_msg + " "));
    } else {
      for (const Leitores& r : mapeados) EXPECT_EXIT(r.le(p), testing::ExitedWithCode(1), stderr_line(r.msg + " "));
    }
  }
  // Each reader refuses the other kinds, and a file too short for a header.
  write_bytes(p, tga(MAPA, 1, 1, {0}, 0x20, MAPA6));
  EXPECT_EXIT(le_cinza(p), testing::ExitedWithCode(1), stderr_line(cinza_msg + " "));
  EXPECT_EXIT(le_cor(p), testing::ExitedWithCode(1), stderr_line(cor_msg + " "));
  write_bytes(p, tga(CINZA, 1, 1, {0}));
  for (const Leitores& r : mapeados) EXPECT_EXIT(r.le(p), testing::ExitedWithCode(1), stderr_line(r.msg + " "));
  write_bytes(p, Bytes(17, 0));
  EXPECT_EXIT(le_cinza(p), testing::ExitedWithCode(1), stderr_line(cinza_msg + " "));
}

TEST(TgaDeath, MissingPixelDataIsRefusedBeforeAllocating) {
  const std::string p = scratch_path("curto.tga");
  struct Caso {
    Leitor le;
    unsigned char tipo;
    std::string fim;
  } casos[] = {
      {[](const std::string& q) { IMGGRY().LeTga(q); }, CINZA, "Erro IMGGRY::LeTga - Fim inesperado "},
      {[](const std::string& q) { IMGGRY().LeTgaI(q); }, MAPA, "Erro IMGGRY::LeTgaI - Fim inesperado "},
      {[](const std::string& q) { IMGGRY().LeTgaP(q); }, MAPA, "Erro IMGGRY::LeTgaP - Fim inesperado "},
      {[](const std::string& q) { IMGCOR().LeTga(q); }, RGB, "Erro IMGCOR::LeTga - Fim inesperado "},
      {[](const std::string& q) { IMGCOR().LeTgaP(q); }, MAPA, "Erro IMGCOR::LeTgaP - Fim inesperado "},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(k.fim);
    const Bytes mapa = k.tipo == MAPA ? MAPA6 : Bytes{};
    const int bpp = k.tipo == RGB ? 3 : 1;
    // One byte short.
    write_bytes(p, tga(k.tipo, 2, 3, Bytes(6 * bpp - 1, 0), 0x20, mapa));
    EXPECT_EXIT(k.le(p), testing::ExitedWithCode(1), stderr_line(k.fim));
    // A large stated size in a small file.
    write_bytes(p, tga(k.tipo, 40000, 40000, Bytes(100, 0), 0x20, mapa));
    EXPECT_EXIT((cap_address_space(), k.le(p)), testing::ExitedWithCode(1), stderr_line(k.fim));
    // The map cut short leaves no pixel data at all.
    if (k.tipo == MAPA) {
      Bytes b = tga(MAPA, 1, 1, {}, 0x20, MAPA6);
      b.resize(b.size() - 1);
      write_bytes(p, b);
      EXPECT_EXIT(k.le(p), testing::ExitedWithCode(1), stderr_line(k.fim));
    }
  }
  // Sizes whose pixel count overflows give the allocation message.
  write_bytes(p, tga(CINZA, 65535, 65535, {}));
  EXPECT_EXIT(IMGGRY().LeTga(p), testing::ExitedWithCode(1), stderr_line("Erro IMGGRY::aloca - Falta memoria "));
  write_bytes(p, tga(RGB, 65535, 65535, {}));
  EXPECT_EXIT(IMGCOR().LeTga(p), testing::ExitedWithCode(1), stderr_line("Erro IMGCOR::aloca - Falta memoria "));
}

TEST(TgaDeath, MissingPixelDataFromAPipe) {
  EXPECT_EXIT(IMGCOR().LeTga(pipe_holding(tga(RGB, 2, 2, Bytes(11, 0)))), testing::ExitedWithCode(1),
              stderr_line("Erro IMGCOR::LeTga - Fim inesperado "));
}

TEST(TgaDeath, IndexPastTheMapIsAVectorIndexError) {
  const std::string p = scratch_path("indice.tga");
  write_bytes(p, tga(MAPA, 1, 2, {5, 6}, 0x20, MAPA6));
  EXPECT_EXIT(IMGGRY().LeTgaP(p), testing::ExitedWithCode(1), stderr_line("Erro VETOR::operator() - Indice invalido "));
  EXPECT_EXIT(IMGCOR().LeTgaP(p), testing::ExitedWithCode(1), stderr_line("Erro VETOR::operator() - Indice invalido "));
  IMGGRY g;
  g.LeTgaI(p);  // the indices themselves are fine
  EXPECT_EQ(cinzas(g), (std::vector<int>{5, 6}));
}

TEST(TgaDeath, OversizedImagesAreRefusedAndLeaveAnOlderFileAsItWas) {
  const std::string p = scratch_path("grande.tga");
  std::remove(p.c_str());
  EXPECT_EXIT(IMGGRY(1, 65536).imp(p), testing::ExitedWithCode(1), stderr_line("Erro: Imagem muito grande para TGA "));
  EXPECT_FALSE(exists(p));
  const Bytes antes{1, 2, 3};
  write_bytes(p, antes);
  EXPECT_EXIT(IMGCOR(65536, 1).ImpTga(p), testing::ExitedWithCode(1), stderr_line("Erro: Imagem muito grande para TGA "));
  EXPECT_EQ(read_bytes(p), antes);
  // The largest size the fields hold is written.
  IMGGRY(1, 65535, 3).imp(p);
  EXPECT_EQ(read_bytes(p).size(), 18u + 65535u);
}

TEST(TgaDeath, OpeningAndWritingFailures) {
  const std::string sem = "/nonexistent/x.tga";
  const IMGGRY g(2, 2, 1);
  const IMGCOR c(2, 2, 1);
  struct Caso {
    std::function<void()> f;
    std::string msg;
  } casos[] = {
      {[&] { IMGGRY().LeTga(sem); }, "Erro IMGGRY::LeTga - Abertura de  " + sem},
      {[&] { IMGGRY().LeTgaI(sem); }, "Erro IMGGRY::LeTgaI - Abertura de  " + sem},
      {[&] { IMGGRY().LeTgaP(sem); }, "Erro IMGGRY::LeTgaP - Abertura de  " + sem},
      {[&] { IMGCOR().LeTga(sem); }, "Erro IMGCOR::LeTga - Abertura  " + sem},
      {[&] { IMGCOR().LeTgaP(sem); }, "Erro IMGCOR::LeTgaP - Abertura  " + sem},
      {[&] { g.imp(sem); }, "Erro IMGGRY::imp - Abertura de  " + sem},
      {[&] { c.ImpTga(sem); }, "Erro IMGCOR::ImpTga - Abertura  " + sem},
      {[&] { g.imp("/dev/full"); }, "Erro IMGGRY::imp - Falha de escrita  /dev/full"},
      {[&] { c.ImpTga("/dev/full"); }, "Erro IMGCOR::ImpTga - Falha de escrita  /dev/full"},
      {[&] { IMGGRY(300, 300, 1).imp("/dev/full"); }, "Erro IMGGRY::imp - Falha de escrita  /dev/full"},
  };
  for (const Caso& k : casos) EXPECT_EXIT(k.f(), testing::ExitedWithCode(1), stderr_line(k.msg));
}
