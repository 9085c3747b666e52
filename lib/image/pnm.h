// Portable bitmap, graymap and pixmap files, plain (text) and raw (binary).
//
//   PBM  IMGBIN  P1 lepbmt / imppbmt   P4 lepbmb / imppbmb
//   PGM  IMGGRY  P2 lepgmt / imppgmt   P5 lepgmb / imppgmb
//   PPM  IMGCOR  P3 leppmt / impppmt   P6 leppmb / impppmb
//
// Readers parse the header with the number tokeniser of base/lenum.h, so
// comments and any layout of blanks are accepted there and between plain
// samples; each plain sample must be its own token ("0110" is one token, not
// four pixels). A PBM 1 is black, the reverse of IMGBIN. Samples are scaled
// to 0 ... 255 when the maximum value is not 255; raw files take at most 255.
// The raw pixel data starts right after the one separator that ends the last
// header number.
//
// Writers put the magic, the line "#Created by Imagorix", "nc nl", the
// maximum value 255 (PGM, PPM) and the rows, top row first. They do not
// modify the image.
#pragma once
#include <string>

#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

void lepbmt(IMGBIN& img, const std::string& nome);
void lepbmb(IMGBIN& img, const std::string& nome);
void lepgmt(IMGGRY& img, const std::string& nome);
void lepgmb(IMGGRY& img, const std::string& nome);
void leppmt(IMGCOR& img, const std::string& nome);
void leppmb(IMGCOR& img, const std::string& nome);

// The same on a file already open, from its start.
void lepbmt(IMGBIN& img, ARQLE& arq);
void lepbmb(IMGBIN& img, ARQLE& arq);
void lepgmt(IMGGRY& img, ARQLE& arq);
void lepgmb(IMGGRY& img, ARQLE& arq);
void leppmt(IMGCOR& img, ARQLE& arq);
void leppmb(IMGCOR& img, ARQLE& arq);

void imppbmt(const IMGBIN& img, const std::string& nome);
void imppbmb(const IMGBIN& img, const std::string& nome);
void imppgmt(const IMGGRY& img, const std::string& nome);
void imppgmb(const IMGGRY& img, const std::string& nome);
void impppmt(const IMGCOR& img, const std::string& nome);
void impppmb(const IMGCOR& img, const std::string& nome);

}  // namespace imagorix
