// The formats of each sequence class: which detected types it reads and how,
// which suffixes it writes and how.
#include "video/leimp.h"

#include "video/avi.h"
#include "video/formatoseq.h"

namespace imagorix {

namespace {

void avi_gry(I3DGRY& s, ARQLE& a) { LeAvi(s, a); }
void avi_cor(I3DCOR& s, ARQLE& a) { LeAvi(s, a); }
void avi_flt(I3DFLT& s, ARQLE& a) { LeAvi(s, a); }
template <class I> void nativo(I& s, ARQLE& a) { s.LeImg(a); }

constexpr LEITOR<I3DGRY> LE_GRY[] = {{TIPO_AVI8, avi_gry}};
constexpr LEITOR<I3DCOR> LE_COR[] = {{TIPO_AVI24, avi_cor}};
constexpr LEITOR<I3DSHT> LE_SHT[] = {{TIPO_I3DSHT, nativo<I3DSHT>}};
constexpr LEITOR<I3DFLT> LE_FLT[] = {{TIPO_I3DFLT, nativo<I3DFLT>}, {TIPO_AVI8, avi_flt}};
constexpr LEITOR<I3DCPX> LE_CPX[] = {{TIPO_I3DCPX, nativo<I3DCPX>}};

template <class I> void imp_img(const I& s, const SUFIXO& x) { s.ImpImg(x.nome); }
template <class I> void imp_tga(const I& s, const SUFIXO& x) { s.ImpTga(x.nome); }
template <class I> void imp_avi(const I& s, const SUFIXO& x) { ImpAvi(s, x.nome); }

// A real sequence goes to AVI as grey frames, converted by the image rule.
void flt_avi(const I3DFLT& s, const SUFIXO& x) {
  I3DGRY g(s.nf(), s.nl(), s.nc());
  for (int i = 0; i < s.nf(); ++i) g(i) = IMGGRY(s(i));
  ImpAvi(g, x.nome);
}

constexpr ESCRITOR<I3DGRY> IMP_GRY[] = {{TIPO_AVI8, imp_avi<I3DGRY>}, {TIPO_SEMSUF, imp_tga<I3DGRY>}};
constexpr ESCRITOR<I3DCOR> IMP_COR[] = {{TIPO_AVI8, imp_avi<I3DCOR>}, {TIPO_SEMSUF, imp_tga<I3DCOR>}};
constexpr ESCRITOR<I3DSHT> IMP_SHT[] = {{TIPO_IMGSHT, imp_img<I3DSHT>}, {TIPO_SEMSUF, imp_tga<I3DSHT>}};
constexpr ESCRITOR<I3DFLT> IMP_FLT[] = {
    {TIPO_IMGSHT, imp_img<I3DFLT>}, {TIPO_AVI8, flt_avi}, {TIPO_SEMSUF, imp_tga<I3DFLT>}};
constexpr ESCRITOR<I3DCPX> IMP_CPX[] = {{TIPO_IMGSHT, imp_img<I3DCPX>}};

}  // namespace

template <>
const FORMATOS<I3DGRY>& formatos<I3DGRY>() {
  static const FORMATOS<I3DGRY> f{LE_GRY, {}, IMP_GRY,
                                  " Erro: deve imprimir I3DGRY como seq de TGA (nome sem extensao) ou AVI"};
  return f;
}
template <>
const FORMATOS<I3DCOR>& formatos<I3DCOR>() {
  static const FORMATOS<I3DCOR> f{LE_COR, {}, IMP_COR,
                                  " Erro: deve imprimir I3DCOR como seq de TGA (nome sem extensao) ou AVI"};
  return f;
}
template <>
const FORMATOS<I3DSHT>& formatos<I3DSHT>() {
  static const FORMATOS<I3DSHT> f{LE_SHT, {}, IMP_SHT,
                                  " Erro: deve imprimir I3DSHT como IMG ou seq de TGA (nome sem extensao)"};
  return f;
}
template <>
const FORMATOS<I3DFLT>& formatos<I3DFLT>() {
  static const FORMATOS<I3DFLT> f{LE_FLT, {}, IMP_FLT,
                                  " Erro: deve imprimir I3DFLT como IMG ou seq de TGA (nome sem extensao)"};
  return f;
}
template <>
const FORMATOS<I3DCPX>& formatos<I3DCPX>() {
  static const FORMATOS<I3DCPX> f{LE_CPX, {}, IMP_CPX, " Erro: deve imprimir I3DCPX como IMG"};
  return f;
}

void le(I3DGRY& s, const std::string& nome) { le_formato(s, nome); }
void le(I3DCOR& s, const std::string& nome) { le_formato(s, nome); }
void le(I3DSHT& s, const std::string& nome) { le_formato(s, nome); }
void le(I3DFLT& s, const std::string& nome) { le_formato(s, nome); }
void le(I3DCPX& s, const std::string& nome) { le_formato(s, nome); }

void le(I3DGRY& s, ARQLE& arq) { le_formato(s, arq); }
void le(I3DCOR& s, ARQLE& arq) { le_formato(s, arq); }
void le(I3DSHT& s, ARQLE& arq) { le_formato(s, arq); }
void le(I3DFLT& s, ARQLE& arq) { le_formato(s, arq); }
void le(I3DCPX& s, ARQLE& arq) { le_formato(s, arq); }

void imp(const I3DGRY& s, const std::string& nome) { imp_formato(s, nome); }
void imp(const I3DCOR& s, const std::string& nome) { imp_formato(s, nome); }
void imp(const I3DSHT& s, const std::string& nome) { imp_formato(s, nome); }
void imp(const I3DFLT& s, const std::string& nome) { imp_formato(s, nome); }
void imp(const I3DCPX& s, const std::string& nome) { imp_formato(s, nome); }

}  // namespace imagorix
