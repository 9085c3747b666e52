// AVI files: the bytes the writer puts down, and both readers, on our own
// files, on hand-made variants of them and on files laid out as common
// writers lay them out.
#include "video/avi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "support/files.h"
#include "support/sequences.h"
#include "video/i3d.h"

using namespace imagorix;
using namespace testsupport;

namespace {

std::uint32_t le32(const Bytes& b, std::size_t k) {
  return b[k] | b[k + 1] << 8 | b[k + 2] << 16 | std::uint32_t(b[k + 3]) << 24;
}

bool texto_em(const Bytes& b, std::size_t k, const std::string& s) {
  return b.size() >= k + s.size() && std::memcmp(b.data() + k, s.data(), s.size()) == 0;
}

I3DGRY cinza(int nf, int nl, int nc) {
  I3DGRY s(nf, nl, nc);
  for (int f = 0; f < nf; ++f)
    for (int l = 0; l < nl; ++l)
      for (int c = 0; c < nc; ++c) s(f, l, c) = BYTE(61 * f + 17 * l + 5 * c + 1);
  return s;
}

I3DCOR colorida(int nf, int nl, int nc, int fd = 250000) {
  I3DCOR s(nf, nl, nc);
  for (int f = 0; f < nf; ++f)
    for (int l = 0; l < nl; ++l)
      for (int c = 0; c < nc; ++c) s(f, l, c) = COR{BYTE(40 * f + l), BYTE(90 * c), BYTE(l ^ c ^ 0x55)};
  s.fd() = fd;
  return s;
}

template <class S>
Bytes escrito(const S& s) {
  const std::string p = scratch_path("escrito.avi");
  ImpAvi(s, p);
  return read_bytes(p);
}

// A chunk with the given id and body.
Bytes chunk(const char* id, const Bytes& corpo) {
  Bytes b(8 + corpo.size());
  std::memcpy(b.data(), id, 4);
  put_le32(b, 4, std::uint32_t(corpo.size()));
  if (!corpo.empty()) std::memcpy(b.data() + 8, corpo.data(), corpo.size());
  return b;
}

// b with c inserted at byte k, and the size fields at the offsets listed
// (those of the lists that now hold it) grown by its length.
Bytes insere(Bytes b, std::size_t k, const Bytes& c, std::initializer_list<std::size_t> listas) {
  b.insert(b.begin() + std::ptrdiff_t(k), c.begin(), c.end());
  for (std::size_t s : listas) put_le32(b, s, le32(b, s) + std::uint32_t(c.size()));
  return b;
}

// Offsets in our files: the RIFF size, the "hdrl" and "strl" list sizes,
// and where the "movi" list starts (grey 1264, colour 240).
constexpr std::size_t RIFF = 4, HDRL = 16, STRL = 92;

I3DGRY lido_gry(const Bytes& b) {
  I3DGRY s;
  LeAvi(s, write_bytes(scratch_path("lido.avi"), b));
  return s;
}
I3DCOR lido_cor(const Bytes& b) {
  I3DCOR s;
  LeAvi(s, write_bytes(scratch_path("lido.avi"), b));
  return s;
}

}  // namespace

TEST(ImpAvi, GreyHeaderFields) {
  const Bytes b = escrito(cinza(3, 3, 5));
  ASSERT_EQ(b.size(), 1428u);
  const std::pair<std::size_t, std::uint32_t> campos[] = {
      {4, 1420}, {16, 1244}, {28, 56},  {32, 250000}, {36, 48},  {44, 0x810}, {48, 3},     {56, 1},
      {60, 24},  {64, 5},    {68, 3},   {92, 1168},   {104, 56}, {128, 1000}, {132, 2000}, {140, 3},
      {144, 24}, {148, 900}, {160, 5 | 3 << 16},      {168, 1064}, {172, 40},  {176, 5},    {180, 3},
      {184, 0x80001}, {188, 0}, {192, 24}, {204, 256}, {208, 256}, {1240, 20}, {1268, 100}, {1376, 48},
  };
  for (auto [k, v] : campos) EXPECT_EQ(le32(b, k), v) << "offset " << k;
  for (auto [k, s] : {std::pair<std::size_t, const char*>{0, "RIFF"}, {8, "AVI LIST"}, {20, "hdrlavih"}, {88, "LIST"}, {96, "strlstrh"}, {108, "vidsDIB "},
                      {164, "strf"}, {1236, "strn"}, {1244, "AVI Video Stream #1"}, {1264, "LIST"}, {1272, "movi00db"},
                      {1372, "idx1"}})
    EXPECT_TRUE(texto_em(b, k, s)) << "offset " << k;
  for (int i : {0, 1, 128, 255}) EXPECT_EQ(le32(b, 212 + 4 * std::size_t(i)), std::uint32_t(i * 0x010101)) << i;
  // The index: key frames at offsets 4, 36, 68 of size 24.
  for (std::size_t e = 0; e < 3; ++e) {
    EXPECT_TRUE(texto_em(b, 1380 + 16 * e, "00db"));
    EXPECT_EQ(le32(b, 1384 + 16 * e), 0x10u);
    EXPECT_EQ(le32(b, 1388 + 16 * e), 4 + 32 * e);
    EXPECT_EQ(le32(b, 1392 + 16 * e), 24u);
  }
}

TEST(ImpAvi, ColourHeaderFollowsTheFrameDuration) {
  const Bytes b = escrito(colorida(3, 3, 5, 40000));
  ASSERT_EQ(b.size(), 476u);
  const std::pair<std::size_t, std::uint32_t> campos[] = {
      {4, 468},  {16, 220}, {32, 40000}, {36, 1200}, {48, 3},   {60, 48},     {92, 144},  {128, 1000},
      {132, 25000}, {144, 48}, {168, 40}, {184, 0x180001}, {204, 0}, {216, 20}, {244, 172}, {424, 48},
  };
  for (auto [k, v] : campos) EXPECT_EQ(le32(b, k), v) << "offset " << k;
  EXPECT_TRUE(texto_em(b, 212, "strn"));
  EXPECT_TRUE(texto_em(b, 240, "LIST"));
  EXPECT_TRUE(texto_em(b, 248, "movi00db"));
  // Byte rate rounded up: 1000000 * 48 / 7 = 6857142.86.
  EXPECT_EQ(le32(escrito(colorida(1, 3, 5, 7)), 36), 6857143u);
}

// Rows bottom-up, padded with zeros to a multiple of 4; colour as blue,
// green, red.
TEST(ImpAvi, FrameBytes) {
  const Bytes g = escrito(cinza(1, 2, 1));
  EXPECT_EQ(Bytes(g.begin() + 1284, g.begin() + 1292), (Bytes{18, 0, 0, 0, 1, 0, 0, 0}));
  I3DCOR k(1, 2, 1);
  k(0, 0, 0) = COR{1, 2, 3};
  k(0, 1, 0) = COR{4, 5, 6};
  const Bytes c = escrito(k);
  EXPECT_EQ(Bytes(c.begin() + 260, c.begin() + 268), (Bytes{6, 5, 4, 0, 3, 2, 1, 0}));
  // No padding for a width of 4 (grey) or whose triple is a multiple of 4.
  EXPECT_EQ(le32(escrito(cinza(1, 1, 4)), 60), 4u);
  EXPECT_EQ(le32(escrito(colorida(1, 1, 4)), 60), 12u);
}

TEST(LeAvi, RoundTrips) {
  for (auto [nf, nl, nc] : {std::tuple{1, 1, 1}, {3, 3, 5}, {2, 7, 4}, {4, 5, 13}}) {
    const I3DGRY g = cinza(nf, nl, nc);
    EXPECT_TRUE(same_sequence(lido_gry(escrito(g)), g)) << nl << "x" << nc;
    for (int fd : {1, 33367, 40000, 1000000}) {
      const I3DCOR k = colorida(nf, nl, nc, fd);
      const I3DCOR r = lido_cor(escrito(k));
      EXPECT_TRUE(same_sequence(r, k)) << nl << "x" << nc;
      EXPECT_EQ(r.fd(), fd);
    }
  }
  // Frames larger than the writer's block of rows (about 256 KiB).
  const I3DGRY grande = cinza(2, 1100, 1023);
  EXPECT_TRUE(same_sequence(lido_gry(escrito(grande)), grande));
  // Read from a pipe as from the file.
  I3DCOR k;
  LeAvi(k, pipe_holding(escrito(colorida(2, 3, 5, 40000))));
  EXPECT_TRUE(same_sequence(k, colorida(2, 3, 5, 40000)));
  I3DGRY g;
  LeAvi(g, pipe_holding(escrito(cinza(2, 3, 5))));
  EXPECT_TRUE(same_sequence(g, cinza(2, 3, 5)));
}

// A real sequence takes the file's frame count and sizes, each level v as
// v / 255.
TEST(LeAvi, IntoARealSequence) {
  I3DFLT x(5, 1, 1);
  LeAvi(x, write_bytes(scratch_path("r.avi"), escrito(cinza(2, 3, 4))));
  ASSERT_EQ(x.nf(), 2);
  ASSERT_EQ(x.nl(), 3);
  ASSERT_EQ(x.nc(), 4);
  EXPECT_FLOAT_EQ(x(1, 2, 3), float(61 + 34 + 15 + 1) / 255);
}

TEST(LeAvi, GreyVariantsAccepted) {
  const Bytes b = escrito(cinza(2, 3, 5));
  const Bytes junk = chunk("JUNK", Bytes(10, 7));
  // JUNK before the hdrl list, avih, strh, strf and movi; a palette entry
  // (10, 20, 31) is level 20.
  for (std::size_t k : {12, 24, 100, 164, 1264})
    EXPECT_TRUE(same_sequence(lido_gry(insere(b, k, junk, {})), cinza(2, 3, 5))) << k;
  Bytes p = b;
  p[212 + 4 * 2] = 31, p[213 + 4 * 2] = 20, p[214 + 4 * 2] = 10;
  p[212 + 4 * 255] = p[213 + 4 * 255] = p[214 + 4 * 255] = 255;
  I3DGRY um(1, 1, 2);
  um(0, 0, 0) = 2;
  um(0, 0, 1) = 255;
  Bytes q = escrito(um);
  std::copy(p.begin() + 212, p.begin() + 1236, q.begin() + 212);
  const I3DGRY r = lido_gry(q);
  EXPECT_EQ(r(0, 0, 0), 20);
  EXPECT_EQ(r(0, 0, 1), 255);
}

// Frames of rows without columns: empty frames, nothing to fill.
TEST(LeAvi, FramesWithoutColumns) {
  Bytes b = escrito(cinza(2, 3, 5));
  b.resize(1276 + 16);  // two empty frame chunks after the header
  put_le32(b, 64, 0);
  for (std::size_t k : {1276u, 1284u}) {
    std::memcpy(b.data() + k, "00db", 4);
    put_le32(b, k + 4, 0);
  }
  const I3DGRY g = lido_gry(b);
  EXPECT_EQ(g.nf(), 2);
  EXPECT_EQ(g.nl(), 3);
  EXPECT_EQ(g.nc(), 0);
}

TEST(LeAviDeathTest, GreyRefusals) {
  const Bytes b = escrito(cinza(2, 3, 5));  // frames at 1276 and 1308, index at 1340
  auto muda = [&](std::size_t k, std::initializer_list<unsigned char> v) {
    Bytes c = b;
    std::copy(v.begin(), v.end(), c.begin() + std::ptrdiff_t(k));
    return c;
  };
  Bytes sem_paleta = escrito(cinza(1, 1, 1));
  put_le32(sem_paleta, 168, 40);
  put_le32(sem_paleta, 204, 0);
  sem_paleta.erase(sem_paleta.begin() + 212, sem_paleta.begin() + 1236);
  Bytes enorme = b;
  put_le32(enorme, 48, 0x7FFFFFFF);
  struct Caso {
    const char* rotulo;
    Bytes b;
    std::string msg;
  };
  const Caso casos[] = {
      {"not RIFF", muda(0, {'R', 'I', 'F', 'X'}), "Erro LeAvi(I3DGRY): Nao-RIFF "},
      {"not AVI", muda(8, {'W', 'A', 'V', 'E'}), "Erro LeAvi(I3DGRY): Nao-AVI_ "},
      {"handler", muda(112, {'X', 'V', 'I', 'D'}), "Erro LeAvi(I3DGRY): Nao-vidsDIB_ "},
      {"24 bits", muda(186, {24}), "Erro: Tipo AVI "},
      {"compressed", muda(188, {1}), "Erro: Tipo compressao "},
      {"palette size", muda(204, {255}), "Erro: Tamanho palette invalido "},
      {"no palette, 40-byte format: the first pixel", sem_paleta, "Erro VETOR::operator() - Indice invalido "},
      {"JUNK between frames", insere(b, 1308, chunk("JUNK", {}), {}), "Erro LeAvi(I3DGRY): Nao-00db "},
      {"JUNK of 5000 bytes", insere(b, 24, chunk("JUNK", Bytes(5000)), {}), "Erro: Chunk muito grande "},
      {"frame size", muda(1280, {25}), "Erro LeAvi(I3DGRY): tamimg!=chunk.size "},
      {"fewer frames than announced", Bytes(b.begin(), b.begin() + 1308), "Erro: Fim de arquivo inesperado "},
      {"frames no file holds", enorme, "Erro: Fim de arquivo inesperado "},
      {"INFO list before movi", insere(b, 1264, chunk("LIST", {'I', 'N', 'F', 'O'}), {}),
       "Erro LeAvi(I3DGRY): Nao-movi "},
  };
  for (const Caso& k : casos) {
    const std::string p = write_bytes(scratch_path("mau.avi"), k.b);
    EXPECT_EXIT(
        {
          cap_address_space();
          I3DGRY s;
          LeAvi(s, p);
        },
        testing::ExitedWithCode(1), stderr_line(k.msg))
        << k.rotulo;
  }
  EXPECT_EXIT(
      {
        cap_address_space();
        I3DGRY s;
        LeAvi(s, pipe_holding(Bytes(enorme.begin(), enorme.begin() + 1340)));
      },
      testing::ExitedWithCode(1), stderr_line("Erro: Fim de arquivo inesperado "));
  EXPECT_EXIT(
      {
        I3DGRY s;
        LeAvi(s, "/nonexistent/x.avi");
      },
      testing::ExitedWithCode(1),
              stderr_line("Erro LeAvi(I3DGRY) - Abertura de  /nonexistent/x.avi"));
}

TEST(LeAvi, ColourVariantsAccepted) {
  const I3DCOR k = colorida(2, 3, 5, 40000);
  const Bytes b = escrito(k);  // frames at 252 and 308, index at 364
  const Bytes junk = chunk("JUNK", Bytes(5000, 1));
  const Bytes casos[] = {
      // Skipped whole, wherever they stand in a list.
      insere(b, 308, junk, {RIFF, 244}),
      insere(b, 364, chunk("abcd", Bytes(12, 'L')), {RIFF}),
      insere(b, 88, chunk("LIST", {'o', 'd', 'm', 'l', 'x', 'y'}), {RIFF, HDRL}),
      insere(b, 212, chunk("vprp", Bytes(20)), {RIFF, HDRL, STRL}),
      insere(b, 240, chunk("JUNK", Bytes(100)), {RIFF}),
  };
  for (const Bytes& c : casos) {
    const I3DCOR r = lido_cor(c);
    EXPECT_TRUE(same_sequence(r, k));
    EXPECT_EQ(r.fd(), 40000);
  }
  // Scale 1000 and rate 25000: 39000 to 41000 microseconds agree.
  for (std::uint32_t us : {39000u, 41000u}) {
    Bytes c = b;
    put_le32(c, 32, us);
    EXPECT_EQ(lido_cor(c).fd(), int(us));
  }
}

// As ffmpeg writes an uncompressed colour stream: no handler, frames in
// "00dc" chunks, rows top-down under a negative height.
TEST(LeAvi, ColourAsCommonWritersLayItOut) {
  const I3DCOR k = colorida(2, 3, 5, 40000);
  Bytes b = escrito(k);
  std::memset(b.data() + 112, 0, 4);
  put_le32(b, 180, std::uint32_t(-3));
  for (std::size_t f = 0; f < 2; ++f) {
    const std::size_t q = 252 + 56 * f;
    b[q + 3] = 'c';
    // Rows 0, 1, 2 of the image instead of 2, 1, 0.
    Bytes linhas(b.begin() + std::ptrdiff_t(q + 8), b.begin() + std::ptrdiff_t(q + 56));
    for (std::size_t r = 0; r < 3; ++r)
      std::copy(linhas.begin() + std::ptrdiff_t(16 * (2 - r)), linhas.begin() + std::ptrdiff_t(16 * (3 - r)),
                b.begin() + std::ptrdiff_t(q + 8 + 16 * r));
  }
  EXPECT_TRUE(same_sequence(lido_cor(b), k));
}

// Written by ffmpeg (rawvideo, -fflags +bitexact) from the frames of
// colorida(3, 3, 5) and cinza(3, 3, 5): the colour file reads back to them;
// the grey one (handler of zeros, a 4120-byte JUNK chunk, "00dc" frames) is
// not a file the strict grey reader takes.
TEST(LeAvi, ColourFileWrittenByFfmpeg) {
  I3DCOR k;
  LeAvi(k, std::string(TEST_DATA_DIR) + "/ffmpeg_bgr24_5x3.avi");
  EXPECT_TRUE(same_sequence(k, colorida(3, 3, 5, 40000)));
  EXPECT_EQ(k.fd(), 40000);
}

TEST(LeAviDeathTest, GreyFileWrittenByFfmpeg) {
  EXPECT_EXIT(
      {
        I3DGRY g;
        LeAvi(g, std::string(TEST_DATA_DIR) + "/ffmpeg_pal8_5x3.avi");
      },
      testing::ExitedWithCode(1), stderr_line("Erro LeAvi(I3DGRY): Nao-vidsDIB_ "));
}

TEST(LeAviDeathTest, ColourRefusals) {
  const Bytes b = escrito(colorida(2, 3, 5, 40000));
  auto muda = [&](std::size_t k, std::uint32_t v) {
    Bytes c = b;
    put_le32(c, k, v);
    return c;
  };
  Bytes curto = b;
  put_le32(curto, 256, 40);
  Bytes enorme = b;
  put_le32(enorme, 48, 0x7FFFFFFF);
  struct Caso {
    const char* rotulo;
    Bytes b;
    std::string out, msg;
  };
  const Caso casos[] = {
      {"not RIFF", muda(0, 0x58464952), "", "Erro: Nao-RIFF "},
      {"handler", muda(112, 0x44495658), "", "Erro: Cod nao-DIB "},
      {"duration off the rate", muda(32, 42000), "", "Erro LeAvi(I3DCOR): rate e fd nao concordam "},
      {"zero rate", muda(132, 0), "", "Erro LeAvi(I3DCOR): rate e fd nao concordam "},
      {"planes", muda(184, 0x180002), "", "Erro: nplanes!=1 "},
      {"8 bits", muda(184, 0x80001), "", "Erro: bitspix!=24 "},
      {"compressed", muda(188, 1), "", "Erro: compression!=0 "},
      {"RIFF size short of its chunks", muda(4, 388), "", "Erro anariff: s!=0 "},
      {"INFO list before movi", insere(b, 240, chunk("LIST", {'I', 'N', 'F', 'O'}), {RIFF}), "", "Erro: Nao-movi "},
      {"a chunk where movi belongs", insere(b, 240, chunk("strn", {}), {RIFF}), "strn", "Erro: Nao-LIST 3 "},
      {"hdrl list not a list", muda(12, 0x4B4E554A + 1), "", "Erro: Nao-LIST 2 "},
      {"frame chunk short of the frame", curto, "", "Erro LeAvi(I3DCOR): tamimg>chunk.size "},
      {"fewer frames than announced", muda(48, 3), "", "Erro: Fim de arquivo inesperado "},
      {"frames no file holds", enorme, "", "Erro: Fim de arquivo inesperado "},
  };
  for (const Caso& k : casos) {
    const std::string p = write_bytes(scratch_path("mau.avi"), k.b);
    const RunResult r = run_in_child([&] {
      cap_address_space();
      I3DCOR s;
      LeAvi(s, p);
      return 0;
    });
    EXPECT_EQ(r.status, 1) << k.rotulo;
    EXPECT_EQ(r.out, k.out) << k.rotulo;
    EXPECT_EQ(r.err, k.msg + "\n") << k.rotulo;
  }
  EXPECT_EXIT(
      {
        cap_address_space();
        I3DCOR s;
        LeAvi(s, pipe_holding(enorme));
      },
      testing::ExitedWithCode(1), stderr_line("Erro: Fim de arquivo inesperado "));
  // From 1000001 microseconds on the written rate is too coarse.
  EXPECT_EXIT(lido_cor(escrito(colorida(1, 1, 1, 1000001))), testing::ExitedWithCode(1),
              stderr_line("Erro LeAvi(I3DCOR): rate e fd nao concordam "));
}

TEST(ImpAviDeathTest, RefusalsLeaveNoFile) {
  const std::string p = scratch_path("recusa.avi");
  std::remove(p.c_str());
  struct Caso {
    std::function<void()> f;
    std::string msg;
  };
  const Caso casos[] = {
      {[&] { ImpAvi(I3DGRY(0, 3, 5), p); }, "Erro ImpAvi(I3DGRY) - Imagem nula  " + p},
      {[&] { ImpAvi(I3DCOR(2, 3, 0), p); }, "Erro ImpAvi(I3DCOR) - Imagem nula  " + p},
      {[&] { ImpAvi(colorida(1, 1, 1, 0), p); }, "Erro ImpAvi(I3DCOR) - Duracao de quadro invalida  " + p},
      {[&] { ImpAvi(colorida(1, 1, 1, -40000), p); }, "Erro ImpAvi(I3DCOR) - Duracao de quadro invalida  " + p},
      {[&] {
         I3DGRY g(2, 2, 2);
         g(1).aloca(2, 3);
         ImpAvi(g, p);
       },
       "Erro: Dimensoes de imagens diferentes "},
      {[&] {
         cap_file_size(2000);
         ImpAvi(cinza(3, 20, 20), p);
       },
       "Erro ImpAvi(I3DGRY) - Falha de escrita  " + p},
      {[] { ImpAvi(cinza(1, 1, 1), "/nonexistent/a.avi"); }, "Erro ImpAvi(I3DGRY) - abertura de  /nonexistent/a.avi"},
  };
  for (const Caso& k : casos) {
    EXPECT_EXIT(k.f(), testing::ExitedWithCode(1), stderr_line(k.msg));
    EXPECT_FALSE(exists(p)) << k.msg;
  }
}

// Frame by frame: the writer makes the sequence's file, and the readers hand
// each frame over once its bytes are in and say when the file has been read
// whole.
TEST(ImpAvi, FrameByFrameWritesTheSequencesFile) {
  const std::string p = scratch_path("quadros.avi");
  const I3DGRY g = cinza(3, 3, 5);
  {
    IMPAVI<BYTE> w(p, 3, 3, 5, 1);  // grey files say 250000 whatever fd is
    for (int f = 0; f < 3; ++f) w.poe(g(f));
    w.fecha();
  }
  EXPECT_EQ(read_bytes(p), escrito(g));
  const I3DCOR k = colorida(2, 300, 301, 40000);
  {
    IMPAVI<COR> w(p, 2, 300, 301, 40000);
    for (int f = 0; f < 2; ++f) w.poe(k(f));
    w.fecha();
  }
  EXPECT_EQ(read_bytes(p), escrito(k));
  // A writer that never closes leaves nothing, and no older file is touched.
  std::remove(p.c_str());
  {
    IMPAVI<COR> w(p, 2, 300, 301, 40000);
    w.poe(k(0));
  }
  EXPECT_FALSE(exists(p));
}

TEST(ImpAviDeathTest, FrameByFrameRefusals) {
  const std::string p = scratch_path("quadros_recusa.avi");
  std::remove(p.c_str());
  const I3DCOR k = colorida(2, 3, 5);
  struct Caso {
    std::function<void()> f;
    std::string msg;
  };
  const Caso casos[] = {
      {[&] {
         IMPAVI<COR> w(p, 1, 3, 5, 40000);
         w.poe(k(0));
         w.poe(k(1));
       },
       "Erro ImpAvi(I3DCOR) - Quadros demais  " + p},
      {[&] {
         IMPAVI<COR> w(p, 2, 3, 5, 40000);
         w.poe(k(0));
         w.fecha();
       },
       "Erro ImpAvi(I3DCOR) - Faltam quadros  " + p},
      {[&] {
         IMPAVI<BYTE> w(p, 2, 3, 5);
         w.poe(IMGGRY(5, 3));
       },
       "Erro: Dimensoes de imagens diferentes "},
      {[&] { IMPAVI<BYTE> w(p, 1, 0, 5); }, "Erro ImpAvi(I3DGRY) - Imagem nula  " + p},
      {[&] { IMPAVI<COR> w(p, 1, 3, 5, 0); }, "Erro ImpAvi(I3DCOR) - Duracao de quadro invalida  " + p},
      {[&] { IMPAVI<COR> w(p, 1000, 1000, 1500, 40000); }, "Erro ImpAvi(I3DCOR) - Video grande demais para AVI  " + p},
  };
  for (const Caso& c : casos) {
    EXPECT_EXIT(c.f(), testing::ExitedWithCode(1), stderr_line(c.msg));
    EXPECT_FALSE(exists(p)) << c.msg;
  }
}

// aceita says what the constructor takes, at the edges of every refusal.
TEST(ImpAvi, AceitaAgreesWithTheWriter) {
  const std::string p = scratch_path("aceita.avi");
  struct Caso {
    bool cor;
    int nf, nl, nc, fd;
  };
  const Caso casos[] = {
      {false, 1, 1, 1, 250000}, {false, 0, 1, 1, 250000}, {false, 1, 0, 1, 250000}, {false, 1, 1, -1, 250000},
      {false, 1, 1, 1, 0},  // grey files ignore fd
      {true, 1, 1, 1, 1},       {true, 1, 1, 1, 0},       {true, 1, 1, 1, -5},      {true, 2, 1, 0, 40000},
      // The most frames a 32-bit RIFF size holds: 252 + nf * (4 + 8 + 16) bytes.
      {true, 153391680, 1, 1, 40000}, {true, 153391681, 1, 1, 40000},
      {false, 1, 65535, 65535, 250000}, {false, 1, 65536, 65536, 250000},
  };
  for (const Caso& c : casos) {
    const bool aceita = c.cor ? IMPAVI<COR>::aceita(c.nf, c.nl, c.nc, c.fd) : IMPAVI<BYTE>::aceita(c.nf, c.nl, c.nc, c.fd);
    // Whether the constructor gets as far as creating the file.
    const RunResult r = run_in_child([&] {
      if (c.cor) IMPAVI<COR> w(p, c.nf, c.nl, c.nc, c.fd);
      else IMPAVI<BYTE> w(p, c.nf, c.nl, c.nc, c.fd);
      return 0;
    });
    EXPECT_EQ(aceita, r.status == 0) << c.nf << " " << c.nl << " " << c.nc << " " << c.fd << ": " << r.err;
  }
}

namespace {

// Writes down every call it gets, on standard output too, so that a child
// that ends with an error still shows how far it got.
template <class P>
class REGISTRO final : public RECEPTORAVI<P> {
 public:
  std::string log;
  I3D<P> frames;
  bool eco = false;
  void inicio(int nf, int nl, int nc, int fd) override {
    anota("inicio " + std::to_string(nf) + " " + std::to_string(nl) + " " + std::to_string(nc) + " " +
          std::to_string(fd));
    frames.aloca(nf, nl, nc);
    nl_ = nl;
    nc_ = nc;
  }
  IMG<P>& quadro(int f) override {
    anota("quadro " + std::to_string(f));
    q_.aloca(nl_, nc_);
    return q_;
  }
  void pronto(int f) override {
    anota("pronto " + std::to_string(f));
    frames(f) = q_;
  }
  void fim() override { anota("fim"); }

 private:
  void anota(const std::string& s) {
    log += s + ";";
    if (!eco) return;
    std::printf("%s;", s.c_str());
    std::fflush(stdout);
  }
  IMG<P> q_;
  int nl_ = 0, nc_ = 0;
};

}  // namespace

TEST(LeAvi, HandsFramesOverAsTheyAreRead) {
  const std::string p = scratch_path("receptor.avi");
  {
    const I3DGRY g = cinza(3, 3, 5);
    write_bytes(p, escrito(g));
    REGISTRO<BYTE> r;
    ARQLE a(p, "rb", "abertura", "buffer");
    LeAvi(r, a);
    EXPECT_EQ(r.log, "inicio 3 3 5 250000;quadro 0;pronto 0;quadro 1;pronto 1;quadro 2;pronto 2;fim;");
    EXPECT_TRUE(same_sequence(r.frames, g));
  }
  {
    const I3DCOR k = colorida(2, 4, 3, 33367);
    REGISTRO<COR> r;
    ARQLE a(pipe_holding(escrito(k)), "rb", "abertura", "buffer");
    LeAvi(r, a);
    EXPECT_EQ(r.log, "inicio 2 4 3 33367;quadro 0;pronto 0;quadro 1;pronto 1;fim;");
    EXPECT_TRUE(same_sequence(r.frames, k));
  }
  // A colour file whose RIFF list claims more than it holds: every frame is
  // handed over, but the file is not sound, so there is no fim.
  Bytes b = escrito(colorida(2, 4, 3, 33367));
  put_le32(b, RIFF, le32(b, RIFF) + 8);
  write_bytes(p, b);
  const RunResult r = run_in_child([&] {
    REGISTRO<COR> reg;
    reg.eco = true;
    ARQLE a(p, "rb", "abertura", "buffer");
    LeAvi(reg, a);
    return 0;
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "inicio 2 4 3 33367;quadro 0;pronto 0;quadro 1;pronto 1;");
  EXPECT_EQ(r.err, "Erro: Fim de arquivo inesperado \n");
}
