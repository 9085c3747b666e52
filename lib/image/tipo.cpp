#include "image/tipo.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>

#include "base/arquivo.h"
#include "base/erro.h"
#include "base/lenum.h"
#include "base/strutil.h"

namespace imagorix {

namespace {

constexpr std::size_t NCAB = 192;

// The integer a "%d" conversion reads at the start of s. False when there is
// none or it does not fit an int (where sscanf would give an unspecified
// value).
bool inteiro(const char* s, int& v) {
  std::int64_t x;
  if (!LeDecimal(s, x) || x > INT_MAX || x < INT_MIN) return false;
  v = static_cast<int>(x);
  return true;
}

// A text token holds an integer as far as detection is concerned even when
// its value is too large for an int: the text reader judges the value.
bool comeca_inteiro(const std::string& t) {
  const char* s = t.c_str();
  if (*s == '+' || *s == '-') ++s;
  return *s >= '0' && *s <= '9';
}

struct CABECALHO {
  unsigned char b[NCAB];

  std::uint32_t u16(int k) const { return u16le(b + k); }
  std::uint32_t u32(int k) const { return u32le(b + k); }
  bool zeros(int de, int ate) const {
    for (int k = de; k <= ate; ++k)
      if (b[k]) return false;
    return true;
  }
  bool bytes(int k, const char* s, int n) const { return std::memcmp(b + k, s, std::size_t(n)) == 0; }
  // Bytes 0 ... n-1 as a string, ending early at a zero byte.
  std::string texto(int n) const {
    std::string s;
    for (int k = 0; k < n && b[k]; ++k) s += static_cast<char>(b[k]);
    return s;
  }
};

// Whether the first two number tokens are integers. A first token that is
// not spares reading a second one.
bool texto_matriz(ARQLE& arq) {
  const bool sim = comeca_inteiro(LeTokenNum(arq.get())) && comeca_inteiro(LeTokenNum(arq.get()));
  arq.rebobina();
  return sim;
}

}  // namespace

int TipoImg(const std::string& nome) {
  ARQLE arq(nome, "rb", TIPO_ABERTURA, TIPO_BUFFER, ARQLE::VOLTA);
  return TipoImg(arq);
}

int TipoImg(ARQLE& arq) {
  CABECALHO h;
  arq.peek(h.b, NCAB);  // what a short file lacks reads as zero
  const unsigned char* b = h.b;

  if (h.bytes(0, "\x00\x00\x03\x00", 4) && h.zeros(4, 11) && b[16] == 8) return TIPO_TGA;
  if (h.bytes(0, "\x00\x01\x01\x00", 4) && b[4] == 0 && b[7] == 24 && h.zeros(8, 11) && b[16] == 8)
    return TIPO_TGAP;
  if (h.bytes(0, "\x00\x00\x02\x00", 4) && h.zeros(4, 11) && b[16] == 24) return TIPO_TGA24;
  if (h.bytes(0, "BM", 2) && h.u16(28) == 1 && h.u32(30) == 0 && (h.u32(46) == 0 || h.u32(46) == 2))
    return TIPO_BMP;
  if (b[0] == 0xFF && b[1] == 0xD8) return TIPO_JPG;
  if (h.bytes(0, "\x89PNG\r\n\x1a\n", 8)) return TIPO_PNG;
  // Classic and big TIFF, in either byte order.
  if (h.bytes(0, "II*\0", 4) || h.bytes(0, "MM\0*", 4) || h.bytes(0, "II+\0", 4) || h.bytes(0, "MM\0+", 4))
    return TIPO_TIFF;
  if (h.bytes(0, "RIFF", 4) && h.bytes(8, "AVI ", 4)) {
    // Planes and bits per pixel, then compression, of the first stream's
    // bitmap header.
    const std::uint32_t bits = h.u32(184), comp = h.u32(188);
    if (bits == 0x00080001u && comp == 0) return TIPO_AVI8;
    if (bits == 0x00180001u && comp == 0) return TIPO_AVI24;
    erro("Erro TipoImg - Formato deve ser JPG ou um dos nao-compactados: BMP-1bit ou TGA-8bits ou "
         "TGA-24bits ou .TXT (MAT) ou .IMG ou .AVI",
         "");
  }
  if (texto_matriz(arq)) return TIPO_TXT;

  const std::string tag = h.texto(7);
  if (tag == "IMGSHT*") return TIPO_IMGSHT;
  if (tag == "IMGFLT*") return TIPO_IMGFLT;
  if (tag == "I3DFLT*") return TIPO_I3DFLT;
  if (tag == "IMGCPX*") return TIPO_IMGCPX;
  if (tag == "I3DSHT*") return TIPO_I3DSHT;
  if (tag == "IMGDBL*") return TIPO_IMGDBL;
  if (tag == "I3DCPX*") return TIPO_I3DCPX;

  const std::string magic = h.texto(2);
  if (magic.size() == 2 && magic[0] == 'P' && magic[1] >= '1' && magic[1] <= '6')
    return TIPO_PBMT + (magic[1] - '1');

  erro("Erro TipoImg - Formato deve ser JPG ou um dos nao-compactados: BMP-1bit ou TGA-8bits ou "
       "TGA-24bits ou .TXT (MAT) ou .IMG ou .AVIou PBM ou PGM ou PPM",
       "");
}

const char* NomeTipo(int tipo) {
  switch (tipo) {
    case TIPO_TGA: return "grey TGA";
    case TIPO_TGAP: return "colour-mapped TGA";
    case TIPO_TGA24: return "true-colour TGA";
    case TIPO_BMP: return "1-bit BMP";
    case TIPO_TXT: return "text matrix";
    case TIPO_IMGSHT: return "native short image";
    case TIPO_IMGFLT: return "native real image";
    case TIPO_I3DFLT: return "native real sequence";
    case TIPO_IMGCPX: return "native complex image";
    case TIPO_I3DSHT: return "native short sequence";
    case TIPO_IMGDBL: return "native double image";
    case TIPO_I3DCPX: return "native complex sequence";
    case TIPO_JPG: return "JPEG";
    case TIPO_AVI8: return "8-bit AVI";
    case TIPO_AVI24: return "24-bit AVI";
    case TIPO_PBMT: return "plain PBM";
    case TIPO_PGMT: return "plain PGM";
    case TIPO_PPMT: return "plain PPM";
    case TIPO_PBMB: return "raw PBM";
    case TIPO_PGMB: return "raw PGM";
    case TIPO_PPMB: return "raw PPM";
    case TIPO_PNG: return "PNG";
    case TIPO_TIFF: return "TIFF";
  }
  return "unknown";
}

SUFIXO Sufixo(const std::string& nome) {
  if (nome.empty() || nome.size() > 255) erro(NOME_INVALIDO, "");
  SUFIXO s;
  s.nome = nome;
  // A dot in a directory part counts too.
  const std::size_t ponto = nome.rfind('.');
  if (ponto == std::string::npos) {
    s.tipo = TIPO_SEMSUF;
    return s;
  }
  std::string suf = strlower(nome.substr(ponto + 1));
  if (suf == "tiff") {
    s.tipo = TIPO_TIFF;
    return s;
  }
  if (suf.size() >= 4) {
    if (!inteiro(suf.c_str() + 3, s.num)) erro("Erro suf do arquivo: numero apos suf", "");
    suf.resize(3);
    s.nome = nome.substr(0, ponto + 4);
  }
  const bool plano = s.num != 0;
  if (suf == "tga") s.tipo = TIPO_TGA;
  else if (suf == "bmp") s.tipo = TIPO_BMP;
  else if (suf == "txt" || suf == "mat") s.tipo = TIPO_TXT;
  else if (suf == "img") s.tipo = TIPO_IMGSHT;
  else if (suf == "avi" || suf == "has") s.tipo = TIPO_AVI8;
  else if (suf == "jpg") {
    s.tipo = TIPO_JPG;
    if (s.num == 0) s.num = 90;
  } else if (suf == "pbm") s.tipo = plano ? TIPO_PBMT : TIPO_PBMB;
  else if (suf == "pgm") s.tipo = plano ? TIPO_PGMT : TIPO_PGMB;
  else if (suf == "ppm") s.tipo = plano ? TIPO_PPMT : TIPO_PPMB;
  else if (suf == "png") s.tipo = TIPO_PNG;
  else if (suf == "tif") s.tipo = TIPO_TIFF;
  else s.tipo = TIPO_OUTRO;
  return s;
}

}  // namespace imagorix
