#include "image/native.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/arquivo.h"
#include "base/erro.h"
#include "image/img.h"
#include "image/lebloco.h"

namespace imagorix {

// The pixel blocks move between memory and file in one transfer, which is
// only the file's little-endian form on a little-endian machine.
static_assert(std::endian::native == std::endian::little, "native image files need a little-endian host");

namespace {

// Tag and element size of each class's files.
template <class P> struct NATIVO;
template <> struct NATIVO<SHT> { static constexpr char tag[] = "IMGSHT*"; };
template <> struct NATIVO<FLT> { static constexpr char tag[] = "IMGFLT*"; };
template <> struct NATIVO<double> { static constexpr char tag[] = "IMGDBL*"; };
template <> struct NATIVO<CPXF> { static constexpr char tag[] = "IMGCPX*"; };

constexpr int TAMTAG = 7;

std::int32_t le_i32(const unsigned char* b) { return static_cast<std::int32_t>(u32le(b)); }

template <class P>
void imp_img(const IMG<P>& img, const std::string& nome) {
  const std::string cls = detail::PIXTIPO<P>::nome;
  detail::recusa_negativo(img.nl(), img.nc(), "Erro " + cls + "::ImpImg");
  ARQIMP f(nome, "wb", cls + "::ImpImg", "Erro " + cls + "::ImpImg - Abertura de ",
           "Erro " + cls + "::ImpImg - Faltou memoria setvbuf");
  f.write(NATIVO<P>::tag, TAMTAG);
  f.put(0x1A);
  f.le32(sizeof(P));
  for (int v : {img.nl(), img.nc(), img.lc(), img.cc()}) f.le32(static_cast<std::uint32_t>(v));
  if (img.data()) f.write(img.data(), sizeof(P) * detail::npixels(img.nl(), img.nc()));
  f.close();
}

template <class P>
void le_img(IMG<P>& img, ARQLE& f) {
  const std::string cls = detail::PIXTIPO<P>::nome;
  // A file too short to hold the tag and element size is not of the format;
  // one whose tag is right but which ends before the pixels is cut short.
  unsigned char tag[12];
  if (!f.read(tag, sizeof tag) || std::memcmp(tag, NATIVO<P>::tag, TAMTAG) != 0 || le_i32(tag + 8) != static_cast<std::int32_t>(sizeof(P)))
    erro("Erro " + cls + "::LeImg - Formato incorreta");
  const std::string fim = "Erro " + cls + "::LeImg - Fim inesperado";
  unsigned char h[16];
  if (!f.read(h, sizeof h)) erro(fim);
  const int nl = le_i32(h), nc = le_i32(h + 4);
  detail::recusa_negativo(nl, nc, "Erro " + cls + "::LeImg");
  detail::recusa_estouro(img, nl, nc);
  detail::le_bloco(f, sizeof(P) * detail::npixels(nl, nc), [&] {
    img.resize(nl, nc);
    return img.data();
  }, fim);
  img.lc() = le_i32(h + 8);
  img.cc() = le_i32(h + 12);
}

template <class P>
void le_img(IMG<P>& img, const std::string& nome) {
  const std::string cls = detail::PIXTIPO<P>::nome;
  ARQLE f(nome, "rb", "Erro " + cls + "::LeImg - Abertura de ", "Erro " + cls + "::LeImg - Faltou memoria setvbuf");
  le_img(img, f);
}

}  // namespace

template <> void IMG<SHT>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }
template <> void IMG<FLT>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }
template <> void IMG<double>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }
template <> void IMG<CPXF>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }

template <> void IMG<SHT>::LeImg(const std::string& nome) { le_img(*this, nome); }
template <> void IMG<FLT>::LeImg(const std::string& nome) { le_img(*this, nome); }
template <> void IMG<double>::LeImg(const std::string& nome) { le_img(*this, nome); }
template <> void IMG<CPXF>::LeImg(const std::string& nome) { le_img(*this, nome); }

template <> void IMG<SHT>::LeImg(ARQLE& arq) { le_img(*this, arq); }
template <> void IMG<FLT>::LeImg(ARQLE& arq) { le_img(*this, arq); }
template <> void IMG<double>::LeImg(ARQLE& arq) { le_img(*this, arq); }
template <> void IMG<CPXF>::LeImg(ARQLE& arq) { le_img(*this, arq); }

void ImpHex(const IMGBIN& img, const std::string& nome) {
  detail::recusa_negativo(img.nl(), img.nc(), "Erro ImpHex");
  ARQIMP f(nome, "wt", "ImpHex", "Erro ImpHex - abertura de ", "Erro ImpHex - Faltou memoria setvbuf");
  f.print("%d, %d,\n", img.nl(), img.nc());
  // Counters live per call, so every file breaks its lines at the same places.
  std::uint32_t acc = 0;
  int bits = 0, palavras = 0;
  auto poe = [&](bool b) {
    acc = acc << 1 | static_cast<std::uint32_t>(b);
    if (++bits < 32) return;
    f.print("0x%08lx, ", static_cast<unsigned long>(acc));
    acc = 0;
    bits = 0;
    if (++palavras == 8) {
      f.put('\n');
      palavras = 0;
    }
  };
  if (img.data())
    for (int l = 0; l < img.nl(); ++l)
      for (int c = 0; c < img.nc(); ++c) poe(img.get(l, c));
  while (bits != 0) poe(false);
  f.close();
}

}  // namespace imagorix
