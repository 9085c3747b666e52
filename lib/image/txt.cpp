#include "image/txt.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iomanip>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "base/arquivo.h"
#include "base/erro.h"
#include "base/lenum.h"
#include "image/lebloco.h"

namespace imagorix {

namespace {

// Writing goes through one of two sinks with the same four operations: a
// checked file, or a caller's stream.

// ImpTxt's sink. Numbers are formatted as default stream output formats them
// (integers plainly, reals as "%.6g" in the C locale) but without the stream
// machinery, and collected in a small buffer so that a matrix of millions of
// values costs one checked write per few thousand characters.
class ARQTXT {
 public:
  explicit ARQTXT(ARQIMP& f) : f_(f) {}
  ARQTXT(const ARQTXT&) = delete;
  ARQTXT& operator=(const ARQTXT&) = delete;

  void inteiro(int v, int largura) {
    char s[16];
    const auto r = std::to_chars(s, s + sizeof s, v);
    campo(s, r.ptr, largura);
  }
  void real(double v, int largura) {
    char s[64];
    const auto r = std::to_chars(s, s + sizeof s, v, std::chars_format::general, 6);
    campo(s, r.ptr, largura);
  }
  void car(char c) {
    if (n_ == sizeof b_) esvazia();
    b_[n_++] = c;
  }
  void texto(const char* s) {
    while (*s) car(*s++);
  }
  void esvazia() {
    f_.write(b_, n_);
    n_ = 0;
  }

 private:
  // Right-aligned in a field of the given width.
  void campo(const char* s, const char* fim, int largura) {
    for (int i = static_cast<int>(fim - s); i < largura; ++i) car(' ');
    while (s < fim) car(*s++);
  }

  ARQIMP& f_;
  char b_[8192];
  std::size_t n_ = 0;
};

// The stream operators' sink: widths are set per field, everything else is the
// stream's own formatting.
class FLUXO {
 public:
  explicit FLUXO(std::ostream& os) : os_(os) {}
  void inteiro(int v, int largura) { os_ << std::setw(largura) << v; }
  void real(double v, int largura) { os_ << std::setw(largura) << v; }
  void car(char c) { os_.put(c); }
  void texto(const char* s) { os_ << s; }

 private:
  std::ostream& os_;
};

// One pixel and what follows it on its line. wdbl is the field width of
// IMGDBL values, the only one that differs between the file and the streams.
template <class S> void pixel(S& s, bool v, int) {
  s.car(v ? '1' : '0');
  s.car(' ');
}
template <class S> void pixel(S& s, BYTE v, int) {
  s.inteiro(v, 3);
  s.car(' ');
}
template <class S> void pixel(S& s, SHT v, int) {
  s.inteiro(v, 3);
  s.car(' ');
}
template <class S> void pixel(S& s, const COR& v, int) {
  s.inteiro(v.r, 3);
  s.car(' ');
  s.inteiro(v.g, 3);
  s.car(' ');
  s.inteiro(v.b, 3);
  s.texto("    ");
}
template <class S> void pixel(S& s, FLT v, int) {
  s.real(v, 3);
  s.car(' ');
}
template <class S> void pixel(S& s, double v, int wdbl) {
  s.real(v, wdbl);
  s.car(' ');
}
template <class S> void pixel(S& s, const CPXF& v, int) {
  s.car('(');
  s.real(v.real(), 0);
  s.car(',');
  s.real(v.imag(), 0);
  s.texto(") ");
}

bool valor(const IMGBIN& img, int l, int c) { return img.get(l, c); }
template <class P> const P& valor(const IMG<P>& img, int l, int c) { return img.row(l)[c]; }

template <class S, class I>
void escreve(S& s, const I& img, int wdbl) {
  s.inteiro(img.nl(), 0);
  s.car(' ');
  s.inteiro(img.nc(), 0);
  s.texto("\n\n");
  // Pixels exist exactly when both sizes are at least 1.
  for (int l = 0; l < img.nl(); ++l) {
    for (int c = 0; c < img.nc(); ++c) pixel(s, valor(img, l, c), wdbl);
    s.car('\n');
  }
  s.car('\n');
  s.inteiro(img.lc(), 0);
  s.car(' ');
  s.inteiro(img.cc(), 0);
  s.car('\n');
}

template <class I>
void imp_txt(const I& img, const std::string& nome, const std::string& cls) {
  detail::recusa_negativo(img.nl(), img.nc(), "Erro " + cls + "::ImpTxt");
  ARQIMP f(nome, "wt", cls + "::ImpTxt", "Erro " + cls + "::ImpTxt - Abertura ",
           "Erro " + cls + "::ImpTxt - Faltou memoria setvbuf");
  ARQTXT s(f);
  escreve(s, img, 8);
  s.esvazia();
  f.close();
}

// Reading. T is what one pixel reads as (bool for IMGBIN); tokens is how many
// number tokens make it, and fim the message its LeNum gives when the file
// ends too early.
void le_pixel(FILE* f, bool& v) { LeNum(f, v); }
void le_pixel(FILE* f, BYTE& v) { LeNum(f, v); }
void le_pixel(FILE* f, SHT& v) { LeNum(f, v); }
void le_pixel(FILE* f, FLT& v) { LeNum(f, v); }
void le_pixel(FILE* f, double& v) { LeNum(f, v); }
void le_pixel(FILE* f, COR& v) {
  LeNum(f, v.r);
  LeNum(f, v.g);
  LeNum(f, v.b);
}
void le_pixel(FILE* f, CPXF& v) {
  FLT re, im;
  LeNum(f, re);
  LeNum(f, im);
  v = CPXF(re, im);
}

template <class T> struct TOKENS;
template <> struct TOKENS<bool> { static constexpr int n = 1; static constexpr const char* fim = "LeNum(bool)"; };
template <> struct TOKENS<BYTE> { static constexpr int n = 1; static constexpr const char* fim = "LeNum(BYTE)"; };
template <> struct TOKENS<COR> { static constexpr int n = 3; static constexpr const char* fim = "LeNum(BYTE)"; };
template <> struct TOKENS<SHT> { static constexpr int n = 1; static constexpr const char* fim = "LeNum(SHT)"; };
template <> struct TOKENS<FLT> { static constexpr int n = 1; static constexpr const char* fim = "LeNum(FLT)"; };
template <> struct TOKENS<double> { static constexpr int n = 1; static constexpr const char* fim = "LeNum(double)"; };
template <> struct TOKENS<CPXF> { static constexpr int n = 2; static constexpr const char* fim = "LeNum(FLT)"; };

void guarda(IMGBIN& img, int l, int c, bool v) { img.set(l, c, v); }
template <class P> void guarda(IMG<P>& img, int l, int c, const P& v) { img.row(l)[c] = v; }

void copia(IMGBIN& img, const std::vector<BYTE>& v) { img.preenchebytes(v.data(), static_cast<int>(v.size())); }
template <class P> void copia(IMG<P>& img, const std::vector<P>& v) { std::copy(v.begin(), v.end(), img.data()); }

const char* classe(const IMGBIN&) { return "IMGBIN"; }
template <class P> const char* classe(const IMG<P>&) { return detail::PIXTIPO<P>::nome; }

template <class T, class I>
void le_txt(I& img, ARQLE& arq) {
  FILE* f = arq.get();
  int nl, nc;
  LeNum(f, nl);
  LeNum(f, nc);
  detail::recusa_negativo(nl, nc, std::string("Erro ") + classe(img) + "::LeTxt");
  detail::recusa_estouro(img, nl, nc);
  const std::size_t n = detail::npixels(nl, nc);

  const long long resta = arq.remaining();
  if (resta >= 0) {
    // Each token takes at least one character and a separator from the next,
    // so a file too short for the stated size is refused before allocating,
    // with the message its reading would end with anyway.
    if (n > 0 && 2 * static_cast<long long>(n) * TOKENS<T>::n - 1 > resta) erro(TOKENS<T>::fim);
    img.aloca(nl, nc);
    for (int l = 0; l < nl; ++l)
      for (int c = 0; c < nc; ++c) {
        T v;
        le_pixel(f, v);
        guarda(img, l, c, v);
      }
  } else {
    // A pipe or device: the size cannot be checked, so the values are
    // collected as they come and the image is allocated once they are all in.
    std::vector<std::conditional_t<std::is_same_v<T, bool>, BYTE, T>> v;
    for (std::size_t k = 0; k < n; ++k) {
      T x;
      le_pixel(f, x);
      v.push_back(x);
    }
    img.aloca(nl, nc);
    if (n > 0) copia(img, v);
  }

  int x;
  LeNumOpt(f, x);
  if (x == EOFNUM) return;
  img.lc() = x;
  LeNumOpt(f, x);
  if (x != EOFNUM) img.cc() = x;
}

template <class T, class I>
void le_txt(I& img, const std::string& nome, const std::string& cls) {
  ARQLE arq(nome, "rt", "Erro " + cls + "::LeTxt - Abertura ", "Erro " + cls + "::LeTxt - Faltou memoria setvbuf");
  le_txt<T>(img, arq);
}

template <class I>
std::ostream& imprime(std::ostream& os, const I& img) {
  FLUXO s(os);
  escreve(s, img, 3);
  return os;
}

}  // namespace

void IMGBIN::LeTxt(const std::string& nome) { le_txt<bool>(*this, nome, "IMGBIN"); }
template <> void IMG<BYTE>::LeTxt(const std::string& nome) { le_txt<BYTE>(*this, nome, "IMGGRY"); }
template <> void IMG<COR>::LeTxt(const std::string& nome) { le_txt<COR>(*this, nome, "IMGCOR"); }
template <> void IMG<SHT>::LeTxt(const std::string& nome) { le_txt<SHT>(*this, nome, "IMGSHT"); }
template <> void IMG<FLT>::LeTxt(const std::string& nome) { le_txt<FLT>(*this, nome, "IMGFLT"); }
template <> void IMG<double>::LeTxt(const std::string& nome) { le_txt<double>(*this, nome, "IMGDBL"); }
template <> void IMG<CPXF>::LeTxt(const std::string& nome) { le_txt<CPXF>(*this, nome, "IMGCPX"); }

void IMGBIN::LeTxt(ARQLE& arq) { le_txt<bool>(*this, arq); }
template <> void IMG<BYTE>::LeTxt(ARQLE& arq) { le_txt<BYTE>(*this, arq); }
template <> void IMG<COR>::LeTxt(ARQLE& arq) { le_txt<COR>(*this, arq); }
template <> void IMG<SHT>::LeTxt(ARQLE& arq) { le_txt<SHT>(*this, arq); }
template <> void IMG<FLT>::LeTxt(ARQLE& arq) { le_txt<FLT>(*this, arq); }
template <> void IMG<double>::LeTxt(ARQLE& arq) { le_txt<double>(*this, arq); }
template <> void IMG<CPXF>::LeTxt(ARQLE& arq) { le_txt<CPXF>(*this, arq); }

void IMGBIN::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGBIN"); }
template <> void IMG<BYTE>::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGGRY"); }
template <> void IMG<COR>::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGCOR"); }
template <> void IMG<SHT>::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGSHT"); }
template <> void IMG<FLT>::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGFLT"); }
template <> void IMG<double>::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGDBL"); }
template <> void IMG<CPXF>::ImpTxt(const std::string& nome) const { imp_txt(*this, nome, "IMGCPX"); }

std::ostream& operator<<(std::ostream& os, const IMGBIN& img) { return imprime(os, img); }
std::ostream& operator<<(std::ostream& os, const IMGGRY& img) { return imprime(os, img); }
std::ostream& operator<<(std::ostream& os, const IMGCOR& img) { return imprime(os, img); }
std::ostream& operator<<(std::ostream& os, const IMGSHT& img) { return imprime(os, img); }
std::ostream& operator<<(std::ostream& os, const IMGFLT& img) { return imprime(os, img); }
std::ostream& operator<<(std::ostream& os, const IMGDBL& img) { return imprime(os, img); }
std::ostream& operator<<(std::ostream& os, const IMGCPX& img) { return imprime(os, img); }

std::ostream& operator<<(std::ostream& os, const COR& c) {
  return os << '(' << int{c.r} << ',' << int{c.g} << ',' << int{c.b} << ')';
}

}  // namespace imagorix
