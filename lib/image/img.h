// The image classes other than IMGBIN, one template over the pixel type:
//
//   IMGGRY  BYTE    0 black ... 255 white
//   IMGCOR  COR     red, green, blue bytes, packed
//   IMGSHT  SHT     signed 16-bit grey levels
//   IMGFLT  FLT     0.0 black ... 1.0 white, any value may be stored
//   IMGDBL  double  as IMGFLT
//   IMGCPX  CPXF    real part, then imaginary part
//
// Pixels are stored row after row in one block; row(l) reaches row l in
// constant time. Access outside the image yields the background value, and
// writing there changes it. Conversions exist only between the pairs that
// detail::PIXCONV lists; any other pair does not compile.
#pragma once
#include <climits>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "base/erro.h"
#include "base/types.h"
#include "image/acesso.h"
#include "image/conversao.h"
#include "image/cor.h"
#include "image/imgbin.h"

// The file members exist only for the classes that have the format; their
// definitions are explicit specializations in the format's source file.
// clang 14, the compiler of the fuzz build, does not match such out-of-line
// specializations with a constrained declaration, so under clang the
// constraint is left out: a call for another class then fails to link rather
// than to compile.
#ifdef __clang__
#define IMAGORIX_SO_PARA(...)
#else
#define IMAGORIX_SO_PARA(...) requires(__VA_ARGS__)
#endif

namespace imagorix {

class ARQLE;

namespace detail {

// Per pixel type: the class name of its messages, the element type of the list
// constructor and how many list values make one pixel.
template <class P> struct PIXTIPO;
template <> struct PIXTIPO<BYTE> {
  static constexpr const char* nome = "IMGGRY";
  using lista = int;
  static constexpr int npp = 1;
};
template <> struct PIXTIPO<COR> {
  static constexpr const char* nome = "IMGCOR";
  using lista = int;  // red, green, blue of each pixel
  static constexpr int npp = 3;
};
template <> struct PIXTIPO<SHT> {
  static constexpr const char* nome = "IMGSHT";
  using lista = int;
  static constexpr int npp = 1;
};
template <> struct PIXTIPO<FLT> {
  static constexpr const char* nome = "IMGFLT";
  using lista = double;
  static constexpr int npp = 1;
};
template <> struct PIXTIPO<double> {
  static constexpr const char* nome = "IMGDBL";
  using lista = double;
  static constexpr int npp = 1;
};
template <> struct PIXTIPO<CPXF> {
  static constexpr const char* nome = "IMGCPX";
  using lista = double;  // real part, imaginary part of each pixel
  static constexpr int npp = 2;
};

// Zeroed storage for a pixel block of the given size, or null when there is
// none to be had; released by LIBERA. Large blocks are offered to the kernel
// as huge pages: first touching a big image otherwise costs one page fault
// per 4 KiB, which can take longer than the processing done on it.
void* aloca_pixels(std::size_t bytes) noexcept;
void libera_pixels(void* p) noexcept;
struct LIBERA {
  void operator()(void* p) const noexcept { libera_pixels(p); }
};

}  // namespace detail

template <class P>
class IMG {
  using TIPO = detail::PIXTIPO<P>;
  // The classes with native files, and those with TGA files.
  static constexpr bool NATIVA = std::same_as<P, SHT> || std::same_as<P, FLT> ||
                                 std::same_as<P, double> || std::same_as<P, CPXF>;
  static constexpr bool TGA = std::same_as<P, BYTE> || std::same_as<P, COR>;

 public:
  using pixel = P;
  using lista = typename TIPO::lista;

  IMG() { aloca(0, 0); }
  IMG(int nl, int nc) { aloca(nl, nc); }
  // Every pixel set to value; the background stays the zero of P.
  IMG(int nl, int nc, P value) {
    aloca(nl, nc);
    preenche(value);
  }
  // IMGCOR: value's lowest byte is red, the next green, the next blue.
  IMG(int nl, int nc, int value) requires std::same_as<P, COR> {
    aloca(nl, nc);
    preenche(COR{static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                 static_cast<BYTE>(value >> 16)});
  }
  // IMGCPX: real and imaginary part.
  IMG(int nl, int nc, FLT re, FLT im) requires std::same_as<P, CPXF> {
    aloca(nl, nc);
    preenche(CPXF(re, im));
  }
  // nl * nc pixels in row-major order; IMGCOR takes red, green, blue per
  // pixel and IMGCPX real, imaginary. A list of another length ends the
  // program.
  IMG(int nl, int nc, std::initializer_list<lista> valores);

  IMG(const IMG& o) {
    aloca(o.nl_, o.nc_);
    fundo_ = o.fundo_;
    lc_ = o.lc_;
    cc_ = o.cc_;
    copia_pixels(o);
  }
  IMG(IMG&& o) noexcept
      : data_(std::move(o.data_)), rows_(std::move(o.rows_)), fundo_(o.fundo_),
        nl_(o.nl_), nc_(o.nc_), lc_(o.lc_), cc_(o.cc_), n_(o.n_) {
    o.esvazia();
  }
  ~IMG() = default;

  // Conversions from another class: sizes and background come along, the
  // centre is the default one.
  template <class Q>
    requires detail::PIXCONV<P, Q>::existe
  explicit IMG(const IMG<Q>& o) {
    aloca(o.nl(), o.nc());
    converte(o);
  }
  explicit IMG(const IMGBIN& o) requires detail::PIXCONV<P, bool>::existe {
    aloca(o.nl(), o.nc());
    converte(o);
  }

  IMG& operator=(const IMG& o) {
    if (this == &o) return *this;
    resize(o.nl_, o.nc_);
    fundo_ = o.fundo_;
    lc_ = o.lc_;
    cc_ = o.cc_;
    copia_pixels(o);
    return *this;
  }
  IMG& operator=(IMG&& o) noexcept {
    if (this == &o) return *this;
    data_ = std::move(o.data_);
    rows_ = std::move(o.rows_);
    fundo_ = o.fundo_;
    nl_ = o.nl_;
    nc_ = o.nc_;
    lc_ = o.lc_;
    cc_ = o.cc_;
    n_ = o.n_;
    o.esvazia();
    return *this;
  }
  // Conversions into an existing image keep the centre that resize left.
  template <class Q>
    requires detail::PIXCONV<P, Q>::existe
  IMG& operator=(const IMG<Q>& o) {
    resize(o.nl(), o.nc());
    converte(o);
    return *this;
  }
  IMG& operator=(const IMGBIN& o) requires detail::PIXCONV<P, bool>::existe {
    resize(o.nl(), o.nc());
    converte(o);
    return *this;
  }

  // Sets sizes, background (the zero of P), centre and storage for an
  // nl x nc image. Any storage held before is released. Sizes below 1 hold no
  // storage. Sizes whose pixel count does not fit an int end the program like
  // a failed allocation. Fresh pixels are zero.
  void aloca(int nl, int nc);
  // Same sizes: nothing changes. Otherwise as aloca.
  void resize(int nl, int nc) {
    if (nl == nl_ && nc == nc_) return;
    aloca(nl, nc);
  }

  int nl() const { return nl_; }
  int nc() const { return nc_; }
  int n() const { return n_; }

  // Unchecked: l must be a row of the image.
  P* row(int l) { return rows_[l]; }
  const P* row(int l) const { return rows_[l]; }
  // The whole block, row after row; null when empty.
  P* data() { return data_.get(); }
  const P* data() const { return data_.get(); }

  // Pixel (l, c), or the background outside the image.
  P& operator()(int l, int c) {
    if (l < 0 || l >= nl_ || c < 0 || c >= nc_) return fundo_;
    return rows_[l][c];
  }
  const P& operator()(int l, int c) const { return const_cast<IMG&>(*this)(l, c); }
  // The same through an access mode (see acesso.h).
  P& operator()(int l, int c, char modo) {
    if (!detail::posicao(nl_, nc_, lc_, cc_, l, c, modo)) return fundo_;
    return rows_[l][c];
  }
  const P& operator()(int l, int c, char modo) const {
    return const_cast<IMG&>(*this)(l, c, modo);
  }

  P& fundo() { return fundo_; }
  const P& fundo() const { return fundo_; }
  int& lc() { return lc_; }
  int lc() const { return lc_; }
  int& cc() { return cc_; }
  int cc() const { return cc_; }

  // Every pixel to v; sizes and background stay.
  void preenche(const P& v) {
    for (int k = 0; k < (data_ ? n_ : 0); ++k) data_[k] = v;
  }

  // Files. Each reader replaces the image by the file's picture, read from
  // the named file or from a file already open (at its start); the writers
  // leave the image as it is. Text matrices serve every class.
  void LeTxt(const std::string& nome);
  void LeTxt(ARQLE& arq);
  void ImpTxt(const std::string& nome) const;
  // Native files of the real, double, short and complex classes.
  void LeImg(const std::string& nome) IMAGORIX_SO_PARA(NATIVA);
  void LeImg(ARQLE& arq) IMAGORIX_SO_PARA(NATIVA);
  void ImpImg(const std::string& nome) const IMAGORIX_SO_PARA(NATIVA);
  // TGA: grey and true-colour files; colour-mapped files as their indices
  // (LeTgaI) or as their colours (LeTgaP); imp writes a grey file, ImpTga a
  // true-colour one.
  void LeTga(const std::string& nome) IMAGORIX_SO_PARA(TGA);
  void LeTga(ARQLE& arq) IMAGORIX_SO_PARA(TGA);
  void LeTgaI(const std::string& nome) IMAGORIX_SO_PARA(std::same_as<P, BYTE>);
  void LeTgaI(ARQLE& arq) IMAGORIX_SO_PARA(std::same_as<P, BYTE>);
  void LeTgaP(const std::string& nome) IMAGORIX_SO_PARA(TGA);
  void LeTgaP(ARQLE& arq) IMAGORIX_SO_PARA(TGA);
  void imp(const std::string& nome) const IMAGORIX_SO_PARA(std::same_as<P, BYTE>);
  void ImpTga(const std::string& nome) const IMAGORIX_SO_PARA(std::same_as<P, COR>);

 private:
  [[noreturn]] static void falta() {
    erro(std::string("Erro ") + TIPO::nome + "::aloca - Falta memoria", "");
  }
  void esvazia() {
    nl_ = nc_ = n_ = lc_ = cc_ = 0;
    data_.reset();
    rows_.reset();
  }
  void copia_pixels(const IMG& o) {
    if (data_) std::memcpy(static_cast<void*>(data_.get()), o.data_.get(), sizeof(P) * std::size_t(n_));
  }
  template <class Q>
  void converte(const IMG<Q>& o) {
    using R = detail::PIXCONV<P, Q>;
    fundo_ = R::f(o.fundo());
    if (!data_) return;
    const Q* s = o.data();
    for (int k = 0; k < n_; ++k) data_[k] = R::f(s[k]);
  }
  void converte(const IMGBIN& o) {
    using R = detail::PIXCONV<P, bool>;
    fundo_ = R::f((o.fundo() & 1u) != 0);
    if (!data_) return;
    for (int l = 0; l < nl_; ++l) {
      P* d = rows_[l];
      for (int c = 0; c < nc_; ++c) d[c] = R::f(o.get(l, c));
    }
  }

  std::unique_ptr<P[], detail::LIBERA> data_;
  std::unique_ptr<P*[]> rows_;
  P fundo_{};
  int nl_ = 0, nc_ = 0;
  int lc_ = 0, cc_ = 0;
  int n_ = 0;
};

template <class P>
void IMG<P>::aloca(int nl, int nc) {
  nl_ = nl;
  nc_ = nc;
  fundo_ = P{};
  data_.reset();
  rows_.reset();
  const long long n = static_cast<long long>(nl) * nc;
  if (n > INT_MAX || n < INT_MIN) falta();
  n_ = static_cast<int>(n);
  lc_ = static_cast<int>((static_cast<long long>(nl) - 1) / 2);
  cc_ = static_cast<int>((static_cast<long long>(nc) - 1) / 2);
  if (nl < 1 || nc < 1) return;
  if (std::size_t(n_) > SIZE_MAX / sizeof(P)) falta();
  // Every pixel type is trivially copyable and destructible, and all its
  // bytes zero is its zero, so zeroed storage holds zero pixels.
  static_assert(std::is_trivially_copyable_v<P> && std::is_trivially_destructible_v<P>);
  data_.reset(static_cast<P*>(detail::aloca_pixels(sizeof(P) * std::size_t(n_))));
  if (!data_) falta();
  rows_.reset(new (std::nothrow) P*[std::size_t(nl)]);
  if (!rows_) falta();
  for (int l = 0; l < nl; ++l) rows_[l] = data_.get() + std::size_t(l) * std::size_t(nc);
}

template <class P>
IMG<P>::IMG(int nl, int nc, std::initializer_list<lista> valores) {
  aloca(nl, nc);
  const long long esperado = static_cast<long long>(data_ ? n_ : 0) * TIPO::npp;
  if (static_cast<long long>(valores.size()) != esperado)
    erro(std::string("Erro ") + TIPO::nome + "::" + TIPO::nome + " - Numero de valores invalido", "");
  const lista* v = valores.begin();
  for (int k = 0; k < (data_ ? n_ : 0); ++k, v += TIPO::npp) {
    if constexpr (std::same_as<P, COR>) {
      data_[k] = COR{static_cast<BYTE>(v[0]), static_cast<BYTE>(v[1]), static_cast<BYTE>(v[2])};
    } else if constexpr (std::same_as<P, CPXF>) {
      data_[k] = CPXF(static_cast<FLT>(v[0]), static_cast<FLT>(v[1]));
    } else {
      data_[k] = static_cast<P>(v[0]);
    }
  }
}

using IMGGRY = IMG<BYTE>;
using IMGCOR = IMG<COR>;
using IMGSHT = IMG<SHT>;
using IMGFLT = IMG<FLT>;
using IMGDBL = IMG<double>;
using IMGCPX = IMG<CPXF>;

}  // namespace imagorix
