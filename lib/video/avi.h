// Uncompressed AVI video: 8-bit grey with a 256-entry grey palette, and 24-bit
// colour.
//
// ImpAvi writes a RIFF "AVI " file with one video stream ("vids", handler
// "DIB "), one "00db" chunk per frame (rows bottom-up, each padded to a
// multiple of 4 bytes, colour as blue, green, red) and an "idx1" index. Grey
// files always say 250000 microseconds per frame; colour files carry the
// sequence's fd (which must be positive). A sequence without frames, rows or
// columns is refused, and so is one whose file would pass the 4 GiB a RIFF
// size can count; nothing is created then.
//
// LeAvi reads such files back. The grey reader is strict: it takes the
// chunks in the writer's order, allowing only "JUNK" padding (and a "strn"
// name) in between, chunk bodies up to 4096 bytes, and exactly the announced
// frames of the announced size. The colour reader walks the lists, counting
// their bytes, and passes over chunks it does not use; it also takes the
// variants common writers make of an uncompressed stream: a handler of four
// zero bytes, frames in "00dc" chunks, and top-down rows (a negative height
// in the format chunk). Both read the announced number of frames and stop
// with "Erro: Fim de arquivo inesperado" when the file holds fewer. A real
// sequence reads an 8-bit file through the grey reader, each level v
// becoming v / 255.
#pragma once
#include <string>

#include "video/i3d.h"

namespace imagorix {

class ARQLE;

void ImpAvi(const I3DGRY& seq, const std::string& nome);
void ImpAvi(const I3DCOR& seq, const std::string& nome);

void LeAvi(I3DGRY& seq, const std::string& nome);
void LeAvi(I3DCOR& seq, const std::string& nome);
void LeAvi(I3DFLT& seq, const std::string& nome);
// The same on a file already open at its start (a pipe too).
void LeAvi(I3DGRY& seq, ARQLE& arq);
void LeAvi(I3DCOR& seq, ARQLE& arq);
void LeAvi(I3DFLT& seq, ARQLE& arq);

}  // namespace imagorix
