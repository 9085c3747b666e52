// TIFF files, through libtiff.
//
// Reading takes files of one page: bilevel (1 bit per sample) as a
// bilevel page, grey as grey, palette, RGB and the other colour models as
// colour; uncompressed, PackBits, LZW, Deflate, CCITT G3 and G4, both
// photometric interpretations of black and white. Samples of 16 bits are
// scaled to 8 and transparency is composited on white. A file of more than
// one page is refused with a message that gives the number of pages, since
// signing one page of a document alone would mislead.
//
// Writing: IMGBIN as a CCITT G4 file (0 white, the archive form of bilevel
// pages), IMGGRY as 8-bit grey and IMGCOR as 8-bit RGB, both Deflate.
//
// Messages: "Erro LeTiff - Abertura de " or "Erro ImpTiff - Abertura de "
// and the name when the file cannot be opened; any error the codec reports
// ends with "Erro LeTiff - " or "Erro ImpTiff - " and its message.
#pragma once
#include <string>

#include "image/folha.h"

namespace imagorix {

class ARQLE;

FOLHA LeTiff(const std::string& nome);
// The same on a file opened with ARQLE::VOLTA, from its start.
FOLHA LeTiff(ARQLE& arq);
// The kind of page the file holds, from its header (the whole file is read
// to find it); the file is left at its end. Errors as LeTiff.
FOLHA::Tipo TipoTiff(ARQLE& arq);

void ImpTiff(const IMGBIN& img, const std::string& nome);
void ImpTiff(const IMGGRY& img, const std::string& nome);
void ImpTiff(const IMGCOR& img, const std::string& nome);

}  // namespace imagorix
