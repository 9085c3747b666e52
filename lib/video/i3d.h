// Sequences of equally sized frames (a video, a volume) and sets of them,
// one template over the pixel type each:
//
//   I3DGRY  frames IMGGRY    I4DGRY  volumes I3DGRY
//   I3DCOR  frames IMGCOR, with the frame duration fd in microseconds
//   I3DSHT  frames IMGSHT    I4DSHT  volumes I3DSHT
//   I3DFLT  frames IMGFLT    I4DFLT  volumes I3DFLT
//   I3DCPX  frames IMGCPX
//
// A sequence owns its frames; copies are deep. Frame access (f) is checked;
// element access (f, l, c) outside the sequence yields the sequence's
// background value, and storing there changes that value, never a frame.
// A new sequence's background value is the zero of its pixel type.
//
// Files: native files of the short, real and complex sequences (LeImg,
// ImpImg), one TGA file per frame named base000.tga, base001.tga, ...
// (ImpTga; LeTga reads such a series back for grey and colour), and AVI
// (video/avi.h). The generic le and imp are in video/leimp.h.
#pragma once
#include <climits>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "base/erro.h"
#include "base/types.h"
#include "image/cor.h"
#include "image/img.h"

namespace imagorix {

class ARQLE;

namespace detail {

// The class names of the messages, per pixel type.
template <class P> struct SEQTIPO;
template <> struct SEQTIPO<BYTE> {
  static constexpr const char* nome = "I3DGRY";
  static constexpr const char* nome4 = "I4DGRY";
};
template <> struct SEQTIPO<COR> { static constexpr const char* nome = "I3DCOR"; };
template <> struct SEQTIPO<SHT> {
  static constexpr const char* nome = "I3DSHT";
  static constexpr const char* nome4 = "I4DSHT";
};
template <> struct SEQTIPO<FLT> {
  static constexpr const char* nome = "I3DFLT";
  static constexpr const char* nome4 = "I4DFLT";
};
template <> struct SEQTIPO<CPXF> { static constexpr const char* nome = "I3DCPX"; };

template <class P> class QUADROS;

}  // namespace detail

template <class P>
class I3D {
  using TIPO = detail::SEQTIPO<P>;
  static constexpr bool NATIVA = std::same_as<P, SHT> || std::same_as<P, FLT> || std::same_as<P, CPXF>;
  static constexpr bool TGA = !std::same_as<P, CPXF>;
  static constexpr bool COLORIDA = std::same_as<P, COR>;

 public:
  using pixel = P;
  using quadro = IMG<P>;

  I3D() { aloca(0, 0, 0); }
  I3D(int nf, int nl, int nc) { aloca(nf, nl, nc); }
  I3D(const I3D& o) {
    aloca(o.nf_, o.nl_, o.nc_);
    copia(o);
  }
  I3D(I3D&& o) noexcept
      : quadros_(std::move(o.quadros_)), fundo_(o.fundo_), nf_(o.nf_), nl_(o.nl_), nc_(o.nc_), fd_(o.fd_) {
    o.nf_ = o.nl_ = o.nc_ = 0;
  }
  I3D& operator=(const I3D& o) {
    if (this == &o) return *this;
    resize(o.nf_, o.nl_, o.nc_);
    copia(o);
    return *this;
  }
  I3D& operator=(I3D&& o) noexcept {
    if (this == &o) return *this;
    quadros_ = std::move(o.quadros_);
    fundo_ = o.fundo_;
    nf_ = o.nf_;
    nl_ = o.nl_;
    nc_ = o.nc_;
    fd_ = o.fd_;
    o.nf_ = o.nl_ = o.nc_ = 0;
    return *this;
  }
  ~I3D() = default;

  // nf frames of nl x nc, all zero (none when nf <= 0); fd becomes 250000;
  // the background value stays. Sizes whose frames could not be held (a
  // frame's pixel count beyond an int, or the whole beyond the address
  // space) end the program like a failed allocation, before allocating.
  void aloca(int nf, int nl, int nc);
  // Same sizes: nothing changes, the frames keep their pixels.
  void resize(int nf, int nl, int nc) {
    if (nf == nf_ && nl == nl_ && nc == nc_) return;
    aloca(nf, nl, nc);
  }

  int nf() const { return nf_; }
  int nl() const { return nl_; }
  int nc() const { return nc_; }

  // Frame f; outside 0 ... nf-1 ends with "Erro I3D...::operator() - Indice
  // invalido". A frame given another size through it breaks the sequence's
  // invariant; the AVI writer refuses such a sequence.
  IMG<P>& operator()(int f) {
    if (f < 0 || f >= nf_) erro(std::string("Erro ") + TIPO::nome + "::operator() - Indice invalido", "");
    return quadros_[f];
  }
  const IMG<P>& operator()(int f) const { return const_cast<I3D&>(*this)(f); }

  // Element (f, l, c), or the background value outside the sequence.
  P& operator()(int f, int l, int c) {
    if (f < 0 || f >= nf_) return fundo_;
    IMG<P>& q = quadros_[f];
    if (l < 0 || l >= q.nl() || c < 0 || c >= q.nc()) return fundo_;
    return q.row(l)[c];
  }
  const P& operator()(int f, int l, int c) const { return const_cast<I3D&>(*this)(f, l, c); }

  P& fundo() { return fundo_; }
  const P& fundo() const { return fundo_; }
  // Microseconds per frame of a colour sequence.
  int& fd() requires COLORIDA { return fd_; }
  int fd() const requires COLORIDA { return fd_; }

  // Every element of every frame to v; the background value stays.
  void preenche(const P& v) {
    for (int f = 0; f < nf_; ++f) quadros_[f].preenche(v);
  }
  // Colour: v's lowest byte is red, the next green, the next blue.
  void preenche(int v) requires COLORIDA {
    preenche(COR{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16)});
  }
  void preenche(FLT re, FLT im) requires std::same_as<P, CPXF> { preenche(CPXF(re, im)); }

  // Native files (short, real, complex): the reader replaces the sequence by
  // the file's frames; from a file already open at its start too.
  void LeImg(const std::string& nome) IMAGORIX_SO_PARA(NATIVA);
  void LeImg(ARQLE& arq) IMAGORIX_SO_PARA(NATIVA);
  void ImpImg(const std::string& nome) const IMAGORIX_SO_PARA(NATIVA);
  // Frame i to base + "%03d" + ".tga": grey and colour as they are, real
  // frames converted to grey (below 0 black, above 1 white, else v * 255
  // truncated), short frames clamped to 0 ... 255.
  void ImpTga(const std::string& base) const IMAGORIX_SO_PARA(TGA);
  // The series base000.tga, base001.tga, ... up to the first number that has
  // no file, each frame read as the generic reader of the frame class reads
  // it. Frames must all have the size of the first.
  void LeTga(const std::string& base) IMAGORIX_SO_PARA(std::same_as<P, BYTE> || std::same_as<P, COR>);

 private:
  friend class detail::QUADROS<P>;

  [[noreturn]] static void falta() { erro(std::string("Erro ") + TIPO::nome + "::aloca - Falta memoria", ""); }
  void copia(const I3D& o) {
    fundo_ = o.fundo_;
    fd_ = o.fd_;
    for (int f = 0; f < nf_; ++f) quadros_[f] = o.quadros_[f];
  }

  std::unique_ptr<IMG<P>[]> quadros_;
  P fundo_{};
  int nf_ = 0, nl_ = 0, nc_ = 0;
  int fd_ = 250000;  // used by I3DCOR only
};

template <class P>
void I3D<P>::aloca(int nf, int nl, int nc) {
  quadros_.reset();
  nf_ = nf;
  nl_ = nl;
  nc_ = nc;
  fd_ = 250000;
  if (nf <= 0) return;
  const long long n = static_cast<long long>(nl) * nc;
  if (n > INT_MAX || n < INT_MIN) falta();
  if (n > 0 && static_cast<unsigned long long>(n) * sizeof(P) > static_cast<unsigned long long>(PTRDIFF_MAX) / static_cast<unsigned long long>(nf))
    falta();
  quadros_.reset(new (std::nothrow) IMG<P>[static_cast<std::size_t>(nf)]);
  if (!quadros_) falta();
  for (int f = 0; f < nf; ++f) quadros_[f].aloca(nl, nc);
}

using I3DGRY = I3D<BYTE>;
using I3DCOR = I3D<COR>;
using I3DSHT = I3D<SHT>;
using I3DFLT = I3D<FLT>;
using I3DCPX = I3D<CPXF>;

// A set of nvol sequences of nf frames of nl x nc each.
template <class P>
class I4D {
  using TIPO = detail::SEQTIPO<P>;

 public:
  I4D() { aloca(0, 0, 0, 0); }
  I4D(int nvol, int nf, int nl, int nc) { aloca(nvol, nf, nl, nc); }
  I4D(const I4D& o) {
    aloca(o.nvol_, o.nf_, o.nl_, o.nc_);
    copia(o);
  }
  I4D& operator=(const I4D& o) {
    if (this == &o) return *this;
    if (o.nvol_ != nvol_ || o.nf_ != nf_ || o.nl_ != nl_ || o.nc_ != nc_) aloca(o.nvol_, o.nf_, o.nl_, o.nc_);
    copia(o);
    return *this;
  }

  // nvol volumes, each built empty and then given nf frames of nl x nc.
  void aloca(int nvol, int nf, int nl, int nc) {
    vols_.reset();
    nvol_ = nvol;
    nf_ = nf;
    nl_ = nl;
    nc_ = nc;
    if (nvol <= 0) return;
    // The whole must fit the address space, as one volume's must.
    const long long n = static_cast<long long>(nl) * nc;
    if (nf > 0 && n > 0 && n <= INT_MAX &&
        static_cast<unsigned long long>(n) * sizeof(P) >
            static_cast<unsigned long long>(PTRDIFF_MAX) / static_cast<unsigned long long>(nf) /
                static_cast<unsigned long long>(nvol))
      falta();
    vols_.reset(new (std::nothrow) I3D<P>[static_cast<std::size_t>(nvol)]);
    if (!vols_) falta();
    for (int v = 0; v < nvol; ++v) vols_[v].resize(nf, nl, nc);
  }
  void resize(int nvol, int nf, int nl, int nc) {
    if (nvol == nvol_ && nf == nf_ && nl == nl_ && nc == nc_) return;
    aloca(nvol, nf, nl, nc);
  }

  int nvol() const { return nvol_; }
  int nf() const { return nf_; }
  int nl() const { return nl_; }
  int nc() const { return nc_; }

  // Volume v; outside 0 ... nvol-1 ends with "Erro I4D...::operator() -
  // Indice invalido".
  I3D<P>& operator()(int v) {
    if (v < 0 || v >= nvol_) erro(std::string("Erro ") + TIPO::nome4 + "::operator() - Indice invalido", "");
    return vols_[v];
  }
  const I3D<P>& operator()(int v) const { return const_cast<I4D&>(*this)(v); }
  // Element (v, f, l, c), or the background value outside.
  P& operator()(int v, int f, int l, int c) {
    if (v < 0 || v >= nvol_ || f < 0 || f >= nf_ || l < 0 || l >= nl_ || c < 0 || c >= nc_) return fundo_;
    return vols_[v](f, l, c);
  }
  const P& operator()(int v, int f, int l, int c) const { return const_cast<I4D&>(*this)(v, f, l, c); }

  P& fundo() { return fundo_; }
  const P& fundo() const { return fundo_; }

  void preenche(const P& x) {
    for (int v = 0; v < nvol_; ++v) vols_[v].preenche(x);
  }

 private:
  [[noreturn]] static void falta() { erro(std::string("Erro ") + TIPO::nome4 + "::aloca - Falta memoria", ""); }
  void copia(const I4D& o) {
    fundo_ = o.fundo_;
    for (int v = 0; v < nvol_; ++v) vols_[v] = o.vols_[v];
  }

  std::unique_ptr<I3D<P>[]> vols_;
  P fundo_{};
  int nvol_ = 0, nf_ = 0, nl_ = 0, nc_ = 0;
};

using I4DGRY = I4D<BYTE>;
using I4DSHT = I4D<SHT>;
using I4DFLT = I4D<FLT>;

}  // namespace imagorix
