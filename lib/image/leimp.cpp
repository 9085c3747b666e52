#include "image/leimp.h"

#include "base/erro.h"
#include "image/jpeg.h"
#include "image/pnm.h"
#include "image/tipo.h"

namespace imagorix {

namespace {

[[noreturn]] void recusa(const std::string& nome) { erro("Tipo de imagem invalido ", nome); }

// The formats whose readers fill a grey, colour or binary image, each read
// into a fresh image of that class.
IMGGRY cinza(int tipo, const std::string& nome) {
  IMGGRY g;
  switch (tipo) {
    case TIPO_TGA: g.LeTga(nome); break;
    case TIPO_TGAP: g.LeTgaP(nome); break;
    case TIPO_JPG: LeJpg(g, nome); break;
    case TIPO_PGMT: lepgmt(g, nome); break;
    case TIPO_PGMB: lepgmb(g, nome); break;
    default: recusa(nome);
  }
  return g;
}

IMGCOR colorida(int tipo, const std::string& nome) {
  IMGCOR k;
  switch (tipo) {
    case TIPO_TGA24: k.LeTga(nome); break;
    case TIPO_TGAP: k.LeTgaP(nome); break;
    case TIPO_JPG: LeJpg(k, nome); break;
    case TIPO_PPMT: leppmt(k, nome); break;
    case TIPO_PPMB: leppmb(k, nome); break;
    default: recusa(nome);
  }
  return k;
}

IMGBIN binaria(int tipo, const std::string& nome) {
  IMGBIN b;
  switch (tipo) {
    case TIPO_BMP: b.LeBmp(nome); break;
    case TIPO_PBMT: lepbmt(b, nome); break;
    case TIPO_PBMB: lepbmb(b, nome); break;
    default: recusa(nome);
  }
  return b;
}

IMGFLT real(const std::string& nome) {
  IMGFLT f;
  f.LeImg(nome);
  return f;
}

// The image formats every class that converts from binary, grey and colour
// takes in the same way: colour-mapped TGA and JPEG as grey.
template <class I>
bool le_convertendo(I& img, int tipo, const std::string& nome) {
  switch (tipo) {
    case TIPO_TGA:
    case TIPO_TGAP:
    case TIPO_JPG:
    case TIPO_PGMT:
    case TIPO_PGMB:
      img = cinza(tipo, nome);
      return true;
    case TIPO_TGA24:
    case TIPO_PPMT:
    case TIPO_PPMB:
      img = colorida(tipo, nome);
      return true;
    case TIPO_BMP:
    case TIPO_PBMT:
    case TIPO_PBMB:
      img = binaria(tipo, nome);
      return true;
  }
  return false;
}

}  // namespace

void le(IMGBIN& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_BMP: img.LeBmp(nome); return;
    case TIPO_PBMT: lepbmt(img, nome); return;
    case TIPO_PBMB: lepbmb(img, nome); return;
    case TIPO_TXT: img.LeTxt(nome); return;
  }
  if (!le_convertendo(img, tipo, nome)) recusa(nome);
}

void le(IMGGRY& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_TGA: img.LeTga(nome); return;
    case TIPO_TGAP: img.LeTgaP(nome); return;
    case TIPO_JPG: LeJpg(img, nome); return;
    case TIPO_PGMT: lepgmt(img, nome); return;
    case TIPO_PGMB: lepgmb(img, nome); return;
    case TIPO_TXT: img.LeTxt(nome); return;
    case TIPO_IMGFLT: img = real(nome); return;
  }
  if (!le_convertendo(img, tipo, nome)) recusa(nome);
}

void le(IMGCOR& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_TGA24: img.LeTga(nome); return;
    case TIPO_TGAP: img.LeTgaP(nome); return;
    case TIPO_JPG: LeJpg(img, nome); return;
    case TIPO_PPMT: leppmt(img, nome); return;
    case TIPO_PPMB: leppmb(img, nome); return;
    case TIPO_TXT: img.LeTxt(nome); return;
    case TIPO_IMGFLT: img = real(nome); return;
  }
  if (!le_convertendo(img, tipo, nome)) recusa(nome);
}

// Short images convert from grey only: binary and colour files go through
// grey, and the 24-bit TGA and BMP formats are refused.
void le(IMGSHT& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_TXT: img.LeTxt(nome); return;
    case TIPO_IMGSHT: img.LeImg(nome); return;
    case TIPO_TGA:
    case TIPO_TGAP:
    case TIPO_JPG:
    case TIPO_PGMT:
    case TIPO_PGMB:
      img = cinza(tipo, nome);
      return;
    case TIPO_PBMT:
    case TIPO_PBMB:
      img = IMGGRY(binaria(tipo, nome));
      return;
    case TIPO_PPMT:
    case TIPO_PPMB:
      img = IMGGRY(colorida(tipo, nome));
      return;
  }
  recusa(nome);
}

void le(IMGFLT& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_TXT: img.LeTxt(nome); return;
    case TIPO_IMGFLT: img.LeImg(nome); return;
  }
  if (!le_convertendo(img, tipo, nome)) recusa(nome);
}

void le(IMGDBL& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_TXT: img.LeTxt(nome); return;
    case TIPO_IMGDBL: img.LeImg(nome); return;
  }
  if (!le_convertendo(img, tipo, nome)) recusa(nome);
}

void le(IMGCPX& img, const std::string& nome) {
  const int tipo = TipoImg(nome);
  switch (tipo) {
    case TIPO_TXT: img.LeTxt(nome); return;
    case TIPO_IMGCPX: img.LeImg(nome); return;
  }
  if (!le_convertendo(img, tipo, nome)) recusa(nome);
}

void imp(const IMGBIN& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_BMP: img.ImpBmp(s.nome); return;
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_PBMT: imppbmt(img, s.nome); return;
    case TIPO_PBMB: imppbmb(img, s.nome); return;
  }
  erro(nome, " Erro: IMGBIN deve ser impresso em formato BMP ou TXT (MAT) ou PBM");
}

void imp(const IMGGRY& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_TGA: img.imp(s.nome); return;
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_JPG: ImpJpg(img, s.nome, s.num); return;
    case TIPO_PGMT: imppgmt(img, s.nome); return;
    case TIPO_PGMB: imppgmb(img, s.nome); return;
  }
  erro(nome, " Erro: IMGGRY deve ser impresso em formato TGA, TXT (MAT), JPG ou PGM");
}

void imp(const IMGCOR& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_TGA: img.ImpTga(s.nome); return;
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_JPG: ImpJpg(img, s.nome, s.num); return;
    case TIPO_PPMT: impppmt(img, s.nome); return;
    case TIPO_PPMB: impppmb(img, s.nome); return;
  }
  erro(nome, " Erro: IMGCOR deve ser impresso em formato TGA, TXT (MAT), JPG ou PPM");
}

void imp(const IMGSHT& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_TGA: IMGGRY(img).imp(s.nome); return;  // clamped to 0 ... 255
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_IMGSHT: img.ImpImg(s.nome); return;
  }
  erro(nome, " Erro: IMGSHT deve ser impresso como TXT (MAT), IMG ou TGA (com perda de info)");
}

void imp(const IMGFLT& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_TGA: IMGGRY(img).imp(s.nome); return;
    case TIPO_BMP: IMGBIN(img).ImpBmp(s.nome); return;
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_IMGSHT: img.ImpImg(s.nome); return;
    case TIPO_JPG: ImpJpg(IMGGRY(img), s.nome, s.num); return;
    case TIPO_PGMT: imppgmt(IMGGRY(img), s.nome); return;
    case TIPO_PGMB: imppgmb(IMGGRY(img), s.nome); return;
  }
  erro(nome, " Erro: IMGFLT deve ser impresso como TXT (MAT), IMG ou TGA (com perda de info)");
}

void imp(const IMGDBL& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_TGA: IMGGRY(img).imp(s.nome); return;
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_IMGSHT: img.ImpImg(s.nome); return;
    case TIPO_JPG: ImpJpg(IMGGRY(img), s.nome, s.num); return;
    case TIPO_PGMT: imppgmt(IMGGRY(img), s.nome); return;
    case TIPO_PGMB: imppgmb(IMGGRY(img), s.nome); return;
  }
  erro(nome, " Erro: IMGDBL deve ser impresso como TXT (MAT), IMG ou TGA (com perda de info)");
}

void imp(const IMGCPX& img, const std::string& nome) {
  const SUFIXO s = Sufixo(nome);
  switch (s.tipo) {
    case TIPO_TXT: img.ImpTxt(s.nome); return;
    case TIPO_IMGSHT: img.ImpImg(s.nome); return;
  }
  erro(nome, " Erro: IMGCPX deve ser impresso como TXT (MAT), ou IMG");
}

}  // namespace imagorix
