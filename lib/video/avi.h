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
//
// Frame by frame: IMPAVI writes a file one frame at a time and LeAvi with a
// RECEPTORAVI hands each frame over as it is read, so a clip need not be held
// whole (the converter copies an AVI this way, in the memory of a frame).
// ImpAvi and LeAvi of a sequence are built on them: the files and messages
// are the same.
#pragma once
#include <memory>
#include <string>

#include "image/img.h"
#include "video/i3d.h"

namespace imagorix {

class ARQLE;
class ARQIMP;

void ImpAvi(const I3DGRY& seq, const std::string& nome);
void ImpAvi(const I3DCOR& seq, const std::string& nome);

void LeAvi(I3DGRY& seq, const std::string& nome);
void LeAvi(I3DCOR& seq, const std::string& nome);
void LeAvi(I3DFLT& seq, const std::string& nome);
// The same on a file already open at its start (a pipe too).
void LeAvi(I3DGRY& seq, ARQLE& arq);
void LeAvi(I3DCOR& seq, ARQLE& arq);
void LeAvi(I3DFLT& seq, ARQLE& arq);

// Writes an AVI file of nf frames of nl x nc (P is BYTE or COR): the header
// when made, each frame as poe gets it, the index at fecha. The file is the
// one ImpAvi writes for the sequence of those frames; fd (microseconds per
// frame) counts for colour files only. Sizes ImpAvi would refuse are refused
// here with its messages, before a file is created; a frame of another size
// ends with "Erro: Dimensoes de imagens diferentes", a frame past the nf-th
// with "Erro ImpAvi(...) - Quadros demais " and fecha before the nf-th with
// "Erro ImpAvi(...) - Faltam quadros ", each with the name. Until fecha the
// file is under a temporary name: a writer that never gets there leaves
// nothing.
template <class P>
class IMPAVI {
 public:
  IMPAVI(const std::string& nome, int nf, int nl, int nc, int fd = 250000);
  ~IMPAVI();
  IMPAVI(const IMPAVI&) = delete;
  IMPAVI& operator=(const IMPAVI&) = delete;

  // Whether the constructor takes these sizes (and fd, for colour).
  static bool aceita(int nf, int nl, int nc, int fd = 250000);

  void poe(const IMG<P>& quadro);
  void fecha();

 private:
  std::unique_ptr<ARQIMP> arq_;
  std::unique_ptr<unsigned char[]> bloco_;
  std::string nome_;
  int nf_, nl_, nc_, postos_ = 0;
  unsigned long long rowlen_, tamimg_, nbloco_;
};

// Where a frame-by-frame reading puts the frames (P is BYTE for the grey
// reader, COR for the colour one).
template <class P>
class RECEPTORAVI {
 public:
  virtual ~RECEPTORAVI() = default;
  // The header has been read: nf frames of nl x nc follow, fd microseconds
  // each (grey files: 250000). Before any frame.
  virtual void inicio(int nf, int nl, int nc, int fd) = 0;
  // Where frame f (0, 1, ... in order) goes: an image of nl x nc. Asked for
  // once the frame's bytes have been read, so nothing is made for frames the
  // file does not hold.
  virtual IMG<P>& quadro(int f) = 0;
  // Frame f is in the image quadro(f) gave.
  virtual void pronto(int f) = 0;
  // The whole file has been read and found sound.
  virtual void fim() = 0;
};

// The two readers, handing the frames to r; the file already open at its
// start (a pipe too). Every refusal is LeAvi's.
void LeAvi(RECEPTORAVI<BYTE>& r, ARQLE& arq);
void LeAvi(RECEPTORAVI<COR>& r, ARQLE& arq);

extern template class IMPAVI<BYTE>;
extern template class IMPAVI<COR>;

}  // namespace imagorix
