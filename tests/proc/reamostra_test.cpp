// Resampling: the row and column passes and the scaling about the centre
// against pixel-by-pixel versions, the worked examples, and the messages.
#include "proc/reamostra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/images.h"

using namespace imagorix;
using testsupport::expect_same_pixels;

namespace {

// --- Pixel by pixel, every read through the access mode -------------------------

void literal_linhas(const IMGFLT& s, IMGFLT& t, double x) {
  if (x >= 1) {
    for (int j = 0; j < t.nc(); ++j)
      for (int k = 0; k < t.nl(); ++k) {
        const double p = k / x, c = std::floor(p), f = p - c;
        t(k, j) = static_cast<FLT>((1 - f) * s(int(c), j, 'x') + f * s(int(c) + 1, j, 'x'));
      }
    return;
  }
  t.preenche(0.0f);
  std::vector<int> conta(t.nl());
  for (int j = 0; j < t.nc(); ++j) {
    std::fill(conta.begin(), conta.end(), 0);
    for (int r = 0; r < s.nl(); ++r) {
      int k = int(std::floor(x * r + 0.5));
      if (k > t.nl() - 1) k = t.nl() - 1;
      t(k, j) = t(k, j) + s(r, j, 'x');
      ++conta.at(k);
    }
    for (int k = 0; k < t.nl(); ++k) t(k, j) = t(k, j) / conta[k];
  }
}

IMGFLT transposta(const IMGFLT& a) {
  IMGFLT t(a.nc(), a.nl());
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c) t(c, l) = a(l, c);
  return t;
}

void literal_colunas(const IMGFLT& s, IMGFLT& t, double x) {
  IMGFLT tt = transposta(t);
  literal_linhas(transposta(s), tt, x);
  t = transposta(tt);
}

BYTE guarda(double v) { return v < 0 ? 0 : (v > 255 ? 255 : BYTE(std::floor(v + 0.5))); }

void literal_vertical(const IMGGRY& a, IMGGRY& b, double f, char borda) {
  for (int cb = 0; cb < b.nc(); ++cb) {
    const int x = cb - b.cc();
    if (f >= 1) {
      for (int rb = 0; rb < b.nl(); ++rb) {
        const double t = (b.lc() - rb) / f, c = std::floor(t), w = t - c;
        b(rb, cb) = guarda(w * a(x, int(c) + 1, borda) + (1 - w) * a(x, int(c), borda));
      }
      continue;
    }
    std::vector<double> soma(b.nl(), 0.0);
    std::vector<int> conta(b.nl(), 0);
    for (int ra = 0; ra < a.nl(); ++ra) {
      const int y = a.lc() - ra;
      const int rb = b.lc() - int(std::floor(f * y + 0.5));
      if (rb < 0 || rb >= b.nl()) continue;
      soma[rb] += a(x, y, borda);
      ++conta[rb];
    }
    for (int rb = 0; rb < b.nl(); ++rb) {
      const int y = b.lc() - rb;
      b(rb, cb) = conta[rb] ? guarda(soma[rb] / conta[rb]) : a(x, int(std::floor(y / f + 0.5)), borda);
    }
  }
}

void literal_horizontal(const IMGGRY& a, IMGGRY& b, double f, char borda) {
  for (int rb = 0; rb < b.nl(); ++rb) {
    const int y = b.lc() - rb;
    if (f >= 1) {
      for (int cb = 0; cb < b.nc(); ++cb) {
        const double t = (cb - b.cc()) / f, c = std::floor(t), w = t - c;
        b(rb, cb) = guarda(w * a(int(c) + 1, y, borda) + (1 - w) * a(int(c), y, borda));
      }
      continue;
    }
    std::vector<double> soma(b.nc(), 0.0);
    std::vector<int> conta(b.nc(), 0);
    for (int ca = 0; ca < a.nc(); ++ca) {
      const int x = ca - a.cc();
      const int cb = int(std::floor(f * x + 0.5)) + b.cc();
      if (cb < 0 || cb >= b.nc()) continue;
      soma[cb] += a(x, y, borda);
      ++conta[cb];
    }
    for (int cb = 0; cb < b.nc(); ++cb) {
      const int x = cb - b.cc();
      b(rb, cb) = conta[cb] ? guarda(soma[cb] / conta[cb]) : a(int(std::floor(x / f + 0.5)), y, borda);
    }
  }
}

void literal_centro(const IMGGRY& s, IMGGRY& t, double fatx, double faty, char borda) {
  if (fatx >= faty) {
    IMGGRY u(s.nl(), t.nc());
    u.lc() = s.lc();
    u.cc() = t.cc();
    u.fundo() = s.fundo();
    literal_horizontal(s, u, fatx, borda);
    literal_vertical(u, t, faty, borda);
  } else {
    IMGGRY u(t.nl(), s.nc());
    u.lc() = t.lc();
    u.cc() = s.cc();
    u.fundo() = s.fundo();
    literal_vertical(s, u, faty, borda);
    literal_horizontal(u, t, fatx, borda);
  }
}

IMGFLT aleatoria(int nl, int nc, unsigned semente) {
  std::mt19937 g(semente);
  std::uniform_real_distribution<float> u(-2, 2);
  IMGFLT a(nl, nc);
  for (int k = 0; k < a.n(); ++k) a.data()[k] = u(g);
  return a;
}

IMGGRY cinza_aleatoria(int nl, int nc, std::mt19937& g) {
  IMGGRY a(nl, nc);
  for (int k = 0; k < a.n(); ++k) a.data()[k] = BYTE(g());
  a.fundo() = BYTE(g());
  return a;
}

void sem_diferenca(const IMGFLT& a, const IMGFLT& b) {
  ASSERT_EQ(a.nl(), b.nl());
  ASSERT_EQ(a.nc(), b.nc());
  for (int k = 0; k < a.n(); ++k) EXPECT_EQ(a.data()[k], b.data()[k]) << "pixel " << k;
}

}  // namespace

TEST(Reamostra, DoublingAndHalvingAColumn) {
  const IMGFLT s2(2, 1, {0, 1});
  IMGFLT t(4, 1);
  reamostral(s2, t, 2);
  expect_same_pixels(t, IMGFLT(4, 1, {0, 0.5, 1, 1}));
  const IMGFLT s4(4, 1, {1, 3, 5, 7});
  IMGFLT h(2, 1);
  reamostral(s4, h, 0.5);
  expect_same_pixels(h, IMGFLT(2, 1, {1, 5}));
  // The same along a row.
  IMGFLT tc(1, 4), hc(1, 2);
  reamostrac(transposta(s2), tc, 2);
  expect_same_pixels(tc, IMGFLT(1, 4, {0, 0.5, 1, 1}));
  reamostrac(transposta(s4), hc, 0.5);
  expect_same_pixels(hc, IMGFLT(1, 2, {1, 5}));
}

TEST(Reamostra, RowAndColumnPassesEqualThePixelByPixelPass) {
  struct CASO {
    int nl, nc, nl2, nc2;
    double x;
  };
  // Growing, shrinking, the target wider or narrower than the source along
  // the other axis (read clamped), and sizes around the rounding of k.
  const CASO casos[] = {{7, 5, 15, 5, 2.1}, {9, 6, 4, 6, 0.45}, {10, 3, 5, 7, 0.5}, {4, 8, 9, 2, 2.25},
                        {13, 11, 13, 11, 1.0}, {17, 4, 6, 4, 1 / 3.0}, {1, 5, 3, 5, 3}};
  unsigned semente = 1;
  for (const CASO& c : casos) {
    SCOPED_TRACE(std::to_string(c.nl) + "x" + std::to_string(c.nc) + " by " + std::to_string(c.x));
    const IMGFLT s = aleatoria(c.nl, c.nc, semente++);
    IMGFLT t(c.nl2, c.nc2), e(c.nl2, c.nc2);
    reamostral(s, t, c.x);
    literal_linhas(s, e, c.x);
    sem_diferenca(t, e);
    const IMGFLT st = transposta(s);
    IMGFLT tc(c.nc2, c.nl2), ec(c.nc2, c.nl2);
    reamostrac(st, tc, c.x);
    literal_colunas(st, ec, c.x);
    sem_diferenca(tc, ec);
  }
}

TEST(Reamostra, TargetRowsNoSourceFallsOnTakeTheNearestSource) {
  // 4 rows by 0.25 fall on targets 0, 0, 1, 1: target 2 would be empty.
  const IMGFLT s(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
  IMGFLT t(3, 2);
  reamostral(s, t, 0.25);
  expect_same_pixels(t, IMGFLT(3, 2, {2, 3, 6, 7, 7, 8}));
  IMGFLT tc(2, 3);
  reamostrac(transposta(s), tc, 0.25);
  expect_same_pixels(tc, transposta(t));
  // A negative factor sends source rows to negative targets.
  EXPECT_EXIT(reamostral(s, t, -1), testing::ExitedWithCode(1), "^Erro VETOR::operator\\(\\) - Indice invalido \n$");
}

TEST(Reamostra, ResizeTreatsTheAxisThatGrowsLessSecond) {
  const IMGFLT a = aleatoria(2, 3, 20);
  // 4 x 3: rows first (2 >= 1).
  IMGFLT tmp(4, 3), e(4, 3);
  literal_linhas(a, tmp, 2);
  literal_colunas(tmp, e, 1);
  sem_diferenca(redimensiona(a, 4, 3), e);
  // 1 x 6: columns first (2 > 0.5).
  IMGFLT tmp2(2, 6), e2(1, 6);
  literal_colunas(a, tmp2, 2);
  literal_linhas(tmp2, e2, 0.5);
  sem_diferenca(redimensiona(a, 1, 6), e2);
  sem_diferenca(escala(a, 0.5, 2), e2);
  // Factors of 1 give the values back, background and centre included.
  IMGFLT b = aleatoria(5, 4, 21);
  b.fundo() = 3;
  b.lc() = 0;
  const IMGFLT r = escala(b, 1, 1);
  sem_diferenca(r, b);
  EXPECT_EQ(r.fundo(), 3.0f);
  EXPECT_EQ(r.lc(), 0);
  // A new size comes with a fresh image's background and centre.
  const IMGFLT d = escala(b, 2, 2);
  EXPECT_EQ(d.nl(), 10);
  EXPECT_EQ(d.nc(), 8);
  EXPECT_EQ(d.fundo(), 0.0f);
  EXPECT_EQ(d.lc(), 4);
  EXPECT_EQ(escala(IMGFLT(3, 3), 1.5, 0.5).nl(), 5);  // floor(4.5 + 0.5)
}

TEST(Reamostra, GreyAndColourGoThroughReal) {
  // Every byte value survives v / 255 * 255 truncated.
  IMGGRY g(16, 16);
  for (int k = 0; k < 256; ++k) g.data()[k] = BYTE(k);
  expect_same_pixels(redimensiona(g, 16, 16), g);
  std::mt19937 ger(30);
  const IMGGRY a = cinza_aleatoria(6, 9, ger);
  expect_same_pixels(redimensiona(a, 11, 4), IMGGRY(redimensiona(IMGFLT(a), 11, 4)));

  IMGCOR c(3, 5);
  for (int k = 0; k < c.n(); ++k) c.data()[k] = COR{BYTE(ger()), BYTE(ger()), BYTE(ger())};
  const IMGCOR r = redimensiona(c, 7, 2);
  ASSERT_EQ(r.nl(), 7);
  ASSERT_EQ(r.nc(), 2);
  BYTE COR::*const canais[3] = {&COR::r, &COR::g, &COR::b};
  for (auto canal : canais) {
    IMGGRY s(3, 5);
    for (int k = 0; k < c.n(); ++k) s.data()[k] = c.data()[k].*canal;
    const IMGGRY e = redimensiona(s, 7, 2);
    for (int k = 0; k < r.n(); ++k) EXPECT_EQ(r.data()[k].*canal, e.data()[k]) << k;
  }
}

TEST(Reamostra, RefusedArguments) {
  const IMGFLT f(2, 3);
  const IMGGRY g(2, 3);
  const IMGCOR c(2, 3);
  IMGGRY t(4, 4);
  struct RECUSA {
    const char* mensagem;
    std::function<void()> f;
  };
  const RECUSA casos[] = {
      {"Erro: fatl<=0", [&] { escala(f, 0, 0); }},
      {"Erro: fatl<=0", [&] { escala(f, std::nan(""), 1); }},
      {"Erro: fatc<=0", [&] { escala(f, 1, -2); }},
      {"Erro: b.nl<=0", [&] { escala(f, 0.2, 1); }},  // floor(0.4 + 0.5) rows
      {"Erro: b.nc<=0", [&] { escala(f, 1, 0.1); }},
      {"Erro: b.nl<=0", [&] { redimensiona(f, 0, 0); }},
      {"Erro: b.nc<=0", [&] { redimensiona(f, 3, 0); }},
      {"Erro: b.nl<=0", [&] { redimensiona(g, -1, 5); }},
      {"Erro: b.nc<=0", [&] { redimensiona(c, 5, 0); }},
      {"Erro: Borda deve ser C ou X \\(default\\)", [&] { escalacentro(g, t, 0, 0, 'Z'); }},
      {"Erro: Borda deve ser C ou X \\(default\\)", [&] { escalacentro(g, t, 1, 1, 'x'); }},
      {"Erro: fatx<=0", [&] { escalacentro(g, t, 0, 0, 'C'); }},
      {"Erro: fatx<=0", [&] { escalacentro(g, t, std::nan(""), 1); }},
      {"Erro: faty<=0", [&] { escalacentro(g, t, 1, -1); }},
  };
  for (const RECUSA& r : casos) {
    SCOPED_TRACE(r.mensagem);
    EXPECT_EXIT(r.f(), testing::ExitedWithCode(1), std::string("^") + r.mensagem + " \n$");
  }
}

TEST(EscalaCentro, WorkedExamples) {
  const IMGGRY s(3, 3, {10, 21, 30, 41, 50, 61, 70, 81, 90});
  IMGGRY t(5, 5);
  escalacentro(s, t, 2, 2);
  EXPECT_EQ(t(2, 2), 50);
  EXPECT_EQ(t(0, 0), 10);
  EXPECT_EQ(t(0, 4), 30);
  EXPECT_EQ(t(4, 0), 70);
  EXPECT_EQ(t(4, 4), 90);
  EXPECT_EQ(t(0, 1), 16);  // (10 + 21) / 2 rounded half up
  EXPECT_EQ(t(1, 0), 26);  // (10 + 41) / 2
  EXPECT_EQ(t(2, 3), 56);  // (50 + 61) / 2

  IMGGRY linha(1, 4, {10, 20, 30, 40});
  linha.cc() = 1;
  IMGGRY dois(1, 2);
  dois.cc() = 0;
  escalacentro(linha, dois, 0.5, 1, 'C');
  expect_same_pixels(dois, IMGGRY(1, 2, {15, 35}));

  // Beyond the source: its background with 'C', its nearest pixel with 'X'.
  IMGGRY um(1, 1, 200);
  um.fundo() = 7;
  IMGGRY c(3, 3), x(3, 3);
  c.fundo() = x.fundo() = 99;
  escalacentro(um, c, 1, 1, 'C');
  escalacentro(um, x, 1, 1, 'X');
  expect_same_pixels(c, IMGGRY(3, 3, {7, 7, 7, 7, 200, 7, 7, 7, 7}));
  expect_same_pixels(x, IMGGRY(3, 3, 200));
  EXPECT_EQ(c.fundo(), 99);  // the target's background is left alone
}

TEST(EscalaCentro, EqualsThePixelByPixelScaling) {
  std::mt19937 g(40);
  const double fatores[] = {0.3, 0.5, 0.8, 1, 1.7, 2, 3.5};
  for (int caso = 0; caso < 60; ++caso) {
    const IMGGRY s = [&] {
      IMGGRY a = cinza_aleatoria(1 + g() % 9, 1 + g() % 9, g);
      a.lc() = int(g() % 11) - 2;  // centres inside and outside the image
      a.cc() = int(g() % 11) - 2;
      return a;
    }();
    IMGGRY t(1 + g() % 12, 1 + g() % 12);
    t.lc() = int(g() % 14) - 2;
    t.cc() = int(g() % 14) - 2;
    IMGGRY e = t;
    const double fx = fatores[g() % 7], fy = fatores[g() % 7];
    const char borda = g() % 2 ? 'C' : 'X';
    SCOPED_TRACE(std::to_string(caso) + " fatx " + std::to_string(fx) + " faty " + std::to_string(fy) + " " + borda);
    escalacentro(s, t, fx, fy, borda);
    literal_centro(s, e, fx, fy, borda);
    expect_same_pixels(t, e);
  }
}
