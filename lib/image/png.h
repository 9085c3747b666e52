// PNG files, through libpng.
//
// Reading gives the page in the kind the file holds (see folha.h): a 1-bit
// grey file without transparency as a bilevel page (1 white), any other
// grey file as grey, palette and RGB files as colour. Samples of 16 bits are
// scaled to 8, low bit depths expanded, and transparency composited on
// white. Interlaced files are read too.
//
// Writing: IMGBIN as a 1-bit grey file, IMGGRY as 8-bit grey, IMGCOR as
// 8-bit RGB.
//
// Messages: "Erro LePng - Abertura de " or "Erro ImpPng - Abertura de " and
// the name when the file cannot be opened; any error the codec reports ends
// with "Erro LePng - " or "Erro ImpPng - " and its message. Write failures
// are those of every writer: the partial file is removed.
#pragma once
#include <string>

#include "image/folha.h"

namespace imagorix {

class ARQLE;

FOLHA LePng(const std::string& nome);
// The same on a file opened with ARQLE::VOLTA, from its start.
FOLHA LePng(ARQLE& arq);
// The kind of page the file holds, from its header; the file is left past
// what was read.
FOLHA::Tipo TipoPng(ARQLE& arq);

void ImpPng(const IMGBIN& img, const std::string& nome);
void ImpPng(const IMGGRY& img, const std::string& nome);
void ImpPng(const IMGCOR& img, const std::string& nome);

}  // namespace imagorix
