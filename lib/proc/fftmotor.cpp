// The transform engine: a length is split into its prime factors (fours and
// twos for the powers of two), and the transform runs as one self-sorting
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

namespace imagorix::detail {

namespace {

constexpr double DOISPI = 6.283185307179586;
// A prime factor up to this is a pass of its own, costing p operations per
// element; a larger one sends the whole length through the chirp convolution.
constexpr int PMAX = 61;
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

// ---- Passes ---------------------------------------------------------------
// x holds p * m rows of s complex elements, rows j + r m (r = 0 ... p - 1)
// feeding output rows p j + k of y. w points at the p - 1 twiddles of j
// (already conjugated for the negative exponent) or is null for j = 0.

template <bool NEG>
inline void passo2(int s, int m, const double* tw, const double* x, double* y) {
  const std::size_t S = 2 * std::size_t(s);
  for (int j = 0; j < m; ++j) {
    const double* x0 = x + S * j;
    const double* x1 = x + S * (std::size_t(j) + m);
    double* y0 = y + S * (2 * std::size_t(j));
    double* y1 = y0 + S;
    if (j == 0) {
      for (std::size_t e = 0; e < S; e += 2) {
        const double ar = x0[e], ai = x0[e + 1], br = x1[e], bi = x1[e + 1];
        y0[e] = ar + br;
        y0[e + 1] = ai + bi;
        y1[e] = ar - br;
        y1[e + 1] = ai - bi;
      }
    } else {
      const double wr = tw[2 * std::size_t(j)], wi = NEG ? -tw[2 * std::size_t(j) + 1] : tw[2 * std::size_t(j) + 1];
      for (std::size_t e = 0; e < S; e += 2) {
        const double ar = x0[e], ai = x0[e + 1], br = x1[e], bi = x1[e + 1];
        y0[e] = ar + br;
        y0[e + 1] = ai + bi;
        cmul(ar - br, ai - bi, wr, wi, y1 + e);
      }
    }
  }
}

template <bool NEG, bool TW>
inline void borboleta4(std::size_t S, const double* x0, const double* x1, const double* x2,
                       const double* x3, double* y0, const double* w) {
  double* y1 = y0 + S;
  double* y2 = y1 + S;
  double* y3 = y2 + S;
  double w1r = 1, w1i = 0, w2r = 1, w2i = 0, w3r = 1, w3i = 0;
  if constexpr (TW) {
    w1r = w[0], w1i = NEG ? -w[1] : w[1];
    w2r = w[2], w2i = NEG ? -w[3] : w[3];
    w3r = w[4], w3i = NEG ? -w[5] : w[5];
  }
  for (std::size_t e = 0; e < S; e += 2) {
    const double t0r = x0[e] + x2[e], t0i = x0[e + 1] + x2[e + 1];
    const double t1r = x0[e] - x2[e], t1i = x0[e + 1] - x2[e + 1];
    const double t2r = x1[e] + x3[e], t2i = x1[e + 1] + x3[e + 1];
    const double t3r = x1[e] - x3[e], t3i = x1[e + 1] - x3[e + 1];
    // With the positive exponent the quarter turn is +i: output 1 is
    // t1 + i t3 and output 3 is t1 - i t3; the negative one swaps them.
    const double b1r = NEG ? t1r + t3i : t1r - t3i, b1i = NEG ? t1i - t3r : t1i + t3r;
    const double b3r = NEG ? t1r - t3i : t1r + t3i, b3i = NEG ? t1i + t3r : t1i - t3r;
    y0[e] = t0r + t2r;
    y0[e + 1] = t0i + t2i;
    if constexpr (TW) {
      cmul(t0r - t2r, t0i - t2i, w2r, w2i, y2 + e);
      cmul(b1r, b1i, w1r, w1i, y1 + e);
      cmul(b3r, b3i, w3r, w3i, y3 + e);
    } else {
      y2[e] = t0r - t2r;
      y2[e + 1] = t0i - t2i;
      y1[e] = b1r;
      y1[e + 1] = b1i;
      y3[e] = b3r;
      y3[e + 1] = b3i;
    }
  }
}

template <bool NEG>
inline void passo4(int s, int m, const double* tw, const double* x, double* y) {
  const std::size_t S = 2 * std::size_t(s), M = std::size_t(m);
  for (std::size_t j = 0; j < M; ++j) {
    const double* x0 = x + S * j;
    double* y0 = y + S * (4 * j);
    if (j == 0)
      borboleta4<NEG, false>(S, x0, x0 + S * M, x0 + 2 * S * M, x0 + 3 * S * M, y0, nullptr);
    else
      borboleta4<NEG, true>(S, x0, x0 + S * M, x0 + 2 * S * M, x0 + 3 * S * M, y0, tw + 6 * j);
  }
}

// Odd p (P when known at compile time, else p): the outputs k and p - k share
// the sums over the pairs of inputs r and p - r. cs holds cos and sin of
// 2 pi r / p for r = 0 ... p - 1.
template <int P, bool NEG, bool TW>
inline void borboleta_impar(int p_, std::size_t S, std::size_t passo_r, const double* x,
                            double* y, const double* w, const double* cs) {
  const int p = P ? P : p_;
  const int h = (p - 1) / 2;
  double sr[PMAX], si[PMAX], dr[PMAX], di[PMAX];
  for (std::size_t e = 0; e < S; e += 2) {
    const double a0r = x[e], a0i = x[e + 1];
    double b0r = a0r, b0i = a0i;
    for (int r = 1; r <= h; ++r) {
      const double* u = x + passo_r * r + e;
      const double* v = x + passo_r * (p - r) + e;
      sr[r] = u[0] + v[0];
      si[r] = u[1] + v[1];
      dr[r] = u[0] - v[0];
      di[r] = u[1] - v[1];
      b0r += sr[r];
      b0i += si[r];
    }
    y[e] = b0r;
    y[e + 1] = b0i;
    for (int k = 1; k <= h; ++k) {
      double cr = a0r, ci = a0i, tr = 0, ti = 0;
      int rk = 0;
      for (int r = 1; r <= h; ++r) {
        rk += k;
        if (rk >= p) rk -= p;
        const double c = cs[2 * rk], sn = cs[2 * rk + 1];
        cr += sr[r] * c;
        ci += si[r] * c;
        tr += dr[r] * sn;
        ti += di[r] * sn;
      }
      // i (tr + i ti) = -ti + i tr, added to output k with the positive
      // exponent and to output p - k with the negative one.
      double ukr = cr - ti, uki = ci + tr, vkr = cr + ti, vki = ci - tr;
      if constexpr (NEG) {
        std::swap(ukr, vkr);
        std::swap(uki, vki);
      }
      double* yk = y + S * k + e;
      double* yv = y + S * (p - k) + e;
      if constexpr (TW) {
        const double* wk = w + 2 * (k - 1);
        const double* wv = w + 2 * (p - k - 1);
        cmul(ukr, uki, wk[0], NEG ? -wk[1] : wk[1], yk);
        cmul(vkr, vki, wv[0], NEG ? -wv[1] : wv[1], yv);
      } else {
        yk[0] = ukr;
        yk[1] = uki;
        yv[0] = vkr;
        yv[1] = vki;
      }
    }
  }
}

template <int P, bool NEG>
inline void passo_impar(int p_, int s, int m, const double* tw, const double* cs, const double* x,
                        double* y) {
  const int p = P ? P : p_;
  const std::size_t S = 2 * std::size_t(s), M = std::size_t(m);
  for (std::size_t j = 0; j < M; ++j) {
    if (j == 0)
      borboleta_impar<P, NEG, false>(p, S, S * M, x + S * j, y + S * (p * j), nullptr, cs);
    else
      borboleta_impar<P, NEG, true>(p, S, S * M, x + S * j, y + S * (p * j),
                                    tw + 2 * (p - 1) * j, cs);
  }
}

// ---- Plans ----------------------------------------------------------------

struct Passo {
  int p, m, s;
  std::size_t tw;  // offset of its twiddles in Plano::tw
  std::size_t cs;  // offset of its cos/sin table in Plano::tw (odd p)
};

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

// The prime factors of n in the order the passes take them: fours first,
// then a two if the power of two is odd, then the odd primes ascending.
std::vector<int> fatores(int n) {
  std::vector<int> f;
  int e = 0;
  while (n % 2 == 0) {
    n /= 2;
    ++e;
  }
  for (int i = 0; i < e / 2; ++i) f.push_back(4);
  if (e % 2) f.push_back(2);
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
    total += 2 * std::size_t(p - 1) * m + (p % 2 ? 2 * std::size_t(p) : 0);
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
    // the table; the index is formed in 64 bits.
    const std::int64_t passo = nr / L;
    for (int j = 0; j < m; ++j)
      for (int k = 1; k < p; ++k) {
        const std::int64_t idx = (static_cast<std::int64_t>(j) * k % L) * passo;
        t[off++] = roots[2 * idx];
        t[off++] = roots[2 * idx + 1];
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
  for (std::int64_t t = 0; t < n; ++t) {
    const long double ang =
        static_cast<long double>(DOISPI) * static_cast<long double>(t * t % n2) / static_cast<long double>(n2);
    c[2 * t] = static_cast<double>(std::cos(ang));
    c[2 * t + 1] = static_cast<double>(std::sin(ang));
  }
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

template <bool NEG>
void roda_passos(Plano& pl, double* x, double* y) {
  double* src = x;
  double* dst = y;
  const double* t = pl.tw.get();
  for (const Passo& ps : pl.passos) {
    const double* w = t + ps.tw;
    switch (ps.p) {
      case 2: passo2<NEG>(ps.s, ps.m, w, src, dst); break;
      case 3: passo_impar<3, NEG>(3, ps.s, ps.m, w, t + ps.cs, src, dst); break;
      case 4: passo4<NEG>(ps.s, ps.m, w, src, dst); break;
      case 5: passo_impar<5, NEG>(5, ps.s, ps.m, w, t + ps.cs, src, dst); break;
      case 7: passo_impar<7, NEG>(7, ps.s, ps.m, w, t + ps.cs, src, dst); break;
      default: passo_impar<0, NEG>(ps.p, ps.s, ps.m, w, t + ps.cs, src, dst); break;
    }
    std::swap(src, dst);
  }
  if (src != y) std::memcpy(y, src, 2 * sizeof(double) * std::size_t(pl.n));
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
  else if (neg)
    roda_passos<true>(pl, x, y);
  else
    roda_passos<false>(pl, x, y);
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
  auto direta = [&](int k) {
    const long double a = static_cast<long double>(DOISPI) * k / n;
    w[2 * std::size_t(k)] = static_cast<double>(std::cos(a));
    w[2 * std::size_t(k) + 1] = static_cast<double>(std::sin(a));
  };
  // The other roots follow from the first eighth (or half) by symmetry:
  // W[q - k] mirrors W[k] about the diagonal, W[k + q] = i W[k] and
  // W[n - k] = conj W[k], q = n/4.
  const std::size_t N = std::size_t(n);
  if (n % 8 == 0) {
    const std::size_t o = N / 8, q = N / 4;
    for (std::size_t k = 0; k <= o; ++k) direta(int(k));
    for (std::size_t k = o + 1; k <= q; ++k) {
      w[2 * k] = w[2 * (q - k) + 1];
      w[2 * k + 1] = w[2 * (q - k)];
    }
    for (std::size_t k = q + 1; k <= N / 2; ++k) {
      w[2 * k] = -w[2 * (k - q) + 1];
      w[2 * k + 1] = w[2 * (k - q)];
    }
  } else {
    for (std::size_t k = 0; k <= N / 2; ++k) direta(int(k));
  }
  for (std::size_t k = N / 2 + 1; k < N; ++k) {
    w[2 * k] = w[2 * (N - k)];
    w[2 * k + 1] = -w[2 * (N - k) + 1];
  }
}

void transforma(double* x, double* y, int n, bool negativo, const double* roots, int nr) {
  if (n < 1) return;
  executa(plano(n, roots, nr), x, y, negativo);
}

}  // namespace imagorix::detail
