// File types: detection from a file's contents and choice from a name.
//
// Both yield the same integer codes, which the generic readers and writers
// of images and sequences switch on. The values are fixed.
#pragma once
#include <string>

namespace imagorix {

class ARQLE;

inline constexpr int TIPO_TGA = 1;       // 8-bit grey TGA; "tga" for writing
inline constexpr int TIPO_TGAP = 2;      // 8-bit colour-mapped TGA
inline constexpr int TIPO_TGA24 = 3;     // 24-bit TGA
inline constexpr int TIPO_BMP = 4;       // 1-bit BMP
inline constexpr int TIPO_TXT = 5;       // text matrix, TXT (MAT)
inline constexpr int TIPO_IMGSHT = 11;   // native file; "img" for writing
inline constexpr int TIPO_IMGFLT = 13;
inline constexpr int TIPO_I3DFLT = 14;
inline constexpr int TIPO_IMGCPX = 15;
inline constexpr int TIPO_I3DSHT = 16;
inline constexpr int TIPO_IMGDBL = 17;
inline constexpr int TIPO_I3DCPX = 18;   // native complex sequence, tag "I3DCPX*"
inline constexpr int TIPO_JPG = 21;
inline constexpr int TIPO_OUTRO = 30;    // a suffix no format has
inline constexpr int TIPO_SEMSUF = 40;   // a name without a '.'
inline constexpr int TIPO_AVI8 = 51;     // 8-bit AVI; "avi" or "has" for writing
inline constexpr int TIPO_AVI24 = 52;
inline constexpr int TIPO_PBMT = 61;     // plain (text) PBM, PGM, PPM
inline constexpr int TIPO_PGMT = 62;
inline constexpr int TIPO_PPMT = 63;
inline constexpr int TIPO_PBMB = 64;     // raw (binary) PBM, PGM, PPM
inline constexpr int TIPO_PGMB = 65;
inline constexpr int TIPO_PPMB = 66;
inline constexpr int TIPO_PNG = 71;      // PNG, through libpng; "png" for writing
inline constexpr int TIPO_TIFF = 72;     // TIFF, through libtiff; "tif" or "tiff"

// The type of the file nome from its first 192 bytes (a shorter file counts
// as padded with zeros) and, for text matrices, its first two tokens. Ends
// the program when the file cannot be opened or is of no known type.
int TipoImg(const std::string& nome);
// The same on a file opened, as TipoImg opens it, with the messages below and
// ARQLE::VOLTA; the file is left at its start for the reader that follows,
// which so reads what detection read, from a pipe too.
int TipoImg(ARQLE& arq);
inline constexpr const char* TIPO_ABERTURA = "Erro TipoImg - Abertura ";
inline constexpr const char* TIPO_BUFFER = "Erro TipoImg - Faltou memoria setvbuf";

// The format a type code stands for, in words ("1-bit BMP"); "unknown" for
// a code that is none.
const char* NomeTipo(int tipo);

// What a writer makes of a name.
struct SUFIXO {
  std::string nome;  // the name to write under (without the number)
  int tipo = TIPO_OUTRO;
  int num = 0;       // the number after the suffix; the quality for JPEG
};

// The suffix is what follows the last '.' of the whole name, in any case.
// Its first three characters choose the type; whatever follows them must
// begin with an integer, which selects the plain PNM variant (nonzero) or the
// JPEG quality (0 means 90), and is dropped from the name:
//   out.pbm -> raw PBM "out.pbm";  out.pbm1 -> plain PBM "out.pbm";
//   photo.jpg75 -> JPEG "photo.jpg" of quality 75;  clip -> TIPO_SEMSUF.
// "tiff" is the one four-letter suffix: it names a TIFF, as "tif" does.
// Ends the program with "Erro: nome arquivo invalido" for an empty name or
// one over 255 characters, and with "Erro suf do arquivo: numero apos suf"
// when no integer (within the range of int) follows the three characters.
SUFIXO Sufixo(const std::string& nome);

}  // namespace imagorix
