// Drawing primitives: dots, lines, arrows, circles, marks, the two pens and
// the orientation of three points.
#include "draw/desenho.h"

#include <cmath>
#include <cstdlib>

#include "draw/pinta.h"

namespace imagorix {

namespace {

// The pens: plain constants, so that they hold (0, 0) before any code runs.
constinit int pena_l = 0, pena_c = 0;
constinit int penb_x = 0, penb_y = 0;

// The digital line from (a1, b1) to (a2, b2), calling f(a, b) for each point.
// It steps along a when |a2 - a1| > |b2 - b1|, otherwise along b, from the
// endpoint with the smaller coordinate on that axis; the error term moves
// the other coordinate one step toward the far endpoint whenever it reaches
// the length of the walk.
template <class F>
void caminha(long long a1, long long b1, long long a2, long long b2, F f) {
  const long long da = a2 - a1, db = b2 - b1;
  const bool ao_longo_de_a = std::llabs(da) > std::llabs(db);
  // (p, q): coordinate along the walk and across it.
  long long p1 = ao_longo_de_a ? a1 : b1, q1 = ao_longo_de_a ? b1 : a1;
  long long p2 = ao_longo_de_a ? a2 : b2, q2 = ao_longo_de_a ? b2 : a2;
  if (p2 < p1) {
    std::swap(p1, p2);
    std::swap(q1, q2);
  }
  const long long dp = p2 - p1, dq = std::llabs(q2 - q1);
  const long long s = q2 > q1 ? 1 : -1;
  long long q = q1, e = 0;
  for (long long p = p1; p <= p2; ++p) {
    if (ao_longo_de_a) f(p, q); else f(q, p);
    e += 2 * dq;
    if (e >= dp) {
      if (dq != 0) q += s;
      e -= 2 * dp;
    }
  }
}

template <class I, class V>
void linha(I& img, long long l1, long long c1, long long l2, long long c2, V v, int size) {
  caminha(l1, c1, l2, c2, [&](long long l, long long c) { detail::pincel(img, l, c, size, v); });
}

template <class I, class V>
void seta(I& img, int l1, int c1, int l2, int c2, V v) {
  linha(img, l1, c1, l2, c2, v, 1);
  if (l1 == l2 && c1 == c2) return;
  const double pi4 = 0.785398163397448279;
  const double teta = std::atan2(static_cast<double>(l2) - l1, static_cast<double>(c1) - c2);
  for (const double phi : {teta - pi4, teta + pi4}) {
    const long long dl = static_cast<long long>(std::floor(3 * std::sin(phi) + 0.5));
    const long long dc = static_cast<long long>(std::floor(3 * std::cos(phi) + 0.5));
    linha(img, l2, c2, l2 - dl, c2 + dc, v, 1);
  }
}

template <class I, class V>
void circulo(I& img, int l0, int c0, int r, V v, int size) {
  const long long k = static_cast<long long>(std::ceil(r / 1.414213562));
  // Squares of ints up to 2^31 and their sums are exact in long double.
  const long double r2 = static_cast<long double>(r) * r;
  long long c = r;
  for (long long i = 0; i <= k;) {
    const long long pts[8][2] = {{l0 + i, c0 + c}, {l0 - i, c0 + c}, {l0 + i, c0 - c}, {l0 - i, c0 - c},
                                 {l0 + c, c0 + i}, {l0 - c, c0 + i}, {l0 + c, c0 - i}, {l0 - c, c0 - i}};
    for (const auto& p : pts) detail::pincel(img, p[0], p[1], size, v);
    ++i;
    const long double ii = static_cast<long double>(i) * i;
    const long double cm = static_cast<long double>(c - 1) * (c - 1), cc = static_cast<long double>(c) * c;
    if (std::fabs(ii + cm - r2) < std::fabs(ii + cc - r2)) --c;
  }
}

template <class I, class V>
void mais(I& img, long long l, long long c, int n, V v) {
  detail::pinta(img, l, c, v);
  for (long long i = 1; i <= n; ++i) {
    detail::pinta(img, l, c - i, v);
    detail::pinta(img, l, c + i, v);
    detail::pinta(img, l - i, c, v);
    detail::pinta(img, l + i, c, v);
  }
}

template <class I, class V>
void xis(I& img, long long l, long long c, int n, V v) {
  detail::pinta(img, l, c, v);
  for (long long i = 1; i <= n; ++i) {
    detail::pinta(img, l - i, c - i, v);
    detail::pinta(img, l - i, c + i, v);
    detail::pinta(img, l + i, c - i, v);
    detail::pinta(img, l + i, c + i, v);
  }
}

template <class I, class V>
void ate(I& img, int l, int c, V v) {
  linha(img, pena_l, pena_c, l, c, v, 1);
  pena_l = l;
  pena_c = c;
}

// Centred (x, y) is pixel (centre row - y, centre column + x).
template <class I, class V>
void linhac(I& img, int x1, int y1, int x2, int y2, V v) {
  const long long lc = img.lc(), cc = img.cc();
  caminha(y1, x1, y2, x2, [&](long long y, long long x) { detail::pinta(img, lc - y, cc + x, v); });
}

template <class I, class V>
void atec(I& img, int x, int y, V v) {
  linhac(img, penb_x, penb_y, x, y, v);
  penb_x = x;
  penb_y = y;
}

template <class T>
int sinal(T v) {
  return (v > 0) - (v < 0);
}

}  // namespace

void dot(IMGBIN& img, int l, int c, int size, bool v) { detail::pincel(img, l, c, size, v); }
void dot(IMGCOR& img, int l, int c, int size, int v) { detail::pincel(img, l, c, size, v); }

void line(IMGBIN& img, int l1, int c1, int l2, int c2, bool v, int size) { linha(img, l1, c1, l2, c2, v, size); }
void line(IMGGRY& img, int l1, int c1, int l2, int c2, BYTE v, int size) { linha(img, l1, c1, l2, c2, v, size); }
void line(IMGCOR& img, int l1, int c1, int l2, int c2, int v, int size) { linha(img, l1, c1, l2, c2, v, size); }
void line(IMGYUV& img, int l1, int c1, int l2, int c2, int v, int size) { linha(img, l1, c1, l2, c2, v, size); }

void arrow(IMGBIN& img, int l1, int c1, int l2, int c2, bool v) { seta(img, l1, c1, l2, c2, v); }
void arrow(IMGGRY& img, int l1, int c1, int l2, int c2, BYTE v) { seta(img, l1, c1, l2, c2, v); }
void arrow(IMGCOR& img, int l1, int c1, int l2, int c2, int v) { seta(img, l1, c1, l2, c2, v); }

void circle(IMGBIN& img, int l0, int c0, int r, bool v, int size) { circulo(img, l0, c0, r, v, size); }
void circle(IMGGRY& img, int l0, int c0, int r, BYTE v, int size) { circulo(img, l0, c0, r, v, size); }
void circle(IMGCOR& img, int l0, int c0, int r, int v, int size) { circulo(img, l0, c0, r, v, size); }

void plusmark(IMGBIN& img, int l, int c, int n, bool v) { mais(img, l, c, n, v); }
void plusmark(IMGGRY& img, int l, int c, int n, BYTE v) { mais(img, l, c, n, v); }
void plusmark(IMGCOR& img, int l, int c, int n, int v) { mais(img, l, c, n, v); }
void xmark(IMGBIN& img, int l, int c, int n, bool v) { xis(img, l, c, n, v); }
void xmark(IMGGRY& img, int l, int c, int n, BYTE v) { xis(img, l, c, n, v); }
void xmark(IMGCOR& img, int l, int c, int n, int v) { xis(img, l, c, n, v); }

void moveto(int l, int c) {
  pena_l = l;
  pena_c = c;
}
void lineto(IMGBIN& img, int l, int c, bool v) { ate(img, l, c, v); }
void lineto(IMGGRY& img, int l, int c, BYTE v) { ate(img, l, c, v); }
void lineto(IMGCOR& img, int l, int c, int v) { ate(img, l, c, v); }
POSLC canetaA() { return {pena_l, pena_c}; }

void movetoc(int x, int y) {
  penb_x = x;
  penb_y = y;
}
void linetoc(IMGGRY& img, int x, int y, BYTE v) { atec(img, x, y, v); }
void linetoc(IMGCOR& img, int x, int y, int v) { atec(img, x, y, v); }
void linec(IMGGRY& img, int x1, int y1, int x2, int y2, BYTE v) { linhac(img, x1, y1, x2, y2, v); }
void linec(IMGCOR& img, int x1, int y1, int x2, int y2, int v) { linhac(img, x1, y1, x2, y2, v); }
PONTOI2 canetaB() { return {penb_x, penb_y}; }

int orient(const PONTOI2& p1, const PONTOI2& p2, const PONTOI2& p3) {
  // Differences of ints reach 2^32 and their products 2^64: exact in 128 bits.
  __extension__ using I128 = __int128;
  const I128 a = p1.x, b = p1.y, c = p2.x, d = p2.y, e = p3.x, f = p3.y;
  return sinal((a - e) * (d - b) + (f - b) * (c - a));
}

int orient(const PONTO2& p1, const PONTO2& p2, const PONTO2& p3) {
  const long double a = p1.x, b = p1.y, c = p2.x, d = p2.y, e = p3.x, f = p3.y;
  const long double v = (a - e) * (d - b) + (f - b) * (c - a);
  return std::fabs(v) < 1e-20L ? 0 : sinal(v);
}

}  // namespace imagorix
