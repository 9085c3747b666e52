// The transform engine: a length is split into its prime factors (fours,
// eights and a two for the powers of two), and the transform runs as one self-sorting
// pass per factor, each reading one buffer and writing the other, so that no
// reordering pass is needed and every pass walks memory in order. A length
// with a prime factor too large for a pass of its own goes through Bluestein's
// chirp convolution, itself a transform of a power-of-two length. So every
// length costs O(n log n).
//
// Pass with factor p over a sequence of length L = p * m, repeated for the s
// sequences of this level (s * L = n): element j + r m of each sequence
// feeds the p-point transform whose output k, times the twiddle
// exp(+-2 pi i j k / L), becomes element j of the k-th subsequence of length
// m. Sequence q of the level sits at stride s, so the subsequences of the
// next level sit at stride s p, and the output comes out in natural order.
#include "proc/fftmotor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "base/erro.h"
#include "proc/fftpassos.h"

namespace imagorix::detail {

namespace {

constexpr double DOISPI = 6.283185307179586;

// exp(+2 pi i k / n) for 0 <= k < n into out[0], out[1]. The angle is
// reduced to an eighth of a turn with exact integer arithmetic, 2 pi k / n =
// q pi/4 + phi with |phi| <= pi/4 and q even, so that the sine and cosine in
// extended precision work on a small angle and the quarter turns i^(q/2)
// are exact.
void raiz(std::int64_t k, std::int64_t n, double* out) {
  const std::int64_t u = 8 * k;
  std::int64_t q = u / n, r = u - q * n;  // 2 pi k / n = (q + r/n) pi/4
  if (q % 2) {
    ++q;
    r -= n;  // now -n < r <= 0
  }
  const long double phi = static_cast<long double>(DOISPI) / 8 * static_cast<long double>(r) / static_cast<long double>(n);
  const double c = static_cast<double>(std::cos(phi)), sn = static_cast<double>(std::sin(phi));
  switch ((q / 2) % 4) {
    case 0: out[0] = c, out[1] = sn; break;
    case 1: out[0] = -sn, out[1] = c; break;
    case 2: out[0] = -c, out[1] = -sn; break;
    default: out[0] = sn, out[1] = -c; break;
  }
}

// Plans kept for reuse: the lengths of the last few transforms.
constexpr std::size_t NPLANOS = 4;

[[noreturn]] void falta() { erro("Erro: malloc do FFT - W_init", ""); }

// Storage of n doubles for the engine's own tables and buffers.
struct Buffer {
  std::unique_ptr<double[]> p;
  void aloca(std::size_t n) {
    p.reset(new (std::nothrow) double[n ? n : 1]);
    if (!p) falta();
  }
  double* get() const { return p.get(); }
};

// Complex helpers on interleaved doubles.
inline void cmul(double ar, double ai, double br, double bi, double* out) {
  out[0] = ar * br - ai * bi;
  out[1] = ar * bi + ai * br;
}

// ---- Plans ----------------------------------------------------------------

struct Plano {
  int n = 0;
  std::vector<Passo> passos;
  Buffer tw;
  // Chirp convolution: the inner plan of length M, the chirp
  // exp(+pi i t^2 / n), the transformed kernel (scaled by 1/M) and two
  // buffers of M elements.
  int M = 0;
  std::unique_ptr<Plano> interno;
  Buffer chirp, H, a, b;
};

std::unique_ptr<Plano> cria_plano(int n, const double* roots, int nr);

// The factors of n in the order the passes take them: the power of two, then
// the odd primes ascending. Up to 2^16 points, which stay in cache, the power
// of two goes in fours (and a two), the quickest passes; beyond, where each
// pass is a trip through memory, a four and then eights, which make fewer.
std::vector<int> fatores(int n) {
  std::vector<int> f;
  int e = 0;
  while (n % 2 == 0) {
    n /= 2;
    ++e;
  }
  if (e <= 16) {
    for (int i = 0; i < e / 2; ++i) f.push_back(4);
    if (e % 2) f.push_back(2);
  } else {
    f.push_back(4);
    int oito = (e - 2) / 3;
    const int resto = (e - 2) % 3;
    if (resto == 1) --oito;
    for (int i = 0; i < oito; ++i) f.push_back(8);
    if (resto == 1) {
      f.push_back(4);
      f.push_back(4);
    }
    if (resto == 2) f.push_back(4);
  }
  for (int d = 3; static_cast<long long>(d) * d <= n; d += 2)
    while (n % d == 0) {
      f.push_back(d);
      n /= d;
    }
  if (n > 1) f.push_back(n);
  return f;
}

void plano_passos(Plano& pl, const std::vector<int>& f, const double* roots, int nr) {
  const int n = pl.n;
  std::size_t total = 0;
  int L = n;
  for (int p : f) {
    const int m = L / p;
    total += 4 * std::size_t(p - 1) * m + (p % 2 ? 2 * std::size_t(p) : 0);
    L = m;
  }
  pl.tw.aloca(total);
  double* t = pl.tw.get();
  std::size_t off = 0;
  L = n;
  int s = 1;
  for (int p : f) {
    const int m = L / p;
    Passo ps{p, m, s, off, 0};
    // Twiddle (j, k) is exp(+2 pi i j k / L), root (j k mod L) (nr / L) of
    // the table (the index reduced as it grows, in 64 bits), stored as w and
    // i w for Giro.
    const std::int64_t passo = nr / L;
    for (int j = 0; j < m; ++j) {
      std::int64_t jk = 0;  // j k mod L
      for (int k = 1; k < p; ++k) {
        jk += j;
        if (jk >= L) jk -= L;
        const std::int64_t idx = jk * passo;
        t[off++] = roots[2 * idx];
        t[off++] = roots[2 * idx + 1];
        t[off++] = -roots[2 * idx + 1];
        t[off++] = roots[2 * idx];
      }
    }
    if (p % 2) {
      ps.cs = off;
      const std::int64_t q = nr / p;
      for (int r = 0; r < p; ++r) {
        t[off++] = roots[2 * (r * q)];
        t[off++] = roots[2 * (r * q) + 1];
      }
    }
    pl.passos.push_back(ps);
    L = m;
    s *= p;
  }
}

void executa(Plano& pl, double* x, double* y, bool neg);

void plano_chirp(Plano& pl) {
  const int n = pl.n;
  // A power of two of at least 2n - 1 elements, which must fit an int.
  if (n > (1 << 29)) falta();
  int M = 1;
  while (M < 2 * n - 1) M *= 2;
  pl.M = M;
  pl.interno = cria_plano(M, nullptr, 0);
  pl.chirp.aloca(2 * std::size_t(n));
  pl.H.aloca(2 * std::size_t(M));
  pl.a.aloca(2 * std::size_t(M));
  pl.b.aloca(2 * std::size_t(M));
  double* c = pl.chirp.get();
  const std::int64_t n2 = 2 * static_cast<std::int64_t>(n);
  for (std::int64_t t = 0; t < n; ++t) raiz(t * t % n2, n2, c + 2 * t);
  // Kernel conj(chirp) at the lags -(n - 1) ... n - 1, circularly.
  double* h = pl.a.get();
  std::fill(h, h + 2 * std::size_t(M), 0.0);
  for (int k = 0; k < n; ++k) {
    h[2 * k] = c[2 * k];
    h[2 * k + 1] = -c[2 * k + 1];
    if (k > 0) {
      h[2 * (M - k)] = c[2 * k];
      h[2 * (M - k) + 1] = -c[2 * k + 1];
    }
  }
  executa(*pl.interno, h, pl.H.get(), true);
  const double inv = 1.0 / M;
  for (std::size_t i = 0; i < 2 * std::size_t(M); ++i) pl.H.get()[i] *= inv;
}

std::unique_ptr<Plano> cria_plano(int n, const double* roots, int nr) {
  std::unique_ptr<Plano> pl(new (std::nothrow) Plano);
  if (!pl) falta();
  pl->n = n;
  const std::vector<int> f = fatores(n);
  if (!f.empty() && f.back() > PMAX) {
    plano_chirp(*pl);
    return pl;
  }
  Buffer proprias;
  if (!roots || nr % n != 0) {
    proprias.aloca(2 * std::size_t(n));
    raizes(n, proprias.get());
    roots = proprias.get();
    nr = n;
  }
  plano_passos(*pl, f, roots, nr);
  return pl;
}

// Whether the passes run on the wider vectors.
bool& largos() {
  static bool sim = tem_largo();
  return sim;
}

void roda_passos(Plano& pl, double* x, double* y, bool neg) {
  const Passo* ps = pl.passos.data();
  const int np = static_cast<int>(pl.passos.size());
  const double* t = pl.tw.get();
  const bool em_y = largos() ? roda_largo(ps, np, t, x, y, neg)
                    : neg  ? roda<C2, true>(ps, np, t, x, y)
                           : roda<C2, false>(ps, np, t, x, y);
  if (!em_y) std::memcpy(y, x, 2 * sizeof(double) * std::size_t(pl.n));
}

void roda_chirp(Plano& pl, double* x, double* y, bool neg) {
  const int n = pl.n, M = pl.M;
  double* a = pl.a.get();
  double* b = pl.b.get();
  const double* c = pl.chirp.get();
  const double sx = neg ? -1.0 : 1.0;
  for (std::size_t t = 0; t < std::size_t(n); ++t)
    cmul(x[2 * t], sx * x[2 * t + 1], c[2 * t], c[2 * t + 1], a + 2 * t);
  std::fill(a + 2 * std::size_t(n), a + 2 * std::size_t(M), 0.0);
  executa(*pl.interno, a, b, true);
  const double* H = pl.H.get();
  for (std::size_t k = 0; k < std::size_t(M); ++k) {
    const double br = b[2 * k], bi = b[2 * k + 1];
    cmul(br, bi, H[2 * k], H[2 * k + 1], b + 2 * k);
  }
  executa(*pl.interno, b, a, false);
  for (std::size_t t = 0; t < std::size_t(n); ++t) {
    cmul(a[2 * t], a[2 * t + 1], c[2 * t], c[2 * t + 1], y + 2 * t);
    y[2 * t + 1] *= sx;
  }
}

void executa(Plano& pl, double* x, double* y, bool neg) {
  if (pl.interno)
    roda_chirp(pl, x, y, neg);
  else
    roda_passos(pl, x, y, neg);
}

// The plans of the last lengths transformed, the latest last.
std::vector<std::unique_ptr<Plano>>& planos() {
  static std::vector<std::unique_ptr<Plano>> p;
  return p;
}

Plano& plano(int n, const double* roots, int nr) {
  auto& ps = planos();
  for (std::size_t i = 0; i < ps.size(); ++i)
    if (ps[i]->n == n) {
      std::rotate(ps.begin() + i, ps.begin() + i + 1, ps.end());
      return *ps.back();
    }
  std::unique_ptr<Plano> novo = cria_plano(n, roots, nr);
  if (ps.size() == NPLANOS) ps.erase(ps.begin());
  ps.push_back(std::move(novo));
  return *ps.back();
}

}  // namespace

void raizes(int n, double* w) {
  // Only the first eighth (or half) is computed; the rest follows exactly by
  // symmetry: W[q - k] mirrors W[k] about the diagonal, W[k + q] = i W[k]
  // (q = n/4) and W[n - k] = conj W[k].
  const std::size_t N = std::size_t(n);
  if (n % 8 == 0) {
    const std::size_t o = N / 8, q = N / 4;
    for (std::size_t k = 0; k <= o; ++k) raiz(std::int64_t(k), n, w + 2 * k);
    for (std::size_t k = o + 1; k <= q; ++k) {
      w[2 * k] = w[2 * (q - k) + 1];
      w[2 * k + 1] = w[2 * (q - k)];
    }
    for (std::size_t k = q + 1; k <= N / 2; ++k) {
      w[2 * k] = -w[2 * (k - q) + 1];
      w[2 * k + 1] = w[2 * (k - q)];
    }
  } else {
    for (std::size_t k = 0; k <= N / 2; ++k) raiz(std::int64_t(k), n, w + 2 * k);
  }
  for (std::size_t k = N / 2 + 1; k < N; ++k) {
    w[2 * k] = w[2 * (N - k)];
    w[2 * k + 1] = -w[2 * (N - k) + 1];
  }
}

bool tem_largo() {
#if defined(IMAGORIX_FFT_AVX2) && (defined(__x86_64__) || defined(__i386__))
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
  return false;
#endif
}

void usa_vetores_largos(bool sim) { largos() = sim && tem_largo(); }

void transforma(double* x, double* y, int n, bool negativo, const double* roots, int nr) {
  if (n < 1) return;
  executa(plano(n, roots, nr), x, y, negativo);
}

}  // namespace imagorix::detail
