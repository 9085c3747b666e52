// Point records: PONTO2, PONTO3 and PONTO4 of doubles, PONTOI2, PONTOI3 and
// PONTOI4 of ints, the saturating conversion that builds integer points from
// doubles, and arred. PONTOI4 compares lexicographically; the watermark tool
// keeps its block list as a VETOR of them.
#pragma once
#include <climits>
#include <cmath>
#include <compare>
#include <ostream>

#include "base/erro.h"

namespace imagorix {

// A double as an int, saturating: at or above INT_MAX gives INT_MAX, at or
// below INT_MIN gives INT_MIN, anything else is truncated toward zero. A NaN,
// which has no integer value, gives 0.
constexpr int satura(double x) {
  if (x >= 2147483647.0) return INT_MAX;
  if (x <= -2147483648.0) return INT_MIN;
  if (!(x == x)) return 0;
  return static_cast<int>(x);
}

// floor(x + 0.5) as an int, so halves go up (-2.5 gives -2); saturating
// like satura.
inline int arred(double x) { return satura(std::floor(x + 0.5)); }

struct PONTO2 {
  double x = 0, y = 0;

  PONTO2() = default;
  PONTO2(double x_, double y_) : x(x_), y(y_) {}

  PONTO2& operator+=(const PONTO2& o) { x += o.x; y += o.y; return *this; }
  PONTO2& operator-=(const PONTO2& o) { x -= o.x; y -= o.y; return *this; }
  friend PONTO2 operator+(PONTO2 a, const PONTO2& b) { return a += b; }
  friend PONTO2 operator-(PONTO2 a, const PONTO2& b) { return a -= b; }
  friend PONTO2 operator*(double k, const PONTO2& p) { return {k * p.x, k * p.y}; }
  friend PONTO2 operator/(const PONTO2& p, double k) { return {p.x / k, p.y / k}; }
  friend bool operator==(const PONTO2&, const PONTO2&) = default;
};

struct PONTOI2 {
  int x = 0, y = 0;

  PONTOI2() = default;
  PONTOI2(int x_, int y_) : x(x_), y(y_) {}

  friend bool operator==(const PONTOI2&, const PONTOI2&) = default;
};

struct PONTO3 {
  double v[3] = {0, 0, 0};

  PONTO3() = default;
  PONTO3(double a, double b, double c) : v{a, b, c} {}

  double& operator()(int i) {
    if (static_cast<unsigned>(i) > 2u) erro("Indice invalida PONTO3");
    return v[i];
  }
  double operator()(int i) const { return const_cast<PONTO3&>(*this)(i); }

  friend bool operator==(const PONTO3&, const PONTO3&) = default;
};

struct PONTO4 {
  double v[4] = {0, 0, 0, 0};

  PONTO4() = default;
  PONTO4(double a, double b, double c, double d) : v{a, b, c, d} {}

  friend bool operator==(const PONTO4&, const PONTO4&) = default;
};

struct PONTOI3 {
  int v[3] = {0, 0, 0};

  PONTOI3() = default;
  PONTOI3(int a, int b, int c) : v{a, b, c} {}
  PONTOI3(double a, double b, double c) : v{satura(a), satura(b), satura(c)} {}

  friend bool operator==(const PONTOI3&, const PONTOI3&) = default;
};

struct PONTOI4 {
  int v[4] = {0, 0, 0, 0};

  PONTOI4() = default;
  PONTOI4(int a, int b, int c, int d) : v{a, b, c, d} {}
  PONTOI4(double a, double b, double c, double d)
      : v{satura(a), satura(b), satura(c), satura(d)} {}

  int& operator()(int i) {
    if (static_cast<unsigned>(i) > 3u) erro("Indice invalida PONTOI4");
    return v[i];
  }
  int operator()(int i) const { return const_cast<PONTOI4&>(*this)(i); }

  friend auto operator<=>(const PONTOI4&, const PONTOI4&) = default;
};

// "[" then the coordinates separated by one blank, then "]", in the stream's
// current formatting; no line end.
namespace detail {
template <class T>
std::ostream& imprime(std::ostream& os, const T* v, int n) {
  os << '[';
  for (int i = 0; i < n; ++i) {
    if (i) os << ' ';
    os << v[i];
  }
  return os << ']';
}
}  // namespace detail

inline std::ostream& operator<<(std::ostream& os, const PONTO2& p) {
  const double v[2] = {p.x, p.y};
  return detail::imprime(os, v, 2);
}
inline std::ostream& operator<<(std::ostream& os, const PONTOI2& p) {
  const int v[2] = {p.x, p.y};
  return detail::imprime(os, v, 2);
}
inline std::ostream& operator<<(std::ostream& os, const PONTO3& p) { return detail::imprime(os, p.v, 3); }
inline std::ostream& operator<<(std::ostream& os, const PONTO4& p) { return detail::imprime(os, p.v, 4); }
inline std::ostream& operator<<(std::ostream& os, const PONTOI3& p) { return detail::imprime(os, p.v, 3); }
inline std::ostream& operator<<(std::ostream& os, const PONTOI4& p) { return detail::imprime(os, p.v, 4); }

}  // namespace imagorix
