// Pixel conversion rules between the image classes.
//
// PIXCONV<To, From> exists (existe == true) exactly for the pairs of classes
// that convert into each other; the binary pixel is bool. The image classes
// offer converting constructors and assignments only where it exists, so an
// unsupported pair does not compile. The same rule converts the background.
#pragma once
#include <cmath>

#include "base/types.h"
#include "image/cor.h"

namespace imagorix::detail {

template <class To, class From>
struct PIXCONV {
  static constexpr bool existe = false;
};

// Real to grey: below 0 black, above 1 white, otherwise value * 255
// truncated, in the real's own precision (so k / 255 comes back as k).
// A NaN has no grey level; it becomes 0 instead of an undefined cast.
template <class T>
inline BYTE cinza_de_real(T v) {
  if (!(v >= T(0))) return 0;
  if (v > T(1)) return 255;
  return static_cast<BYTE>(v * T(255));
}

// Modulus of a complex pixel without overflow in the squares.
inline double modulo(CPXF v) {
  const double re = std::fabs(double(v.real())), im = std::fabs(double(v.imag()));
  const double m = re > im ? re : im;
  if (m == 0) return 0;
  const double a = re / m, b = im / m;
  return m * std::sqrt(a * a + b * b);
}

inline int soma(COR v) { return int(v.r) + int(v.g) + int(v.b); }

template <class To, class From>
struct REGRA {
  static constexpr bool existe = true;
};

// Binary targets.
template <> struct PIXCONV<bool, BYTE> : REGRA<bool, BYTE> {
  static bool f(BYTE v) { return v >= 128; }
};
template <> struct PIXCONV<bool, COR> : REGRA<bool, COR> {
  static bool f(COR v) { return soma(v) > 382; }
};
template <> struct PIXCONV<bool, FLT> : REGRA<bool, FLT> {
  static bool f(FLT v) { return !(v < 0.5f); }  // 0.5 and NaN are white
};
template <> struct PIXCONV<bool, CPXF> : REGRA<bool, CPXF> {
  static bool f(CPXF v) { return !(modulo(v) < 0.5); }
};

// Grey targets.
template <> struct PIXCONV<BYTE, bool> : REGRA<BYTE, bool> {
  static BYTE f(bool v) { return v ? 255 : 0; }
};
template <> struct PIXCONV<BYTE, COR> : REGRA<BYTE, COR> {
  static BYTE f(COR v) { return static_cast<BYTE>((soma(v) + 1) / 3); }
};
template <> struct PIXCONV<BYTE, SHT> : REGRA<BYTE, SHT> {
  static BYTE f(SHT v) { return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v)); }
};
template <> struct PIXCONV<BYTE, FLT> : REGRA<BYTE, FLT> {
  static BYTE f(FLT v) { return cinza_de_real(v); }
};
template <> struct PIXCONV<BYTE, double> : REGRA<BYTE, double> {
  static BYTE f(double v) { return cinza_de_real(v); }
};

// Colour targets.
template <> struct PIXCONV<COR, BYTE> : REGRA<COR, BYTE> {
  static COR f(BYTE v) { return COR{v, v, v}; }
};
template <> struct PIXCONV<COR, bool> : REGRA<COR, bool> {
  static COR f(bool v) { return v ? COR{255, 255, 255} : COR{0, 0, 0}; }
};
template <> struct PIXCONV<COR, FLT> : REGRA<COR, FLT> {
  static COR f(FLT v) {
    const BYTE g = cinza_de_real(v);
    return COR{g, g, g};
  }
};

// Short target.
template <> struct PIXCONV<SHT, BYTE> : REGRA<SHT, BYTE> {
  static SHT f(BYTE v) { return v; }
};

// Real targets.
template <> struct PIXCONV<FLT, BYTE> : REGRA<FLT, BYTE> {
  static FLT f(BYTE v) { return FLT(v) / 255.0f; }
};
template <> struct PIXCONV<FLT, COR> : REGRA<FLT, COR> {
  static FLT f(COR v) { return FLT(soma(v)) / 765.0f; }
};
template <> struct PIXCONV<FLT, bool> : REGRA<FLT, bool> {
  static FLT f(bool v) { return v ? 1.0f : 0.0f; }
};
template <> struct PIXCONV<FLT, double> : REGRA<FLT, double> {
  static FLT f(double v) { return static_cast<FLT>(v); }
};
template <> struct PIXCONV<double, BYTE> : REGRA<double, BYTE> {
  static double f(BYTE v) { return v / 255.0; }
};
template <> struct PIXCONV<double, COR> : REGRA<double, COR> {
  static double f(COR v) { return soma(v) / 765.0; }
};
template <> struct PIXCONV<double, bool> : REGRA<double, bool> {
  static double f(bool v) { return v ? 1.0 : 0.0; }
};
template <> struct PIXCONV<double, FLT> : REGRA<double, FLT> {
  static double f(FLT v) { return v; }
};

// Complex targets: real part by the real rule, imaginary part 0.
template <> struct PIXCONV<CPXF, FLT> : REGRA<CPXF, FLT> {
  static CPXF f(FLT v) { return CPXF(v, 0.0f); }
};
template <> struct PIXCONV<CPXF, BYTE> : REGRA<CPXF, BYTE> {
  static CPXF f(BYTE v) { return CPXF(PIXCONV<FLT, BYTE>::f(v), 0.0f); }
};
template <> struct PIXCONV<CPXF, COR> : REGRA<CPXF, COR> {
  static CPXF f(COR v) { return CPXF(PIXCONV<FLT, COR>::f(v), 0.0f); }
};
template <> struct PIXCONV<CPXF, bool> : REGRA<CPXF, bool> {
  static CPXF f(bool v) { return CPXF(v ? 1.0f : 0.0f, 0.0f); }
};

}  // namespace imagorix::detail
