// Generic reading and writing of sequences: the caller never picks a format.
//
// le reads the file types TipoImg recognises that the class can take:
//
//   I3DGRY  8-bit AVI
//   I3DCOR  24-bit AVI
//   I3DSHT  native short sequence ("I3DSHT*")
//   I3DFLT  native real sequence ("I3DFLT*"); 8-bit AVI, each level v as v / 255
//   I3DCPX  native complex sequence ("I3DCPX*")
//
// and ends the program with "Tipo de imagem invalido " and the name for any
// other. imp writes in the format the name's suffix chooses (Sufixo in
// image/tipo.h); a name without a '.' is the base of a series of TGA files,
// one per frame (base000.tga, base001.tga, ...):
//
//   I3DGRY  avi, TGA series
//   I3DCOR  avi (24-bit), TGA series (24-bit)
//   I3DSHT  img, TGA series (values clamped to 0 ... 255)
//   I3DFLT  img, avi and TGA series as grey (below 0 black, above 1 white,
//           else v * 255 truncated)
//   I3DCPX  img
//
// Any other suffix ends the program with the name as given, two blanks and a
// message naming the formats of the class.
#pragma once
#include <string>

#include "video/i3d.h"

namespace imagorix {

class ARQLE;

void le(I3DGRY& seq, const std::string& nome);
void le(I3DCOR& seq, const std::string& nome);
void le(I3DSHT& seq, const std::string& nome);
void le(I3DFLT& seq, const std::string& nome);
void le(I3DCPX& seq, const std::string& nome);

// The same on a file opened with ARQLE::VOLTA, as TipoImg(ARQLE&) takes it.
void le(I3DGRY& seq, ARQLE& arq);
void le(I3DCOR& seq, ARQLE& arq);
void le(I3DSHT& seq, ARQLE& arq);
void le(I3DFLT& seq, ARQLE& arq);
void le(I3DCPX& seq, ARQLE& arq);

void imp(const I3DGRY& seq, const std::string& nome);
void imp(const I3DCOR& seq, const std::string& nome);
void imp(const I3DSHT& seq, const std::string& nome);
void imp(const I3DFLT& seq, const std::string& nome);
void imp(const I3DCPX& seq, const std::string& nome);

}  // namespace imagorix
