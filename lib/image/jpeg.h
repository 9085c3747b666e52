// JPEG files, through libjpeg (6b interface).
//
// Grey images are written as one-component files, colour images as
// three-component RGB files; rows go top first. Reading takes the size from
// the decoder's output. Into a grey image a three-component file becomes
// (r + g + b + 1) / 3; into a colour image a one-component file gives r = g = b.
// Any other component count is refused with "JPG deve ter 1 ou 3 planos de
// cores".
//
// Errors libjpeg reports while reading are printed with its own message and
// end with "Erro: Leitura JPG"; while writing, a failed write ends with
// "Erro ImpJpg - Falha de escrita " and the name, any other library error
// prints the library's message and ends with "Erro: Escrita JPG". A failed
// writer leaves no partial regular file behind.
#pragma once
#include <string>

#include "image/img.h"

namespace imagorix {

void LeJpg(IMGGRY& img, const std::string& nome);
void LeJpg(IMGCOR& img, const std::string& nome);
// The same on a file already open, from its start.
void LeJpg(IMGGRY& img, ARQLE& arq);
void LeJpg(IMGCOR& img, ARQLE& arq);

// quality goes to libjpeg unchanged; it clamps it to 1 ... 100.
void ImpJpg(const IMGGRY& img, const std::string& nome, int quality);
void ImpJpg(const IMGCOR& img, const std::string& nome, int quality);

// Number of components of the file's frame (1 for grey, 3 for colour), read
// from its header only. Errors as LeJpg.
int PlanosJpg(const std::string& nome);
int PlanosJpg(ARQLE& arq);

}  // namespace imagorix
