#include "image/img.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>
#include <type_traits>
#include <vector>

#include "image/imgbin.h"
#include "image/imgyuv.h"

using namespace imagorix;

namespace {

template <class P>
std::vector<P> pixels(const IMG<P>& im) {
  return std::vector<P>(im.data(), im.data() + (im.data() ? im.n() : 0));
}

// Converts src into To through the constructor and through an assignment to
// an image of another size, checks both give `want`, and returns the
// constructed image for further checks.
template <class To, class From>
To converte(const From& src, const std::vector<typename To::pixel>& want) {
  To a(src);
  To b(2, 5);
  b = src;
  EXPECT_EQ(pixels(a), want);
  EXPECT_EQ(pixels(b), want);
  EXPECT_EQ(b.nl(), src.nl());
  EXPECT_EQ(b.nc(), src.nc());
  return a;
}

}  // namespace

TEST(Img, PixelTypesAndSizes) {
  EXPECT_EQ(sizeof(COR), 3u);
  struct Caso { int nl, nc, n, lc, cc; bool storage; };
  const Caso casos[] = {
      {0, 0, 0, 0, 0, false},
      {4, 7, 28, 1, 3, true},
      {1, 1, 1, 0, 0, true},
      {-4, 3, -12, -2, 1, false},
      {3, -1, -3, 1, -1, false},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(testing::Message() << k.nl << "x" << k.nc);
    const IMGSHT s(k.nl, k.nc);
    EXPECT_EQ(s.nl(), k.nl);
    EXPECT_EQ(s.nc(), k.nc);
    EXPECT_EQ(s.n(), k.n);
    EXPECT_EQ(s.lc(), k.lc);
    EXPECT_EQ(s.cc(), k.cc);
    EXPECT_EQ(s.data() != nullptr, k.storage);
  }
  const IMGCOR c(2, 3);
  EXPECT_EQ(reinterpret_cast<const BYTE*>(c.row(1)) - reinterpret_cast<const BYTE*>(c.data()), 9);
  EXPECT_EQ(c.fundo(), (COR{0, 0, 0}));
  const IMGCPX z(2, 2);
  EXPECT_EQ(pixels(z), std::vector<CPXF>(4, CPXF(0, 0)));
}

TEST(Img, ValueAndListConstructors) {
  const IMGCOR c(1, 2, 0x030201);
  EXPECT_EQ(pixels(c), std::vector<COR>(2, COR{1, 2, 3}));
  EXPECT_EQ(c.fundo(), (COR{0, 0, 0}));
  const IMGCPX z(2, 1, 1.5f, -2.0f);
  EXPECT_EQ(pixels(z), std::vector<CPXF>(2, CPXF(1.5f, -2.0f)));
  const IMGGRY g(2, 2, 200);
  EXPECT_EQ(pixels(g), std::vector<BYTE>(4, 200));
  EXPECT_EQ(g.fundo(), 0);

  const IMGCOR cl(1, 2, {10, 20, 30, 40, 50, 60});
  EXPECT_EQ(pixels(cl), (std::vector<COR>{{10, 20, 30}, {40, 50, 60}}));
  const IMGCPX zl(1, 2, {1, 2, 3.5, -4});
  EXPECT_EQ(pixels(zl), (std::vector<CPXF>{{1, 2}, {3.5f, -4}}));
  const IMGSHT sl(2, 1, {-300, 32767});
  EXPECT_EQ(sl(0, 0), -300);
  EXPECT_EQ(sl(1, 0), 32767);
  const IMGDBL dl(1, 2, {0.1, 2});
  EXPECT_EQ(dl(0, 0), 0.1);

  EXPECT_EXIT(IMGCOR(1, 2, {1, 2, 3, 4, 5}), testing::ExitedWithCode(1),
              "^Erro IMGCOR::IMGCOR - Numero de valores invalido \n$");
  EXPECT_EXIT(IMGFLT(2, 2, {1.0, 2.0}), testing::ExitedWithCode(1),
              "^Erro IMGFLT::IMGFLT - Numero de valores invalido \n$");
}

TEST(Img, SizesThatOverflowEndWithTheAllocationMessage) {
  const auto codigo = testing::ExitedWithCode(1);
  EXPECT_EXIT(IMGGRY(65536, 65536), codigo, "^Erro IMGGRY::aloca - Falta memoria \n$");
  EXPECT_EXIT(IMGCOR(70000, -70000), codigo, "^Erro IMGCOR::aloca - Falta memoria \n$");
  EXPECT_EXIT(IMGSHT(INT_MAX, 2), codigo, "^Erro IMGSHT::aloca - Falta memoria \n$");
  EXPECT_EXIT(IMGFLT(INT_MIN, INT_MIN), codigo, "^Erro IMGFLT::aloca - Falta memoria \n$");
  EXPECT_EXIT(IMGDBL(46341, 46341), codigo, "^Erro IMGDBL::aloca - Falta memoria \n$");
  IMGCPX z(2, 2);
  EXPECT_EXIT(z.resize(1 << 16, 1 << 15), codigo, "^Erro IMGCPX::aloca - Falta memoria \n$");
}

TEST(Img, AccessModes) {
  IMGGRY g(10, 10);
  for (int l = 0; l < 10; ++l)
    for (int c = 0; c < 10; ++c) g(l, c) = static_cast<BYTE>(10 * l + c);
  g.fundo() = 200;
  ASSERT_EQ(g.lc(), 4);
  ASSERT_EQ(g.cc(), 4);

  struct Caso { int l, c; char modo; int want; };
  const Caso casos[] = {
      {3, 7, 'n', 37}, {10, 0, 'n', 200}, {-1, 5, 0, 200},
      {-5, 100, 'x', 9}, {12, -3, 1, 90},
      {2, 3, 'e', 23}, {9, 9, 2, 99},
      {-1, -1, 'r', 99}, {23, 10, 3, 30}, {INT_MIN, INT_MIN, 'r', 22},
      {1, -4, 'c', 50}, {6, 0, 4, 200}, {INT_MAX, INT_MAX, 'c', 200},
      {6, 0, 's', 4}, {-5, -5, 5, 99},
      {0, 0, 'N', 90}, {3, 9, 10, 3}, {0, 10, 'N', 200}, {0, INT_MIN, 'N', 200},
      {1, 1, 'X', 35}, {100, -100, 11, 99}, {INT_MIN, INT_MAX, 'X', 0},
      {1, 1, 'C', 35}, {0, 5, 14, 200}, {-4, -5, 'C', 90},
  };
  for (const Caso& k : casos) {
    SCOPED_TRACE(testing::Message() << "(" << k.l << ", " << k.c << ", " << int(k.modo) << ")");
    EXPECT_EQ(g(k.l, k.c, k.modo), k.want);
    const IMGGRY& cg = g;
    EXPECT_EQ(cg(k.l, k.c, k.modo), k.want);
  }

  // A store outside changes the background and no pixel.
  const IMGGRY antes(g);
  g(10, 0) = 7;
  g(0, 5, 'C') = 8;  // row -1
  EXPECT_EQ(g.fundo(), 8);
  EXPECT_EQ(pixels(g), pixels(antes));
  g(0, 0, 'N') = 250;
  EXPECT_EQ(g(9, 0), 250);

  // The modes that always find a pixel have none in an empty image.
  IMGFLT vazia;
  vazia.fundo() = 0.25f;
  for (char m : {'x', 'r', 's', 'X', 'n'}) EXPECT_EQ(vazia(0, 0, m), 0.25f) << m;

  EXPECT_EXIT(g(10, 0, 'e'), testing::ExitedWithCode(1), "^Indice invalido \n$");
  EXPECT_EXIT(vazia(0, 0, 'e'), testing::ExitedWithCode(1), "^Indice invalido \n$");
  EXPECT_EXIT(g(0, 0, 'E'), testing::ExitedWithCode(1), "^Erro: Modo de acesso invalido \n$");
  EXPECT_EXIT(g(0, 0, 12), testing::ExitedWithCode(1), "^Erro: Modo de acesso invalido \n$");
}

TEST(Img, CopyAssignmentAndResize) {
  IMGCOR a(2, 3, 0x102030);
  a(1, 2) = COR{1, 2, 3};
  a.fundo() = COR{9, 9, 9};
  a.lc() = -1;
  a.cc() = 5;

  IMGCOR b(a);
  b(0, 0) = COR{0, 0, 0};
  EXPECT_EQ(a(0, 0), (COR{0x30, 0x20, 0x10}));
  EXPECT_EQ(b(1, 2), (COR{1, 2, 3}));
  EXPECT_EQ(b.fundo(), (COR{9, 9, 9}));
  EXPECT_EQ(b.lc(), -1);
  EXPECT_EQ(b.cc(), 5);

  IMGCOR c(2, 3);
  const COR* bloco = c.data();
  c = a;
  EXPECT_EQ(c.data(), bloco);  // same size: storage reused
  EXPECT_EQ(pixels(c), pixels(a));
  EXPECT_EQ(c.cc(), 5);
  EXPECT_EQ(c.fundo(), (COR{9, 9, 9}));

  IMGCOR& mesmo = c;
  c = mesmo;
  EXPECT_EQ(pixels(c), pixels(a));
  EXPECT_EQ(c.lc(), -1);

  IMGCOR d(7, 7);
  d = a;
  EXPECT_EQ(d.nl(), 2);
  EXPECT_EQ(pixels(d), pixels(a));

  IMGCOR e(std::move(d));
  EXPECT_EQ(pixels(e), pixels(a));
  EXPECT_EQ(d.data(), nullptr);
  EXPECT_EQ(d.nl(), 0);
  d = std::move(e);
  EXPECT_EQ(pixels(d), pixels(a));
  EXPECT_EQ(e.n(), 0);

  d.resize(2, 3);
  EXPECT_EQ(d.lc(), -1);
  EXPECT_EQ(d.fundo(), (COR{9, 9, 9}));
  EXPECT_EQ(pixels(d), pixels(a));
  d.resize(3, 2);
  EXPECT_EQ(d.lc(), 1);
  EXPECT_EQ(d.cc(), 0);
  EXPECT_EQ(d.fundo(), (COR{0, 0, 0}));
}

// Every ordered pair of classes converts exactly when the table lists it, and
// never implicitly.
namespace {

using Classes = std::tuple<IMGBIN, IMGGRY, IMGCOR, IMGSHT, IMGFLT, IMGDBL, IMGCPX>;
// Row: target; column: source, in the order of Classes.
constexpr bool kPares[7][7] = {
    // BIN GRY COR SHT FLT DBL CPX
    {0, 1, 1, 0, 1, 0, 1},  // IMGBIN
    {1, 0, 1, 1, 1, 1, 0},  // IMGGRY
    {1, 1, 0, 0, 1, 0, 0},  // IMGCOR
    {0, 1, 0, 0, 0, 0, 0},  // IMGSHT
    {1, 1, 1, 0, 0, 1, 0},  // IMGFLT
    {1, 1, 1, 0, 1, 0, 0},  // IMGDBL
    {1, 1, 1, 0, 1, 0, 0},  // IMGCPX
};

template <std::size_t I, std::size_t J>
constexpr bool par_certo() {
  using To = std::tuple_element_t<I, Classes>;
  using From = std::tuple_element_t<J, Classes>;
  if constexpr (I == J) {
    return std::is_copy_constructible_v<To> && std::is_copy_assignable_v<To>;
  } else {
    return std::is_constructible_v<To, const From&> == kPares[I][J] &&
           std::is_assignable_v<To&, const From&> == kPares[I][J] &&
           !std::is_convertible_v<const From&, To>;
  }
}

template <std::size_t... K>
constexpr bool todos_os_pares(std::index_sequence<K...>) {
  return (par_certo<K / 7, K % 7>() && ...);
}

static_assert(todos_os_pares(std::make_index_sequence<49>{}));
static_assert(!std::is_constructible_v<IMGBIN, IMGSHT>);
static_assert(!std::is_constructible_v<IMGCOR, IMGDBL>);
static_assert(!std::is_assignable_v<IMGSHT&, IMGBIN>);

}  // namespace

TEST(Img, ConversionPairs) { EXPECT_TRUE(todos_os_pares(std::make_index_sequence<49>{})); }

// Conversion rules, boundary values first. Each goes through both the
// constructor and the assignment (see converte above).
TEST(ImgConv, GreyFromOtherClasses) {
  IMGBIN b(1, 2, {1, 0});
  b.fundo() = 0;
  EXPECT_EQ(converte<IMGGRY>(b, {255, 0}).fundo(), 0);

  IMGCOR c(1, 5, {0, 0, 1, 1, 1, 0, 255, 255, 255, 2, 2, 1, 100, 0, 0});
  c.fundo() = COR{1, 1, 0};
  EXPECT_EQ(converte<IMGGRY>(c, {0, 1, 255, 2, 33}).fundo(), 1);

  IMGSHT s(1, 7, {-5, 300, 128, -32768, 32767, 255, 0});
  s.fundo() = -1;
  EXPECT_EQ(converte<IMGGRY>(s, {0, 255, 128, 0, 255, 255, 0}).fundo(), 0);

  const float nan = std::numeric_limits<float>::quiet_NaN();
  IMGFLT f(1, 7, {-0.1, 1.5, 0.999, 1.0, 0.0, nan, 0.5});
  f.fundo() = 2.0f;
  EXPECT_EQ(converte<IMGGRY>(f, {0, 255, 254, 255, 0, 0, 127}).fundo(), 255);

  IMGDBL d(1, 7, {-0.1, 1.5, 0.999, 1.0, 0.0, std::nan(""), -INFINITY});
  EXPECT_EQ(converte<IMGGRY>(d, {0, 255, 254, 255, 0, 0, 0}).fundo(), 0);
}

TEST(ImgConv, GreyLevelsSurviveTheTripThroughReals) {
  IMGGRY g(16, 16);
  for (int k = 0; k < 256; ++k) g.data()[k] = static_cast<BYTE>(k);
  EXPECT_EQ(pixels(IMGGRY(IMGFLT(g))), pixels(g));
  EXPECT_EQ(pixels(IMGGRY(IMGDBL(g))), pixels(g));
  EXPECT_EQ(pixels(IMGGRY(IMGSHT(g))), pixels(g));
  EXPECT_EQ(pixels(IMGGRY(IMGCOR(g))), pixels(g));
}

TEST(ImgConv, ColourFromOtherClasses) {
  IMGGRY g(1, 2, {0, 77});
  g.fundo() = 5;
  EXPECT_EQ(converte<IMGCOR>(g, {{0, 0, 0}, {77, 77, 77}}).fundo(), (COR{5, 5, 5}));

  IMGBIN b(1, 2, {1, 0});
  EXPECT_EQ(converte<IMGCOR>(b, {{255, 255, 255}, {0, 0, 0}}).fundo(), (COR{255, 255, 255}));

  IMGFLT f(1, 3, {0.999, -0.1, 1.5});
  converte<IMGCOR>(f, {{254, 254, 254}, {0, 0, 0}, {255, 255, 255}});
}

TEST(ImgConv, ShortFromGrey) {
  IMGGRY g(1, 3, {255, 0, 128});
  g.fundo() = 255;
  EXPECT_EQ(converte<IMGSHT>(g, {255, 0, 128}).fundo(), 255);
}

TEST(ImgConv, RealsFromOtherClasses) {
  IMGGRY g(1, 3, {255, 0, 51});
  g.fundo() = 255;
  const IMGFLT fg(g);
  EXPECT_EQ(fg(0, 0), 1.0f);
  EXPECT_EQ(fg(0, 1), 0.0f);
  EXPECT_FLOAT_EQ(fg(0, 2), 0.2f);
  EXPECT_EQ(fg.fundo(), 1.0f);
  const IMGDBL dg(g);
  EXPECT_DOUBLE_EQ(dg(0, 2), 0.2);

  IMGCOR c(1, 2, {255, 255, 255, 255, 0, 0});
  const IMGFLT fc(c);
  EXPECT_EQ(fc(0, 0), 1.0f);
  EXPECT_FLOAT_EQ(fc(0, 1), 1.0f / 3);
  const IMGDBL dc(c);
  EXPECT_DOUBLE_EQ(dc(0, 1), 1.0 / 3);

  IMGBIN b(1, 2, {1, 0});
  b.fundo() = 0;
  EXPECT_EQ(converte<IMGFLT>(b, {1.0f, 0.0f}).fundo(), 0.0f);
  EXPECT_EQ(converte<IMGDBL>(b, {1.0, 0.0}).fundo(), 0.0);

  IMGDBL d(1, 2, {0.1, 1e300});
  converte<IMGFLT>(d, {0.1f, INFINITY});
  IMGFLT f(1, 2, {0.1, -3});
  f.fundo() = 0.1f;
  EXPECT_EQ(converte<IMGDBL>(f, {double(0.1f), -3.0}).fundo(), double(0.1f));
}

TEST(ImgConv, ComplexFromOtherClasses) {
  IMGFLT f(1, 2, {-2.5, 0.25});
  f.fundo() = 7;
  EXPECT_EQ(converte<IMGCPX>(f, {{-2.5f, 0}, {0.25f, 0}}).fundo(), CPXF(7, 0));

  IMGGRY g(1, 2, {255, 0});
  converte<IMGCPX>(g, {{1, 0}, {0, 0}});

  IMGCOR c(1, 2, {255, 255, 255, 0, 0, 0});
  converte<IMGCPX>(c, {{1, 0}, {0, 0}});

  IMGBIN b(1, 2, {0, 1});
  EXPECT_EQ(converte<IMGCPX>(b, {{0, 0}, {1, 0}}).fundo(), CPXF(1, 0));
}

TEST(ImgConv, ConversionGivesTheDefaultCentre) {
  IMGGRY g(5, 8, 1);
  g.lc() = 0;
  g.cc() = 0;
  const IMGFLT f(g);
  EXPECT_EQ(f.lc(), 2);
  EXPECT_EQ(f.cc(), 3);
  IMGFLT t(5, 8);
  t.lc() = -7;
  t = g;
  EXPECT_EQ(t.lc(), -7);
}

TEST(ImgYuv, PlaneLayout) {
  struct Caso { int nl, nc, imgnl, ou, ov, ncuv, nly; };
  const Caso casos[] = {{4, 6, 6, 24, 30, 3, 4}, {2, 2, 3, 4, 5, 1, 2}, {10, 8, 15, 80, 100, 4, 10}};
  for (const Caso& k : casos) {
    SCOPED_TRACE(testing::Message() << k.nl << "x" << k.nc);
    IMGYUV y(k.nl, k.nc);
    EXPECT_EQ(y.img.nl(), k.imgnl);
    EXPECT_EQ(y.img.nc(), k.nc);
    EXPECT_EQ(y.ou, k.ou);
    EXPECT_EQ(y.ov, k.ov);
    EXPECT_EQ(y.ncuv, k.ncuv);
    EXPECT_EQ(y.nly, k.nly);
    EXPECT_EQ(y.ncy, k.nc);
    EXPECT_EQ(y.v() - y.u(), k.ov - k.ou);
  }
}

TEST(ImgYuv, Errors) {
  const auto codigo = testing::ExitedWithCode(1);
  const char* pares = "^Erro: IMGYUV deve ter NL e NC pares \n$";
  const char* vazia = "^Erro: IMGYUV.img deve ser inicializado antes de chamar inicializa\\(\\) \n$";
  const char* div3 = "^Erro: IMGYUV deve ter NL divisivel por 3 e NC par \n$";
  EXPECT_EXIT(IMGYUV(3, 6), codigo, pares);
  EXPECT_EXIT(IMGYUV(4, 5), codigo, pares);
  EXPECT_EXIT(IMGYUV(0, 0), codigo, vazia);
  EXPECT_EXIT(IMGYUV().inicializa(), codigo, vazia);
  EXPECT_EXIT(
      {
        IMGYUV y;
        y.img.resize(4, 6);
        y.inicializa();
      },
      codigo, div3);
  EXPECT_EXIT(
      {
        IMGYUV y;
        y.img.resize(6, 5);
        y.inicializa();
      },
      codigo, div3);

  // A grey picture filled from elsewhere is accepted as it is.
  IMGYUV y;
  y.img.resize(9, 4);
  y.inicializa();
  EXPECT_EQ(y.ou, 24);
  EXPECT_EQ(y.ov, 30);
  EXPECT_EQ(y.nly, 6);
}
