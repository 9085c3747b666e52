// Fourier transforms against the definition summed directly in long double,
// inverse pairs, the root table, the vector and image forms, the quadrant
// exchanges, xcorrshift and the modulus.
#include "proc/fourier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "proc/fftmotor.h"
#include "support/files.h"

using namespace imagorix;
using testsupport::cap_address_space;
using testsupport::stderr_line;

namespace {

using CPXL = std::complex<long double>;
const long double PI_L = 3.141592653589793238462643383279502884L;

std::vector<CPXD> aleatorio(int n, unsigned semente) {
  std::mt19937 g(semente);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<CPXD> v(n);
  for (auto& z : v) z = CPXD(u(g), u(g));
  return v;
}

// exp(sign 2 pi i k / n) for k = 0 ... n - 1, in long double.
std::vector<CPXL> raizes(int n, int sinal) {
  std::vector<CPXL> r(n);
  for (int k = 0; k < n; ++k) {
    const long double a = sinal * 2 * PI_L * k / n;
    r[k] = CPXL(std::cos(a), std::sin(a));
  }
  return r;
}

// Bin s of sum over t of x[t] exp(sign 2 pi i s t / n), in long double, from
// the roots of raizes(n, sign).
CPXL bin(const std::vector<CPXD>& x, const std::vector<CPXL>& w, int s) {
  const long long n = static_cast<long long>(x.size());
  long double re = 0, im = 0;
  for (long long t = 0; t < n; ++t) {
    const CPXL z = w[s * t % n];
    re += x[t].real() * z.real() - x[t].imag() * z.imag();
    im += x[t].real() * z.imag() + x[t].imag() * z.real();
  }
  return CPXL(re, im);
}

long double norma(const std::vector<CPXD>& x) {
  long double s = 0;
  for (auto z : x) s += std::norm(CPXL(z.real(), z.imag()));
  return std::sqrt(s);
}

struct Forma {
  const char* nome;
  void (*f)(CPXD*, CPXD*, int);
  int sinal;
  int escala;  // 0 none, 1 1/sqrt(n), 2 1/n
};
const Forma FORMAS[] = {
    {"fft_mais_raiz", fft_mais_raiz, +1, 1},
    {"fft_mais_n", fft_mais_n, +1, 2},
    {"fft_menos_raiz", fft_menos_raiz, -1, 1},
    {"fft_menos", fft_menos, -1, 0},
};

long double fator(int escala, int n) {
  return escala == 0 ? 1.0L : escala == 1 ? 1 / std::sqrt(static_cast<long double>(n)) : 1.0L / n;
}

// The largest error over the bins checked (all, or `amostra` spread ones and
// the ends), relative to the norm of the input, which is the size of a
// typical bin of the unscaled transform.
double erro_relativo(const Forma& f, int n, int amostra = 0) {
  const std::vector<CPXD> x = aleatorio(n, 1234u + unsigned(n));
  std::vector<CPXD> trabalho = x, y(n);
  f.f(trabalho.data(), y.data(), n);
  std::vector<int> bins;
  if (amostra == 0) {
    for (int s = 0; s < n; ++s) bins.push_back(s);
  } else {
    std::mt19937 g(7);
    bins = {0, 1, n / 2, n - 1};
    for (int k = 0; k < amostra; ++k) bins.push_back(static_cast<int>(g() % unsigned(n)));
  }
  const long double k = fator(f.escala, n);
  const std::vector<CPXL> w = raizes(n, f.sinal);
  long double pior = 0;
  for (int s : bins) pior = std::max(pior, std::abs(CPXL(y[s].real(), y[s].imag()) - k * bin(x, w, s)));
  return static_cast<double>(pior / (k * norma(x)));
}

}  // namespace

// The passes exist for one and for two complex numbers a vector (the latter
// where the processor has them); each test of the definition runs with both.
class Vetores : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { detail::usa_vetores_largos(GetParam()); }
  void TearDown() override { detail::usa_vetores_largos(true); }
};
INSTANTIATE_TEST_SUITE_P(Fourier, Vetores, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "Wide" : "Narrow"; });

TEST_P(Vetores, EveryFormMatchesTheDefinitionForLengthsOneTo64) {
  for (const Forma& f : FORMAS)
    for (int n = 1; n <= 64; ++n) EXPECT_LT(erro_relativo(f, n), 1e-9) << f.nome << " n=" << n;
}

struct Caso {
  int n;
  int forma;
  int amostra;  // bins compared, 0 for all
};

TEST_P(Vetores, LargeCompositeLengths) {
  // Powers of two (in fours, and beyond 2^16 in eights) and of three, the
  // largest prime a pass of its own takes, a product of five primes, a prime
  // and a composite with a prime factor too large for a pass.
  const Caso casos[] = {
      {4096, 0, 64},  {1 << 17, 1, 32}, {2187, 2, 64}, {61 * 64, 3, 64},
      {3 * 5 * 7 * 11 * 13, 1, 64}, {1009, 2, 0}, {2 * 67, 0, 0},
  };
  for (const Caso& c : casos)
    EXPECT_LT(erro_relativo(FORMAS[c.forma], c.n, c.amostra), 1e-9) << FORMAS[c.forma].nome << " n=" << c.n;
}

TEST(Fourier, LargePrimeLengths) {
  // Both signs through the chirp convolution, and a prime far beyond where
  // the root index r s (Nw / N) of the plain method overflows 32 bits.
  const Caso casos[] = {{65537, 0, 32}, {1000003, 3, 24}};
  for (const Caso& c : casos)
    EXPECT_LT(erro_relativo(FORMAS[c.forma], c.n, c.amostra), 1e-9) << FORMAS[c.forma].nome << " n=" << c.n;
}

TEST(Fourier, SmallCasesByHand) {
  CPXD x1[1] = {CPXD(2, -3)}, y1[1];
  fft_menos(x1, y1, 1);
  EXPECT_EQ(y1[0], CPXD(2, -3));
  CPXD x2[2] = {CPXD(1, 2), CPXD(5, -1)}, y2[2];
  fft_mais_raiz(x2, y2, 2);
  EXPECT_NEAR(y2[0].real(), 6 / std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(y2[0].imag(), 1 / std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(y2[1].real(), -4 / std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(y2[1].imag(), 3 / std::sqrt(2.0), 1e-15);
}

TEST(Fourier, InversePairsGiveTheInputBackAndTheUnitaryPairKeepsTheNorm) {
  for (int n : {1, 2, 12, 15, 97, 1000, 4099}) {
    const std::vector<CPXD> x = aleatorio(n, unsigned(n));
    std::vector<CPXD> w = x, y(n), z(n);
    fft_mais_raiz(w.data(), y.data(), n);
    EXPECT_NEAR(static_cast<double>(norma(y) / norma(x)), 1.0, 1e-12) << n;
    fft_menos_raiz(y.data(), z.data(), n);
    std::vector<CPXD> u = x, v(n), back(n);
    fft_mais_n(u.data(), v.data(), n);
    fft_menos(v.data(), back.data(), n);
    for (int t = 0; t < n; ++t) {
      EXPECT_LT(std::abs(z[t] - x[t]), 1e-12) << n << " " << t;
      EXPECT_LT(std::abs(back[t] - x[t]), 1e-12) << n << " " << t;
    }
  }
}

TEST(Fourier, RootTableFollowsTheLastLength) {
  CPXD x[12] = {}, y[12];
  fft_menos_raiz(x, y, 12);
  ASSERT_EQ(Nw(), 12);
  ASSERT_NE(W(), nullptr);
  for (int k = 0; k < 12; ++k) {
    EXPECT_NEAR(W()[k].real(), static_cast<double>(std::cos(2 * PI_L * k / 12)), 1e-15) << k;
    EXPECT_NEAR(W()[k].imag(), static_cast<double>(std::sin(2 * PI_L * k / 12)), 1e-15) << k;
  }
  fft_menos(x, y, 0);
  EXPECT_EQ(Nw(), 0);
  EXPECT_EQ(W(), nullptr);
  fft_mais_n(x, y, 8);
  EXPECT_EQ(Nw(), 8);
  EXPECT_NEAR(W()[2].imag(), 1.0, 1e-15);
  // A two-dimensional transform ends with its columns.
  (void)fft_mais_raiz(IMGCPX(3, 5));
  EXPECT_EQ(Nw(), 3);
}

TEST(Fourier, CoreTransformUsesAnyTableOrNone) {
  // The core transform is unscaled with the positive exponent, whatever the
  // table holds: one for a multiple of the length, one that does not fit,
  // or none. It leaves the table as it is.
  const Forma mais{"fft_nucleo", fft_nucleo, +1, 0};
  for (int tabela : {24, 7, 0}) {
    W_init(tabela);
    EXPECT_LT(erro_relativo(mais, 12), 1e-9) << tabela;
    EXPECT_LT(erro_relativo(mais, 8), 1e-9) << tabela;
    EXPECT_EQ(Nw(), tabela);
  }
}

TEST(Fourier, RootTableMessages) {
  const std::string falta = stderr_line("Erro: malloc do FFT - W_init ");
  EXPECT_EXIT(W_init(-3), testing::ExitedWithCode(1), falta);
  CPXD x[1], y[1];
  EXPECT_EXIT(fft_mais_n(x, y, -1), testing::ExitedWithCode(1), falta);
#ifndef __SANITIZE_ADDRESS__
  EXPECT_EXIT((cap_address_space(), W_init(std::numeric_limits<int>::max())), testing::ExitedWithCode(1), falta);
#endif
}

TEST(Fourier, VectorFormsMatchTheArrayForms) {
  using VF = VETOR<CPXD> (*)(VETOR<CPXD>&);
  struct Caso {
    VF v;
    void (*a)(CPXD*, CPXD*, int);
  };
  const Caso casos[] = {{fft_mais_raiz, fft_mais_raiz}, {fft_mais_n, fft_mais_n}, {fft_menos_raiz, fft_menos_raiz}};
  const std::vector<CPXD> x = aleatorio(10, 3);
  for (const Caso& c : casos) {
    VETOR<CPXD> v(10);
    for (int i = 0; i < 10; ++i) v(i) = x[i];
    std::vector<CPXD> w = x, y(10);
    c.a(w.data(), y.data(), 10);
    const VETOR<CPXD> r = c.v(v);
    ASSERT_EQ(r.n(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(r(i), y[i]);
  }
}

TEST(Fourier, UnscaledVectorFormResizesItsArgumentFirst) {
  const std::vector<CPXD> x = aleatorio(6, 5);
  struct Caso {
    int l, n;
  };
  for (Caso c : {Caso{9, 9}, Caso{4, 4}, Caso{0, 6}, Caso{-2, 6}}) {
    VETOR<CPXD> v(6);
    for (int i = 0; i < 6; ++i) v(i) = x[i];
    const VETOR<CPXD> r = fft_menos(v, c.l);
    ASSERT_EQ(r.n(), c.n);
    ASSERT_EQ(v.n(), c.n);
    std::vector<CPXD> p(c.n, CPXD(0, 0));
    for (int i = 0; i < std::min(6, c.n); ++i) p[i] = x[i];
    const std::vector<CPXL> w = raizes(c.n, -1);
    for (int s = 0; s < c.n; ++s) {
      const CPXL e = bin(p, w, s);
      EXPECT_LT(std::abs(CPXL(r(s).real(), r(s).imag()) - e), 1e-13) << c.l << " " << s;
    }
  }
}

TEST(Fourier, ImageFormsTransformRowsThenColumns) {
  // 3 x 5 and 4 x 4: non-square with odd sides, and square; against the
  // two-dimensional definition, to float precision.
  for (auto [nl, nc] : {std::pair{3, 5}, std::pair{4, 4}}) {
    IMGCPX a(nl, nc);
    const std::vector<CPXD> v = aleatorio(nl * nc, 9);
    for (int k = 0; k < nl * nc; ++k) a.data()[k] = CPXF(v[k]);
    a.fundo() = CPXF(7, -7);
    struct Caso {
      IMGCPX (*f)(const IMGCPX&);
      int sinal, escala;
    };
    for (Caso c : {Caso{fft_mais_raiz, 1, 1}, Caso{fft_mais_n, 1, 2}, Caso{fft_menos_raiz, -1, 1}}) {
      const IMGCPX r = c.f(a);
      ASSERT_EQ(r.nl(), nl);
      ASSERT_EQ(r.nc(), nc);
      EXPECT_EQ(r.fundo(), CPXF(7, -7));
      const long double k = fator(c.escala, nl) * fator(c.escala, nc);
      for (int i = 0; i < nl; ++i)
        for (int j = 0; j < nc; ++j) {
          CPXL e = 0;
          for (int p = 0; p < nl; ++p)
            for (int q = 0; q < nc; ++q) {
              const long double ang = c.sinal * 2 * PI_L *
                                      (static_cast<long double>(i * p % nl) / nl + static_cast<long double>(j * q % nc) / nc);
              e += CPXL(a(p, q).real(), a(p, q).imag()) * CPXL(std::cos(ang), std::sin(ang));
            }
          EXPECT_LT(std::abs(CPXL(r(i, j).real(), r(i, j).imag()) - k * e), 1e-5L) << nl << "x" << nc << " " << i << "," << j;
        }
    }
  }
}

TEST(Fourier, QuadrantExchanges) {
  for (auto [nl, nc] : {std::pair{5, 4}, std::pair{4, 5}, std::pair{1, 1}, std::pair{6, 6}}) {
    IMGFLT a(nl, nc);
    IMGCPX b(nl, nc);
    for (int i = 0; i < nl; ++i)
      for (int j = 0; j < nc; ++j) {
        a(i, j) = FLT(10 * i + j);
        b(i, j) = CPXF(FLT(i), FLT(j));
      }
    a.fundo() = 3;
    const IMGFLT c = quadrantes_canto(a);
    EXPECT_EQ(c.lc(), 0);
    EXPECT_EQ(c.cc(), 0);
    EXPECT_EQ(c.fundo(), 3);
    for (int i = 0; i < nl; ++i)
      for (int j = 0; j < nc; ++j) EXPECT_EQ(c(i, j), a((i + nl / 2) % nl, (j + nc / 2) % nc));
    const IMGFLT d = quadrantes_centro(c);
    EXPECT_EQ(d.lc(), nl / 2);
    EXPECT_EQ(d.cc(), nc / 2);
    const IMGCPX e = quadrantes_centro(quadrantes_canto(b));
    for (int i = 0; i < nl; ++i)
      for (int j = 0; j < nc; ++j) {
        EXPECT_EQ(d(i, j), a(i, j)) << nl << "x" << nc;
        EXPECT_EQ(e(i, j), b(i, j)) << nl << "x" << nc;
      }
  }
  IMGFLT cinco(5, 1);
  for (int i = 0; i < 5; ++i) cinco(i, 0) = FLT(i);
  EXPECT_EQ(quadrantes_canto(cinco)(0, 0), 2);  // row 0 from source row 2
  EXPECT_EQ(quadrantes_centro(cinco)(0, 0), 3);
  EXPECT_EQ(quadrantes_centro(cinco)(2, 0), 0);  // zero frequency at the centre

  for (int n : {5, 6, 1, 0}) {
    VETOR<CPXD> v(n);
    for (int i = 0; i < n; ++i) v(i) = CPXD(i, -i);
    const VETOR<CPXD> c = quadrantes_canto(v);
    const VETOR<CPXD> d = quadrantes_centro(c);
    ASSERT_EQ(d.n(), n);
    EXPECT_EQ(d.centro(), n / 2);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(c(i), v((i + n / 2) % n));
      EXPECT_EQ(d(i), v(i));
    }
  }
}

TEST(Fourier, XcorrshiftReordersIntoLinearLags) {
  VETOR<CPXD> a(6);
  for (int i = 0; i < 6; ++i) a(i) = CPXD(i, 0);
  // n1 = 3, n2 = 2: lags -1 ... 2, that is circular indices 5, 0, 1, 2.
  const VETOR<CPXD> r = xcorrshift(a, 3, 2);
  ASSERT_EQ(r.n(), 4);
  const double esperado[] = {5, 0, 1, 2};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r(i).real(), esperado[i]) << i;
  // n2 beyond the length: the remainder is taken non-negative.
  const VETOR<CPXD> s = xcorrshift(a, -4, 9);
  ASSERT_EQ(s.n(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s(i).real(), (i + 6 - 9 + 1 + 12) % 6) << i;
  EXPECT_EXIT(xcorrshift(a, 4, 4), testing::ExitedWithCode(1), stderr_line("Erro xcorrshift: a.n()<n1+n2-1 "));

  IMGCPX b(4, 5);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 5; ++j) b(i, j) = CPXF(FLT(i), FLT(j));
  const IMGCPX t = xcorrshift(b, 2, 3, 2, 2);
  ASSERT_EQ(t.nl(), 3);
  ASSERT_EQ(t.nc(), 4);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(t(i, j), CPXF(FLT((i + 3) % 4), FLT((j + 4) % 5))) << i << "," << j;
  const std::string msg = stderr_line("Erro xcorrshift: a.nl()<nl1+nl2-1 || a.nc()<nc1+nc2-1 ");
  EXPECT_EXIT(xcorrshift(b, 3, 1, 3, 1), testing::ExitedWithCode(1), msg);
  EXPECT_EXIT(xcorrshift(b, 1, 4, 1, 3), testing::ExitedWithCode(1), msg);
}

TEST(Fourier, Modulus) {
  const float grande = 2e38f, minimo = std::numeric_limits<float>::denorm_min();
  IMGCPX a(1, 4, {3, 4, 0, 0, grande, grande, 3 * minimo, 4 * minimo});
  a.fundo() = CPXF(-6, 8);
  const IMGFLT m = modulo(a);
  EXPECT_EQ(m(0, 0), 5);
  EXPECT_EQ(m(0, 1), 0);
  // Neither overflows nor underflows on the way.
  EXPECT_FLOAT_EQ(m(0, 2), grande * std::sqrt(2.0f));
  EXPECT_EQ(m(0, 3), 5 * minimo);
  EXPECT_EQ(m.fundo(), 10);
}
