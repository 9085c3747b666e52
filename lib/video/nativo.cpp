// Native sequence files of the short, real and complex sequences.
//
// Little-endian: the tag "I3DSHT*", "I3DFLT*" or "I3DCPX*" and the byte 0x1A
// (not checked when read), nf as a 32-bit integer, then nf frame records,
// each exactly a native image file of the frame class (tag, element size,
// nl, nc, centre row, centre column, pixels).
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "base/arquivo.h"
#include "base/erro.h"
#include "image/img.h"
#include "image/lebloco.h"
#include "video/i3d.h"
#include "video/quadros.h"

namespace imagorix {

static_assert(std::endian::native == std::endian::little, "native sequence files need a little-endian host");

namespace {

template <class P> struct NATIVO;
template <> struct NATIVO<SHT> {
  static constexpr char seq[] = "I3DSHT*";
  static constexpr char quadro[] = "IMGSHT*";
};
template <> struct NATIVO<FLT> {
  static constexpr char seq[] = "I3DFLT*";
  static constexpr char quadro[] = "IMGFLT*";
};
template <> struct NATIVO<CPXF> {
  static constexpr char seq[] = "I3DCPX*";
  static constexpr char quadro[] = "IMGCPX*";
};

constexpr int TAMTAG = 7;
// Tag, element size, nl, nc, centre row, centre column.
constexpr long long CABQUADRO = 28;

std::int32_t i32(const unsigned char* b) { return static_cast<std::int32_t>(u32le(b)); }

template <class P>
void imp_img(const I3D<P>& s, const std::string& nome) {
  const std::string cls = detail::SEQTIPO<P>::nome;
  // A negative size has no file form that any reader would take back.
  bool negativo = s.nf() < 0 || s.nl() < 0 || s.nc() < 0;
  for (int f = 0; f < s.nf(); ++f) negativo = negativo || s(f).nl() < 0 || s(f).nc() < 0;
  if (negativo) erro("Erro " + cls + "::ImpImg - Tamanho invalido ", nome);
  ARQIMP arq(nome, "wb", cls + "::ImpImg", "Erro " + cls + "::ImpImg - Abertura de ",
             "Erro " + cls + "::ImpImg - Faltou memoria setvbuf");
  arq.write(NATIVO<P>::seq, TAMTAG);
  arq.put(0x1A);
  arq.le32(static_cast<std::uint32_t>(s.nf()));
  for (int f = 0; f < s.nf(); ++f) {
    const IMG<P>& q = s(f);
    arq.write(NATIVO<P>::quadro, TAMTAG);
    arq.put(0x1A);
    arq.le32(sizeof(P));
    for (int v : {q.nl(), q.nc(), q.lc(), q.cc()}) arq.le32(static_cast<std::uint32_t>(v));
    if (q.data()) arq.write(q.data(), sizeof(P) * detail::npixels(q.nl(), q.nc()));
  }
  arq.close();
}

template <class P>
void le_img(I3D<P>& s, ARQLE& arq) {
  const std::string cls = detail::SEQTIPO<P>::nome;
  const std::string fim = "Erro " + cls + "::LeImg - Fim inesperado 3";
  const std::string negativo = "Erro " + cls + "::LeImg - Tamanho invalido";
  unsigned char cab[12];
  if (!arq.read(cab, 8) || std::memcmp(cab, NATIVO<P>::seq, TAMTAG) != 0)
    erro("Erro " + cls + "::LeImg - Formato incorreta 1", "");
  if (!arq.read(cab, 4)) erro(fim, "");
  const int nf = i32(cab);
  if (nf < 0) erro(negativo, "");
  // No frames: the sequence becomes empty, as the file is.
  if (nf == 0) {
    s.resize(0, 0, 0);
    return;
  }
  std::optional<detail::QUADROS<P>> quadros;  // made once frame 0 gives the sizes
  int nl = 0, nc = 0;
  for (int i = 0; i < nf; ++i) {
    if (!arq.read(cab, 12)) erro(fim, "");
    if (std::memcmp(cab, NATIVO<P>::quadro, TAMTAG) != 0 || i32(cab + 8) != static_cast<std::int32_t>(sizeof(P)))
      erro("Erro " + cls + "::LeImg - Formato incorreta 2", "");
    unsigned char h[16];
    if (!arq.read(h, 16)) erro(fim, "");
    const int l = i32(h), c = i32(h + 4);
    if (l < 0 || c < 0) erro(negativo, "");
    const std::size_t bytes = sizeof(P) * detail::npixels(l, c);
    if (i == 0) {
      nl = l;
      nc = c;
      quadros.emplace(s, nf, nl, nc);
      // A regular file must hold every frame it announces: checked before
      // the first frame is made, so that a short file costs no memory.
      const long long resta = arq.remaining();
      const long double preciso =
          static_cast<long double>(bytes) + static_cast<long double>(nf - 1) * (CABQUADRO + static_cast<long double>(bytes));
      if (resta >= 0 && static_cast<long double>(resta) < preciso) erro(fim, "");
    } else if (l != nl || c != nc) {
      erro("Erro: Dimensoes de imagens diferentes", "");
    }
    IMG<P>* q = nullptr;
    detail::le_bloco(arq, bytes, [&] {
      q = &quadros->quadro(i);
      return static_cast<void*>(q->data());
    }, fim);
    q->lc() = i32(h + 8);
    q->cc() = i32(h + 12);
  }
  quadros->entrega();
}

template <class P>
void le_img(I3D<P>& s, const std::string& nome) {
  const std::string cls = detail::SEQTIPO<P>::nome;
  ARQLE arq(nome, "rb", "Erro " + cls + "::LeImg - Abertura de ", "Erro " + cls + "::LeImg - Faltou memoria setvbuf");
  le_img(s, arq);
}

}  // namespace

template <> void I3D<SHT>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }
template <> void I3D<FLT>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }
template <> void I3D<CPXF>::ImpImg(const std::string& nome) const { imp_img(*this, nome); }

template <> void I3D<SHT>::LeImg(const std::string& nome) { le_img(*this, nome); }
template <> void I3D<FLT>::LeImg(const std::string& nome) { le_img(*this, nome); }
template <> void I3D<CPXF>::LeImg(const std::string& nome) { le_img(*this, nome); }

template <> void I3D<SHT>::LeImg(ARQLE& arq) { le_img(*this, arq); }
template <> void I3D<FLT>::LeImg(ARQLE& arq) { le_img(*this, arq); }
template <> void I3D<CPXF>::LeImg(ARQLE& arq) { le_img(*this, arq); }

}  // namespace imagorix
