// The formats of each image class: which detected types it reads and how,
// which suffixes it writes and how. Where a format's reader fills another
// class, the picture is converted by the class rules.
#include "image/leimp.h"

#include "image/formato.h"
#include "image/jpeg.h"
#include "image/png.h"
#include "image/pnm.h"
#include "image/tiff.h"

namespace imagorix {

namespace {

// The readers on an open file, one name each for the tables.
void bmp(IMGBIN& i, ARQLE& a) { i.LeBmp(a); }
void tga_gry(IMGGRY& i, ARQLE& a) { i.LeTga(a); }
void tgap_gry(IMGGRY& i, ARQLE& a) { i.LeTgaP(a); }
void tga_cor(IMGCOR& i, ARQLE& a) { i.LeTga(a); }
void tgap_cor(IMGCOR& i, ARQLE& a) { i.LeTgaP(a); }
void jpg_gry(IMGGRY& i, ARQLE& a) { LeJpg(i, a); }
void jpg_cor(IMGCOR& i, ARQLE& a) { LeJpg(i, a); }
void pbmt(IMGBIN& i, ARQLE& a) { lepbmt(i, a); }
void pbmb(IMGBIN& i, ARQLE& a) { lepbmb(i, a); }
void pgmt(IMGGRY& i, ARQLE& a) { lepgmt(i, a); }
void pgmb(IMGGRY& i, ARQLE& a) { lepgmb(i, a); }
void ppmt(IMGCOR& i, ARQLE& a) { leppmt(i, a); }
void ppmb(IMGCOR& i, ARQLE& a) { leppmb(i, a); }
template <class I> void txt(I& i, ARQLE& a) { i.LeTxt(a); }
// PNG and TIFF pages come in the kind the file holds, then go by the class rules.
template <class I> void png(I& i, ARQLE& a) { LePng(a).em(i); }
template <class I> void tiff(I& i, ARQLE& a) { LeTiff(a).em(i); }
template <class I> void nativo(I& i, ARQLE& a) { i.LeImg(a); }

// The image formats that every class but the short one takes alike, after
// its own entries: binary, grey and colour files read by their own readers
// and converted. Colour-mapped TGA and JPEG come as grey here.
template <class I>
constexpr LEITOR<I> IMAGENS[] = {
    {TIPO_TGA, via<I, IMGGRY, tga_gry>},   {TIPO_TGAP, via<I, IMGGRY, tgap_gry>},
    {TIPO_TGA24, via<I, IMGCOR, tga_cor>}, {TIPO_BMP, via<I, IMGBIN, bmp>},
    {TIPO_JPG, via<I, IMGGRY, jpg_gry>},   {TIPO_PBMT, via<I, IMGBIN, pbmt>},
    {TIPO_PBMB, via<I, IMGBIN, pbmb>},     {TIPO_PGMT, via<I, IMGGRY, pgmt>},
    {TIPO_PGMB, via<I, IMGGRY, pgmb>},     {TIPO_PPMT, via<I, IMGCOR, ppmt>},
    {TIPO_PPMB, via<I, IMGCOR, ppmb>},     {TIPO_PNG, png<I>},
    {TIPO_TIFF, tiff<I>},
};

constexpr LEITOR<IMGBIN> LE_BIN[] = {
    {TIPO_BMP, bmp}, {TIPO_PBMT, pbmt}, {TIPO_PBMB, pbmb}, {TIPO_TXT, txt<IMGBIN>},
};
constexpr LEITOR<IMGGRY> LE_GRY[] = {
    {TIPO_TGA, tga_gry}, {TIPO_TGAP, tgap_gry}, {TIPO_JPG, jpg_gry},
    {TIPO_PGMT, pgmt},   {TIPO_PGMB, pgmb},     {TIPO_TXT, txt<IMGGRY>},
    {TIPO_IMGFLT, via<IMGGRY, IMGFLT, nativo<IMGFLT>>},
};
constexpr LEITOR<IMGCOR> LE_COR[] = {
    {TIPO_TGA24, tga_cor}, {TIPO_TGAP, tgap_cor}, {TIPO_JPG, jpg_cor},
    {TIPO_PPMT, ppmt},     {TIPO_PPMB, ppmb},     {TIPO_TXT, txt<IMGCOR>},
    {TIPO_IMGFLT, via<IMGCOR, IMGFLT, nativo<IMGFLT>>},
};
// Short images convert from grey only: binary and colour files go through
// grey, and the 24-bit TGA and BMP formats are refused.
constexpr LEITOR<IMGSHT> LE_SHT[] = {
    {TIPO_TXT, txt<IMGSHT>},
    {TIPO_IMGSHT, nativo<IMGSHT>},
    {TIPO_TGA, via<IMGSHT, IMGGRY, tga_gry>},
    {TIPO_TGAP, via<IMGSHT, IMGGRY, tgap_gry>},
    {TIPO_JPG, via<IMGSHT, IMGGRY, jpg_gry>},
    {TIPO_PGMT, via<IMGSHT, IMGGRY, pgmt>},
    {TIPO_PGMB, via<IMGSHT, IMGGRY, pgmb>},
    {TIPO_PBMT, via<IMGSHT, IMGBIN, pbmt, IMGGRY>},
    {TIPO_PBMB, via<IMGSHT, IMGBIN, pbmb, IMGGRY>},
    {TIPO_PPMT, via<IMGSHT, IMGCOR, ppmt, IMGGRY>},
    {TIPO_PPMB, via<IMGSHT, IMGCOR, ppmb, IMGGRY>},
    {TIPO_PNG, png<IMGSHT>},
    {TIPO_TIFF, tiff<IMGSHT>},
};
constexpr LEITOR<IMGFLT> LE_FLT[] = {{TIPO_TXT, txt<IMGFLT>}, {TIPO_IMGFLT, nativo<IMGFLT>}};
constexpr LEITOR<IMGDBL> LE_DBL[] = {{TIPO_TXT, txt<IMGDBL>}, {TIPO_IMGDBL, nativo<IMGDBL>}};
constexpr LEITOR<IMGCPX> LE_CPX[] = {{TIPO_TXT, txt<IMGCPX>}, {TIPO_IMGCPX, nativo<IMGCPX>}};

// Writers. The real, double and short classes write the grey formats
// through a grey copy, and the real class BMP through a binary one.
template <class I> void imp_txt(const I& i, const SUFIXO& s) { i.ImpTxt(s.nome); }
template <class I> void imp_img(const I& i, const SUFIXO& s) { i.ImpImg(s.nome); }
template <class I> void imp_tga(const I& i, const SUFIXO& s) { IMGGRY(i).imp(s.nome); }
template <class I> void imp_jpg(const I& i, const SUFIXO& s) { ImpJpg(IMGGRY(i), s.nome, s.num); }
template <class I> void imp_pgmt(const I& i, const SUFIXO& s) { imppgmt(IMGGRY(i), s.nome); }
template <class I> void imp_pgmb(const I& i, const SUFIXO& s) { imppgmb(IMGGRY(i), s.nome); }

constexpr ESCRITOR<IMGBIN> IMP_BIN[] = {
    {TIPO_BMP, [](const IMGBIN& i, const SUFIXO& s) { i.ImpBmp(s.nome); }},
    {TIPO_TXT, imp_txt<IMGBIN>},
    {TIPO_PBMT, [](const IMGBIN& i, const SUFIXO& s) { imppbmt(i, s.nome); }},
    {TIPO_PBMB, [](const IMGBIN& i, const SUFIXO& s) { imppbmb(i, s.nome); }},
    {TIPO_PNG, [](const IMGBIN& i, const SUFIXO& s) { ImpPng(i, s.nome); }},
    {TIPO_TIFF, [](const IMGBIN& i, const SUFIXO& s) { ImpTiff(i, s.nome); }},
};
constexpr ESCRITOR<IMGGRY> IMP_GRY[] = {
    {TIPO_TGA, [](const IMGGRY& i, const SUFIXO& s) { i.imp(s.nome); }},
    {TIPO_TXT, imp_txt<IMGGRY>},
    {TIPO_JPG, [](const IMGGRY& i, const SUFIXO& s) { ImpJpg(i, s.nome, s.num); }},
    {TIPO_PGMT, [](const IMGGRY& i, const SUFIXO& s) { imppgmt(i, s.nome); }},
    {TIPO_PGMB, [](const IMGGRY& i, const SUFIXO& s) { imppgmb(i, s.nome); }},
    {TIPO_PNG, [](const IMGGRY& i, const SUFIXO& s) { ImpPng(i, s.nome); }},
    {TIPO_TIFF, [](const IMGGRY& i, const SUFIXO& s) { ImpTiff(i, s.nome); }},
};
constexpr ESCRITOR<IMGCOR> IMP_COR[] = {
    {TIPO_TGA, [](const IMGCOR& i, const SUFIXO& s) { i.ImpTga(s.nome); }},
    {TIPO_TXT, imp_txt<IMGCOR>},
    {TIPO_JPG, [](const IMGCOR& i, const SUFIXO& s) { ImpJpg(i, s.nome, s.num); }},
    {TIPO_PPMT, [](const IMGCOR& i, const SUFIXO& s) { impppmt(i, s.nome); }},
    {TIPO_PPMB, [](const IMGCOR& i, const SUFIXO& s) { impppmb(i, s.nome); }},
    {TIPO_PNG, [](const IMGCOR& i, const SUFIXO& s) { ImpPng(i, s.nome); }},
    {TIPO_TIFF, [](const IMGCOR& i, const SUFIXO& s) { ImpTiff(i, s.nome); }},
};
constexpr ESCRITOR<IMGSHT> IMP_SHT[] = {
    {TIPO_TGA, imp_tga<IMGSHT>},  // clamped to 0 ... 255
    {TIPO_TXT, imp_txt<IMGSHT>},
    {TIPO_IMGSHT, imp_img<IMGSHT>},
};
constexpr ESCRITOR<IMGFLT> IMP_FLT[] = {
    {TIPO_TGA, imp_tga<IMGFLT>},
    {TIPO_BMP, [](const IMGFLT& i, const SUFIXO& s) { IMGBIN(i).ImpBmp(s.nome); }},
    {TIPO_TXT, imp_txt<IMGFLT>},
    {TIPO_IMGSHT, imp_img<IMGFLT>},
    {TIPO_JPG, imp_jpg<IMGFLT>},
    {TIPO_PGMT, imp_pgmt<IMGFLT>},
    {TIPO_PGMB, imp_pgmb<IMGFLT>},
};
constexpr ESCRITOR<IMGDBL> IMP_DBL[] = {
    {TIPO_TGA, imp_tga<IMGDBL>},    {TIPO_TXT, imp_txt<IMGDBL>},   {TIPO_IMGSHT, imp_img<IMGDBL>},
    {TIPO_JPG, imp_jpg<IMGDBL>},    {TIPO_PGMT, imp_pgmt<IMGDBL>}, {TIPO_PGMB, imp_pgmb<IMGDBL>},
};
constexpr ESCRITOR<IMGCPX> IMP_CPX[] = {
    {TIPO_TXT, imp_txt<IMGCPX>},
    {TIPO_IMGSHT, imp_img<IMGCPX>},
};

}  // namespace

template <>
const FORMATOS<IMGBIN>& formatos<IMGBIN>() {
  static const FORMATOS<IMGBIN> f{LE_BIN, IMAGENS<IMGBIN>, IMP_BIN,
                                  " Erro: IMGBIN deve ser impresso em formato BMP ou TXT (MAT) ou PBM"};
  return f;
}
template <>
const FORMATOS<IMGGRY>& formatos<IMGGRY>() {
  static const FORMATOS<IMGGRY> f{LE_GRY, IMAGENS<IMGGRY>, IMP_GRY,
                                  " Erro: IMGGRY deve ser impresso em formato TGA, TXT (MAT), JPG ou PGM"};
  return f;
}
template <>
const FORMATOS<IMGCOR>& formatos<IMGCOR>() {
  static const FORMATOS<IMGCOR> f{LE_COR, IMAGENS<IMGCOR>, IMP_COR,
                                  " Erro: IMGCOR deve ser impresso em formato TGA, TXT (MAT), JPG ou PPM"};
  return f;
}
template <>
const FORMATOS<IMGSHT>& formatos<IMGSHT>() {
  static const FORMATOS<IMGSHT> f{
      LE_SHT, {}, IMP_SHT, " Erro: IMGSHT deve ser impresso como TXT (MAT), IMG ou TGA (com perda de info)"};
  return f;
}
template <>
const FORMATOS<IMGFLT>& formatos<IMGFLT>() {
  static const FORMATOS<IMGFLT> f{
      LE_FLT, IMAGENS<IMGFLT>, IMP_FLT,
      " Erro: IMGFLT deve ser impresso como TXT (MAT), IMG ou TGA (com perda de info)"};
  return f;
}
template <>
const FORMATOS<IMGDBL>& formatos<IMGDBL>() {
  static const FORMATOS<IMGDBL> f{
      LE_DBL, IMAGENS<IMGDBL>, IMP_DBL,
      " Erro: IMGDBL deve ser impresso como TXT (MAT), IMG ou TGA (com perda de info)"};
  return f;
}
template <>
const FORMATOS<IMGCPX>& formatos<IMGCPX>() {
  static const FORMATOS<IMGCPX> f{LE_CPX, IMAGENS<IMGCPX>, IMP_CPX,
                                  " Erro: IMGCPX deve ser impresso como TXT (MAT), ou IMG"};
  return f;
}

void le(IMGBIN& img, const std::string& nome) { le_formato(img, nome); }
void le(IMGGRY& img, const std::string& nome) { le_formato(img, nome); }
void le(IMGCOR& img, const std::string& nome) { le_formato(img, nome); }
void le(IMGSHT& img, const std::string& nome) { le_formato(img, nome); }
void le(IMGFLT& img, const std::string& nome) { le_formato(img, nome); }
void le(IMGDBL& img, const std::string& nome) { le_formato(img, nome); }
void le(IMGCPX& img, const std::string& nome) { le_formato(img, nome); }

void le(IMGBIN& img, ARQLE& arq) { le_formato(img, arq); }
void le(IMGGRY& img, ARQLE& arq) { le_formato(img, arq); }
void le(IMGCOR& img, ARQLE& arq) { le_formato(img, arq); }
void le(IMGSHT& img, ARQLE& arq) { le_formato(img, arq); }
void le(IMGFLT& img, ARQLE& arq) { le_formato(img, arq); }
void le(IMGDBL& img, ARQLE& arq) { le_formato(img, arq); }
void le(IMGCPX& img, ARQLE& arq) { le_formato(img, arq); }

void imp(const IMGBIN& img, const std::string& nome) { imp_formato(img, nome); }
void imp(const IMGGRY& img, const std::string& nome) { imp_formato(img, nome); }
void imp(const IMGCOR& img, const std::string& nome) { imp_formato(img, nome); }
void imp(const IMGSHT& img, const std::string& nome) { imp_formato(img, nome); }
void imp(const IMGFLT& img, const std::string& nome) { imp_formato(img, nome); }
void imp(const IMGDBL& img, const std::string& nome) { imp_formato(img, nome); }
void imp(const IMGCPX& img, const std::string& nome) { imp_formato(img, nome); }

}  // namespace imagorix
