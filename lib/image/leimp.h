// Generic reading and writing of images: the caller never picks a format.
//
// Detection and reading share one open file, so a pipe or /dev/stdin reads
// like a regular file.
//
// le reads any file TipoImg recognises and the class can take: the format's
// own reader fills the class it reads into (binary for BMP and PBM, grey for
// grey TGA, PGM and JPEG, colour for true-colour TGA and PPM, the class of a
// native file, the kind the page is for PNG and TIFF), and the result is
// converted into the caller's class. A
// colour-mapped TGA or a JPEG is read in colour only into IMGCOR; other
// classes get its grey levels. A type the class cannot take ends the
// program with "Tipo de imagem invalido " and the name.
//
// imp writes in the format the name's suffix chooses (see Sufixo in
// image/tipo.h), under the name without the number, converting a copy where
// the class has no writer of its own for that format:
//
//   IMGBIN  bmp, txt/mat, pbm, png (1-bit), tif (CCITT G4)
//   IMGGRY  tga, txt/mat, jpg, pgm, png, tif (Deflate)
//   IMGCOR  tga (24-bit), txt/mat, jpg, ppm, png, tif (Deflate)
//   IMGSHT  tga (values clamped to 0 ... 255), txt/mat, img
//   IMGFLT  tga, jpg, pgm (as grey), bmp (0.5 and above white), txt/mat, img
//   IMGDBL  tga, jpg, pgm (as grey), txt/mat, img
//   IMGCPX  txt/mat, img
//
// Any other suffix ends the program with the name as given, two blanks and a
// message naming the formats of the class.
#pragma once
#include <string>

#include "image/img.h"
#include "image/imgbin.h"

namespace imagorix {

void le(IMGBIN& img, const std::string& nome);
void le(IMGGRY& img, const std::string& nome);
void le(IMGCOR& img, const std::string& nome);
void le(IMGSHT& img, const std::string& nome);
void le(IMGFLT& img, const std::string& nome);
void le(IMGDBL& img, const std::string& nome);
void le(IMGCPX& img, const std::string& nome);

// The same on a file opened with ARQLE::VOLTA, as TipoImg(ARQLE&) takes it,
// for a caller that looked at the file first (its type, say) and must not
// open it again, as a pipe cannot be.
void le(IMGBIN& img, ARQLE& arq);
void le(IMGGRY& img, ARQLE& arq);
void le(IMGCOR& img, ARQLE& arq);
void le(IMGSHT& img, ARQLE& arq);
void le(IMGFLT& img, ARQLE& arq);
void le(IMGDBL& img, ARQLE& arq);
void le(IMGCPX& img, ARQLE& arq);

void imp(const IMGBIN& img, const std::string& nome);
void imp(const IMGGRY& img, const std::string& nome);
void imp(const IMGCOR& img, const std::string& nome);
void imp(const IMGSHT& img, const std::string& nome);
void imp(const IMGFLT& img, const std::string& nome);
void imp(const IMGDBL& img, const std::string& nome);
void imp(const IMGCPX& img, const std::string& nome);

}  // namespace imagorix
