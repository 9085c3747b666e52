// The passes of the transform engine, over a vector type V of one or two
// complex numbers; included by the engine (one complex number a vector) and
// by its build for processors with wider vectors (two). Everything here has
// internal linkage, so that the two builds never share a function.
#pragma once
#include <cstddef>

#ifndef IMAGORIX_FFT_PMAX
#define IMAGORIX_FFT_PMAX 61
#endif

namespace imagorix::detail {

// A pass of a plan: factor p, over s sequences of length p m (see
// fftmotor.cpp).
struct Passo {
  int p, m, s;
  std::size_t tw;  // offset of its twiddles in the plan's table
  std::size_t cs;  // offset of its cos/sin table (odd p)
};

namespace {

constexpr int PMAX = IMAGORIX_FFT_PMAX;

// V holds one complex number (C2: real part, imaginary part) or two (C4) in
// a vector register; the compilers lower them to scalar code where there are
// none. Loads and stores go through memcpy, so the numbers may sit at any
// double boundary. Op<V> gives loads, stores, the quarter turns and the
// pieces of a product.
typedef double C2 __attribute__((vector_size(16)));
#ifdef IMAGORIX_FFT_C4
typedef double C4 __attribute__((vector_size(32)));
#endif

template <class V>
struct Op;

template <>
struct Op<C2> {
  static constexpr std::size_t D = 2;  // doubles per vector
  static C2 ld(const double* p) {
    C2 v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(double* p, C2 v) { __builtin_memcpy(p, &v, sizeof v); }
  static C2 i(C2 z) { return C2{-z[1], z[0]}; }
  static C2 menos_i(C2 z) { return C2{z[1], -z[0]}; }
  static C2 re(C2 z) { return C2{z[0], z[0]}; }
  static C2 im(C2 z) { return C2{z[1], z[1]}; }
  // One complex number p[0], p[1] in every lane.
  static C2 dup(const double* p) { return ld(p); }
  static C2 sinais(double a, double b) { return C2{a, b}; }
};

#ifdef IMAGORIX_FFT_C4
template <>
struct Op<C4> {
  static constexpr std::size_t D = 4;
  static C4 ld(const double* p) {
    C4 v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(double* p, C4 v) { __builtin_memcpy(p, &v, sizeof v); }
  static C4 i(C4 z) { return C4{-z[1], z[0], -z[3], z[2]}; }
  static C4 menos_i(C4 z) { return C4{z[1], -z[0], z[3], -z[2]}; }
  static C4 re(C4 z) { return C4{z[0], z[0], z[2], z[2]}; }
  static C4 im(C4 z) { return C4{z[1], z[1], z[3], z[3]}; }
  static C4 dup(const double* p) { return C4{p[0], p[1], p[0], p[1]}; }
  static C4 sinais(double a, double b) { return C4{a, b, a, b}; }
};
#endif

// A twiddle w ready to multiply: w and i w, so that z w = re(z) w + im(z) i w.
// The plans store their twiddles so, four doubles each; the negative
// exponent takes conj(w) and i conj(w) from them by two sign changes.
template <class V>
struct Giro {
  V w, iw;
  Giro() = default;
  Giro(const double* p, bool conj) {
    w = Op<V>::dup(p);
    iw = Op<V>::dup(p + 2);
    if (conj) {
      w *= Op<V>::sinais(1, -1);
      iw *= Op<V>::sinais(-1, 1);
    }
  }
  V operator()(V z) const { return Op<V>::re(z) * w + Op<V>::im(z) * iw; }
};

// ---- Passes ---------------------------------------------------------------
// x holds p * m rows of s complex elements; rows j + r m (r = 0 ... p - 1)
// feed output rows p j + k of y. Row j = 0 has no twiddles. The twiddles of
// row j > 0 are entry j (p - 1) + k - 1 of tw (as Giro reads them), conjugated
// for the negative exponent.

template <class V, bool NEG>
inline void passo2(int s, int m, const double* tw, const double* x, double* y) {
  const std::size_t S = 2 * std::size_t(s);
  for (std::size_t j = 0; j < std::size_t(m); ++j) {
    const double* x0 = x + S * j;
    const double* x1 = x0 + S * std::size_t(m);
    double* y0 = y + S * (2 * j);
    double* y1 = y0 + S;
    if (j == 0) {
      for (std::size_t e = 0; e < S; e += Op<V>::D) {
        const V a = Op<V>::ld(x0 + e), b = Op<V>::ld(x1 + e);
        Op<V>::st(y0 + e, a + b);
        Op<V>::st(y1 + e, a - b);
      }
    } else {
      const Giro<V> w(tw + 4 * j, NEG);
      for (std::size_t e = 0; e < S; e += Op<V>::D) {
        const V a = Op<V>::ld(x0 + e), b = Op<V>::ld(x1 + e);
        Op<V>::st(y0 + e, a + b);
        Op<V>::st(y1 + e, w(a - b));
      }
    }
  }
}

template <class V, bool NEG, bool TW>
inline void borboleta4(std::size_t S, std::size_t SM, const double* x0, double* y0, const Giro<V>* w) {
  const double* x1 = x0 + SM;
  const double* x2 = x1 + SM;
  const double* x3 = x2 + SM;
  double* y1 = y0 + S;
  double* y2 = y1 + S;
  double* y3 = y2 + S;
  for (std::size_t e = 0; e < S; e += Op<V>::D) {
    const V a0 = Op<V>::ld(x0 + e), a1 = Op<V>::ld(x1 + e), a2 = Op<V>::ld(x2 + e), a3 = Op<V>::ld(x3 + e);
    const V t0 = a0 + a2, t1 = a0 - a2, t2 = a1 + a3;
    // The quarter turn is +i with the positive exponent, -i with the negative.
    const V t3 = NEG ? Op<V>::menos_i(a1 - a3) : Op<V>::i(a1 - a3);
    Op<V>::st(y0 + e, t0 + t2);
    if constexpr (TW) {
      Op<V>::st(y1 + e, w[0](t1 + t3));
      Op<V>::st(y2 + e, w[1](t0 - t2));
      Op<V>::st(y3 + e, w[2](t1 - t3));
    } else {
      Op<V>::st(y1 + e, t1 + t3);
      Op<V>::st(y2 + e, t0 - t2);
      Op<V>::st(y3 + e, t1 - t3);
    }
  }
}

template <class V, bool NEG>
inline void passo4(int s, int m, const double* tw, const double* x, double* y) {
  const std::size_t S = 2 * std::size_t(s), SM = S * std::size_t(m);
  borboleta4<V, NEG, false>(S, SM, x, y, nullptr);
  for (std::size_t j = 1; j < std::size_t(m); ++j) {
    const Giro<V> w[3] = {Giro<V>(tw + 12 * j, NEG), Giro<V>(tw + 12 * j + 4, NEG), Giro<V>(tw + 12 * j + 8, NEG)};
    borboleta4<V, NEG, true>(S, SM, x + S * j, y + S * (4 * j), w);
  }
}

// Eight: a step of two across the halves, the odd half turned by the eighth
// roots, then a four-point transform of each half (the even outputs from the
// first, the odd ones from the second).
template <class V, bool NEG>
inline V giro4(V z) {
  return NEG ? Op<V>::menos_i(z) : Op<V>::i(z);
}

template <class V, bool NEG, bool TW>
inline void borboleta8(std::size_t S, std::size_t SM, const double* x, double* y, const Giro<V>* w) {
  constexpr double R = 0.70710678118654752440;
  for (std::size_t e = 0; e < S; e += Op<V>::D) {
    V a[8];
    for (int r = 0; r < 8; ++r) a[r] = Op<V>::ld(x + SM * r + e);
    const V u0 = a[0] + a[4], u1 = a[1] + a[5], u2 = a[2] + a[6], u3 = a[3] + a[7];
    const V d1 = a[1] - a[5], d3 = a[3] - a[7];
    const V v0 = a[0] - a[4];
    const V v1 = R * (d1 + giro4<V, NEG>(d1));
    const V v2 = giro4<V, NEG>(a[2] - a[6]);
    const V v3 = R * (giro4<V, NEG>(d3) - d3);
    V b[8];
    {
      const V t0 = u0 + u2, t1 = u0 - u2, t2 = u1 + u3, t3 = giro4<V, NEG>(u1 - u3);
      b[0] = t0 + t2;
      b[2] = t1 + t3;
      b[4] = t0 - t2;
      b[6] = t1 - t3;
    }
    {
      const V t0 = v0 + v2, t1 = v0 - v2, t2 = v1 + v3, t3 = giro4<V, NEG>(v1 - v3);
      b[1] = t0 + t2;
      b[3] = t1 + t3;
      b[5] = t0 - t2;
      b[7] = t1 - t3;
    }
    Op<V>::st(y + e, b[0]);
    for (int k = 1; k < 8; ++k) {
      if constexpr (TW)
        Op<V>::st(y + S * k + e, w[k - 1](b[k]));
      else
        Op<V>::st(y + S * k + e, b[k]);
    }
  }
}

template <class V, bool NEG>
inline void passo8(int s, int m, const double* tw, const double* x, double* y) {
  const std::size_t S = 2 * std::size_t(s), SM = S * std::size_t(m);
  borboleta8<V, NEG, false>(S, SM, x, y, nullptr);
  for (std::size_t j = 1; j < std::size_t(m); ++j) {
    Giro<V> w[7];
    for (int k = 0; k < 7; ++k) w[k] = Giro<V>(tw + 4 * (7 * j + k), NEG);
    borboleta8<V, NEG, true>(S, SM, x + S * j, y + S * (8 * j), w);
  }
}

// Odd p (P when known at compile time, else p): the outputs k and p - k share
// the sums over the pairs of inputs r and p - r. cs holds cos and sin of
// 2 pi r / p for r = 0 ... p - 1.
template <class V, int P, bool NEG, bool TW>
inline void borboleta_impar(int p_, std::size_t S, std::size_t SM, const double* x, double* y,
                            const double* tw, const double* cs) {
  const int p = P ? P : p_;
  const int h = (p - 1) / 2;
  V soma[PMAX / 2 + 1], dif[PMAX / 2 + 1];
  Giro<V> w[PMAX];
  if constexpr (TW)
    for (int k = 1; k < p; ++k) w[k] = Giro<V>(tw + 4 * (k - 1), NEG);
  for (std::size_t e = 0; e < S; e += Op<V>::D) {
    const V a0 = Op<V>::ld(x + e);
    V b0 = a0;
    for (int r = 1; r <= h; ++r) {
      const V u = Op<V>::ld(x + SM * r + e), v = Op<V>::ld(x + SM * (p - r) + e);
      soma[r] = u + v;
      dif[r] = u - v;
      b0 += soma[r];
    }
    Op<V>::st(y + e, b0);
    for (int k = 1; k <= h; ++k) {
      V c = a0, t = V{};
      int rk = 0;
      for (int r = 1; r <= h; ++r) {
        rk += k;
        if (rk >= p) rk -= p;
        c += soma[r] * cs[2 * rk];
        t += dif[r] * cs[2 * rk + 1];
      }
      // Output k takes + i t with the positive exponent, output p - k - i t;
      // the negative exponent swaps them.
      const V it = Op<V>::i(t);
      const V uk = NEG ? c - it : c + it, vk = NEG ? c + it : c - it;
      if constexpr (TW) {
        Op<V>::st(y + S * k + e, w[k](uk));
        Op<V>::st(y + S * (p - k) + e, w[p - k](vk));
      } else {
        Op<V>::st(y + S * k + e, uk);
        Op<V>::st(y + S * (p - k) + e, vk);
      }
    }
  }
}

// Three: the sums of the general odd case with cos = -1/2, sin = sqrt(3)/2.
template <class V, bool NEG, bool TW>
inline void borboleta3(std::size_t S, std::size_t SM, const double* x, double* y, const Giro<V>* w) {
  constexpr double S3 = 0.86602540378443864676;
  for (std::size_t e = 0; e < S; e += Op<V>::D) {
    const V a0 = Op<V>::ld(x + e), a1 = Op<V>::ld(x + SM + e), a2 = Op<V>::ld(x + 2 * SM + e);
    const V soma = a1 + a2;
    const V c = a0 - 0.5 * soma;
    const V it = Op<V>::i(S3 * (a1 - a2));
    const V u = NEG ? c - it : c + it, v = NEG ? c + it : c - it;
    Op<V>::st(y + e, a0 + soma);
    if constexpr (TW) {
      Op<V>::st(y + S + e, w[0](u));
      Op<V>::st(y + 2 * S + e, w[1](v));
    } else {
      Op<V>::st(y + S + e, u);
      Op<V>::st(y + 2 * S + e, v);
    }
  }
}

template <class V, bool NEG>
inline void passo3(int s, int m, const double* tw, const double* x, double* y) {
  const std::size_t S = 2 * std::size_t(s), SM = S * std::size_t(m);
  borboleta3<V, NEG, false>(S, SM, x, y, nullptr);
  for (std::size_t j = 1; j < std::size_t(m); ++j) {
    const Giro<V> w[2] = {Giro<V>(tw + 8 * j, NEG), Giro<V>(tw + 8 * j + 4, NEG)};
    borboleta3<V, NEG, true>(S, SM, x + S * j, y + S * (3 * j), w);
  }
}

template <class V, int P, bool NEG>
inline void passo_impar(int p_, int s, int m, const double* tw, const double* cs, const double* x,
                        double* y) {
  const int p = P ? P : p_;
  const std::size_t S = 2 * std::size_t(s), SM = S * std::size_t(m);
  borboleta_impar<V, P, NEG, false>(p, S, SM, x, y, nullptr, cs);
  for (std::size_t j = 1; j < std::size_t(m); ++j)
    borboleta_impar<V, P, NEG, true>(p, S, SM, x + S * j, y + S * (p * j), tw + 4 * (p - 1) * j, cs);
}


// The passes of a plan, from x to y (x overwritten; the output may land in
// x, which the return value says). Passes whose rows hold a whole number of
// vectors of V run on V, the others on C2.
template <class V, bool NEG>
bool roda(const Passo* ps, int np, const double* t, double* x, double* y) {
  double* src = x;
  double* dst = y;
  for (int i = 0; i < np; ++i) {
    const Passo& p = ps[i];
    const double* w = t + p.tw;
    const bool largo = (2 * std::size_t(p.s)) % Op<V>::D == 0;
    switch (p.p) {
      case 2: largo ? passo2<V, NEG>(p.s, p.m, w, src, dst) : passo2<C2, NEG>(p.s, p.m, w, src, dst); break;
      case 3: largo ? passo3<V, NEG>(p.s, p.m, w, src, dst) : passo3<C2, NEG>(p.s, p.m, w, src, dst); break;
      case 4: largo ? passo4<V, NEG>(p.s, p.m, w, src, dst) : passo4<C2, NEG>(p.s, p.m, w, src, dst); break;
      case 8: largo ? passo8<V, NEG>(p.s, p.m, w, src, dst) : passo8<C2, NEG>(p.s, p.m, w, src, dst); break;
      case 5:
        largo ? passo_impar<V, 5, NEG>(5, p.s, p.m, w, t + p.cs, src, dst)
              : passo_impar<C2, 5, NEG>(5, p.s, p.m, w, t + p.cs, src, dst);
        break;
      case 7:
        largo ? passo_impar<V, 7, NEG>(7, p.s, p.m, w, t + p.cs, src, dst)
              : passo_impar<C2, 7, NEG>(7, p.s, p.m, w, t + p.cs, src, dst);
        break;
      default:
        largo ? passo_impar<V, 0, NEG>(p.p, p.s, p.m, w, t + p.cs, src, dst)
              : passo_impar<C2, 0, NEG>(p.p, p.s, p.m, w, t + p.cs, src, dst);
        break;
    }
    double* tmp = src;
    src = dst;
    dst = tmp;
  }
  return src == y;
}

}  // namespace

// The build for wider vectors, where the processor has them: returns whether
// the output landed in y, as roda does.
bool roda_largo(const Passo* ps, int np, const double* t, double* x, double* y, bool neg);
// Whether this processor runs roda_largo (false where it is not built).
bool tem_largo();

}  // namespace imagorix::detail
