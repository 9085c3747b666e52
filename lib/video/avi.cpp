// Uncompressed AVI files: the writer of grey and colour sequences and the two
// readers (a strict one for grey files, a list-walking one for colour files).
#include "video/avi.h"

#include <algorithm>
#include <concepts>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "base/erro.h"
#include "base/vetor.h"
#include "image/img.h"
#include "image/lebloco.h"
#include "image/trocarb.h"
#include "video/i3d.h"
#include "video/quadros.h"

namespace imagorix {

namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

constexpr const char* FIM = "Erro: Fim de arquivo inesperado";
constexpr const char* GRANDE = "Erro: Chunk muito grande";

// ---------------------------------------------------------------- writing

void p16(unsigned char* b, u32 v) {
  b[0] = static_cast<unsigned char>(v);
  b[1] = static_cast<unsigned char>(v >> 8);
}
void p32(unsigned char* b, u32 v) {
  p16(b, v & 0xFFFF);
  p16(b + 2, v >> 16);
}
void p4(unsigned char* b, const char* s) { std::memcpy(b, s, 4); }

// The header of a file of nf frames of nl x nc and c bytes each; fd is the
// microseconds per frame of a colour file.
std::vector<unsigned char> cabecalho(bool cor, int nf, int nl, int nc, u32 c, int fd) {
  const u32 H = cor ? 252 : 1276;
  std::vector<unsigned char> h(H, 0);
  unsigned char* b = h.data();
  const u32 movi = 4 + static_cast<u32>(nf) * (c + 8);
  p4(b + 0, "RIFF");
  p32(b + 4, H + static_cast<u32>(nf) * (c + 8) + 16 * static_cast<u32>(nf));
  p4(b + 8, "AVI ");
  p4(b + 12, "LIST");
  p32(b + 16, cor ? 220 : 1244);
  p4(b + 20, "hdrl");
  p4(b + 24, "avih");
  p32(b + 28, 56);
  if (cor) {
    p32(b + 32, static_cast<u32>(fd));
    // Bytes per second, rounded up; a rate no 32-bit field holds is given as
    // the largest it does.
    const double porseg = std::ceil(1000000.0 * c / fd);
    p32(b + 36, porseg >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<u32>(porseg));
  } else {
    p32(b + 32, 250000);
    p32(b + 36, 2 * c);
  }
  p32(b + 44, 0x810);
  p32(b + 48, static_cast<u32>(nf));
  p32(b + 56, 1);
  p32(b + 60, c);
  p32(b + 64, static_cast<u32>(nc));
  p32(b + 68, static_cast<u32>(nl));
  p4(b + 88, "LIST");
  p32(b + 92, cor ? 144 : 1168);
  p4(b + 96, "strl");
  p4(b + 100, "strh");
  p32(b + 104, 56);
  p4(b + 108, "vids");
  p4(b + 112, "DIB ");
  p32(b + 128, 1000);
  p32(b + 132, cor ? static_cast<u32>(1000000000 / fd) : 2000);
  p32(b + 140, static_cast<u32>(nf));
  p32(b + 144, c);
  p32(b + 148, 900);
  p16(b + 160, static_cast<u32>(nc) & 0xFFFF);
  p16(b + 162, static_cast<u32>(nl) & 0xFFFF);
  p4(b + 164, "strf");
  p32(b + 168, cor ? 40 : 1064);
  p32(b + 172, 40);
  p32(b + 176, static_cast<u32>(nc));
  p32(b + 180, static_cast<u32>(nl));
  p16(b + 184, 1);
  p16(b + 186, cor ? 24 : 8);
  p32(b + 192, c);
  u32 k = 212;
  if (!cor) {
    p32(b + 204, 256);
    p32(b + 208, 256);
    // Palette entries blue, green, red, reserved: level i is grey (i, i, i).
    for (u32 i = 0; i < 256; ++i, k += 4) b[k] = b[k + 1] = b[k + 2] = static_cast<unsigned char>(i);
  }
  p4(b + k, "strn");
  p32(b + k + 4, 20);
  std::memcpy(b + k + 8, "AVI Video Stream #1", 20);
  p4(b + k + 28, "LIST");
  p32(b + k + 32, movi);
  p4(b + k + 36, "movi");
  return h;
}

template <class P>
constexpr bool COLORIDO = std::same_as<P, COR>;

template <class P>
std::string quem_imp() {
  return COLORIDO<P> ? "ImpAvi(I3DCOR)" : "ImpAvi(I3DGRY)";
}

// Bytes of a frame's rows, each padded to a multiple of 4.
template <class P>
u64 linha(int nc) {
  return ((COLORIDO<P> ? 3 : 1) * static_cast<u64>(nc) + 3) & ~u64{3};
}

// Every size and offset of the file is a 32-bit field counting from its 8th
// byte at most.
template <class P>
bool cabe(int nf, int nl, int nc) {
  const u64 H = COLORIDO<P> ? 252 : 1276;
  const u64 c = linha<P>(nc) * static_cast<u64>(nl);
  return H + static_cast<u64>(nf) * (c + 8) + 16 * static_cast<u64>(nf) <= 0xFFFFFFFFu;
}

// ---------------------------------------------------------------- reading

struct CHUNK {
  unsigned char id[4] = {};
  u32 size = 0;
  bool e(const char* s) const { return std::memcmp(id, s, 4) == 0; }
};

CHUNK le_chunk(ARQLE& f) {
  unsigned char h[8];
  if (!f.read(h, 8)) erro(FIM, "");
  CHUNK c;
  std::memcpy(c.id, h, 4);
  c.size = u32le(h + 4);
  return c;
}

bool le_tipo(ARQLE& f, const char* t) {
  unsigned char b[4];
  if (!f.read(b, 4)) erro(FIM, "");
  return std::memcmp(b, t, 4) == 0;
}

// Sizes of the main header that the file could never hold: no sequence has
// more than INT_MAX frames, rows or columns.
void confere_tamanhos(u32 nf, u32 nl, u32 nc) {
  if (nf > INT_MAX || nl > INT_MAX || nc > INT_MAX) erro(FIM, "");
}

// A regular file must hold the frames it announces, chunk headers included,
// before they are made; a pipe is read as it comes.
void confere_resto(ARQLE& f, u64 nf, u64 tamimg) {
  const long long resta = f.remaining();
  if (resta >= 0 && static_cast<long double>(resta) < static_cast<long double>(nf) * (8.0L + static_cast<long double>(tamimg)))
    erro(FIM, "");
}

// The strict reader of grey files.
class LEGRY {
 public:
  LEGRY(ARQLE& f, RECEPTORAVI<BYTE>& r) : f_(f), r_(r) {}

  void le() {
    const std::string e = "Erro LeAvi(I3DGRY): ";
    if (!cab().e("RIFF")) erro(e + "Nao-RIFF", "");
    if (!le_tipo(f_, "AVI ")) erro(e + "Nao-AVI_", "");
    if (!cab_sem_junk().e("LIST")) erro(e + "Nao-LIST", "");
    if (!le_tipo(f_, "hdrl")) erro(e + "Nao-hdrl", "");
    if (!cab_sem_junk().e("avih")) erro(e + "Nao-avih", "");
    corpo();
    const u32 nf = u32le(buf_ + 16), nc = u32le(buf_ + 32), nl = u32le(buf_ + 36);
    if (!cab_sem_junk().e("LIST")) erro(e + "Nao-LIST", "");
    if (!le_tipo(f_, "strl")) erro(e + "Nao-strl", "");
    if (!cab_sem_junk().e("strh")) erro(e + "Nao-strh", "");
    corpo();
    if (std::memcmp(buf_, "vidsDIB ", 8) != 0) erro(e + "Nao-vidsDIB_", "");
    if (!cab_sem_junk().e("strf")) erro(e + "Nao-strf", "");
    corpo();
    if (u32le(buf_ + 12) != 0x80001) erro("Erro: Tipo AVI", "");
    if (u32le(buf_ + 16) != 0) erro("Erro: Tipo compressao", "");
    const u64 ncores = u32le(buf_ + 32);
    if (40 + 4 * ncores != ch_.size) erro("Erro: Tamanho palette invalido", "");
    // Level of each palette entry; a pixel past the palette is the vector's
    // index error.
    BYTE paleta[256] = {};
    for (u64 i = 0; i < ncores && i < 256; ++i) {
      const unsigned char* p = buf_ + 40 + 4 * i;
      paleta[i] = static_cast<BYTE>((p[0] + p[1] + p[2] + 1) / 3);
    }
    cab();
    while (ch_.e("JUNK") || ch_.e("strn")) {
      corpo();
      cab();
    }
    if (!ch_.e("LIST")) erro(e + "Nao-LIST", "");
    if (!le_tipo(f_, "movi")) erro(e + "Nao-movi", "");

    confere_tamanhos(nf, nl, nc);
    const u64 rowlen = (static_cast<u64>(nc) + 3) & ~u64{3}, tamimg = rowlen * nl;
    if (nf > 0) confere_resto(f_, nf, tamimg);
    r_.inicio(static_cast<int>(nf), static_cast<int>(nl), static_cast<int>(nc), 250000);
    std::vector<unsigned char> quadro;
    for (u32 f = 0; f < nf; ++f) {
      cab();
      if (!ch_.e("00db")) erro(e + "Nao-00db", "");
      if (ch_.size != tamimg) erro(e + "tamimg!=chunk.size", "");
      detail::le_bloco(f_, tamimg, [&] {
        quadro.resize(tamimg);
        return static_cast<void*>(quadro.data());
      }, FIM);
      IMGGRY& g = r_.quadro(static_cast<int>(f));
      // A frame without columns has no rows to fill either.
      for (u32 r = 0; nc > 0 && r < nl; ++r) {
        const unsigned char* s = quadro.data() + (nl - 1 - r) * rowlen;
        BYTE* d = g.row(static_cast<int>(r));
        for (u32 k = 0; k < nc; ++k) {
          if (s[k] >= ncores) erro(VETOR_INDICE, "");
          d[k] = paleta[s[k]];
        }
      }
      r_.pronto(static_cast<int>(f));
    }
    r_.fim();
  }

 private:
  const CHUNK& cab() { return ch_ = le_chunk(f_); }
  // The body of the current chunk into the work buffer, which holds zeros
  // past it, so that a short header reads as zeros and never as an older one.
  void corpo() {
    if (ch_.size > sizeof buf_) erro(GRANDE, "");
    std::memset(buf_, 0, sizeof buf_);
    if (ch_.size && !f_.read(buf_, ch_.size)) erro(FIM, "");
  }
  const CHUNK& cab_sem_junk() {
    cab();
    while (ch_.e("JUNK")) {
      corpo();
      cab();
    }
    return ch_;
  }

  ARQLE& f_;
  RECEPTORAVI<BYTE>& r_;
  CHUNK ch_;
  unsigned char buf_[4096 + 64];
};

// The list-walking reader of colour files. Each step gets the size of its
// list, counts down every byte it reads or passes over, and requires the
// count to come out exactly.
class LECOR {
 public:
  LECOR(ARQLE& f, RECEPTORAVI<COR>& r) : f_(f), r_(r), buf_(65536) {}

  void le() {
    if (!cab().e("RIFF")) erro("Erro: Nao-RIFF", "");
    anariff(ch_.size);
    r_.fim();
  }

 private:
  const CHUNK& cab() { return ch_ = le_chunk(f_); }
  // The next chunk header that is not "JUNK", passing over the padding;
  // every byte read or passed is counted off s.
  const CHUNK& cab_sem_junk(long long& s) {
    s -= 8;
    cab();
    while (ch_.e("JUNK")) {
      s -= pula(ch_.size) + 8;
      cab();
    }
    return ch_;
  }
  // n bytes into the work buffer (zeros past them).
  long long le_corpo(u32 n) {
    if (n > buf_.size()) erro(GRANDE, "");
    std::fill(buf_.begin(), buf_.begin() + std::min<std::size_t>(buf_.size(), 64), 0);
    if (n && !f_.read(buf_.data(), n)) erro(FIM, "");
    return n;
  }
  // Passes over n bytes: a seek in a regular file, reading in a pipe.
  long long pula(u32 n) {
    const long long resta = f_.remaining();
    if (resta >= 0) {
      if (n > resta || std::fseek(f_.get(), static_cast<long>(n), SEEK_CUR) != 0) erro(FIM, "");
      return n;
    }
    unsigned char lixo[4096];
    for (u32 k = n; k > 0;) {
      const u32 m = std::min<u32>(k, sizeof lixo);
      if (!f_.read(lixo, m)) erro(FIM, "");
      k -= m;
    }
    return n;
  }

  void anariff(long long s) {
    if (!le_tipo(f_, "AVI ")) erro("Erro: Nao-AVI_", "");
    s -= 4;
    cab_sem_junk(s);
    if (!ch_.e("LIST")) erro("Erro: Nao-LIST 2", "");
    s -= anaavih(ch_.size);
    cab_sem_junk(s);
    if (!ch_.e("LIST")) {
      std::fwrite(ch_.id, 1, 4, stdout);
      std::fflush(stdout);
      erro("Erro: Nao-LIST 3", "");
    }
    s -= anamovi(ch_.size);
    // The index and anything else after the frames is passed over whole.
    while (s > 0) {
      s -= 8;
      cab();
      s -= pula(ch_.size);
    }
    if (s != 0) erro("Erro anariff: s!=0", "");
  }

  long long anaavih(u32 tam) {
    long long s = tam;
    if (!le_tipo(f_, "hdrl")) erro("Erro: Nao-hdrl", "");
    s -= 4;
    cab_sem_junk(s);
    if (!ch_.e("avih")) erro("Erro: Nao-avih", "");
    s -= le_corpo(ch_.size);
    const u32 us = u32le(&buf_[0]), nf = u32le(&buf_[16]), nc = u32le(&buf_[32]), nl = u32le(&buf_[36]);
    confere_tamanhos(nf, nl, nc);
    nf_ = static_cast<int>(nf);
    nl_ = static_cast<int>(nl);
    nc_ = static_cast<int>(nc);
    rowlen_ = (3 * static_cast<u64>(nc) + 3) & ~u64{3};
    tamimg_ = rowlen_ * nl;
    if (nf > 0) confere_resto(f_, nf, tamimg_);
    fd_ = static_cast<int>(us);
    r_.inicio(nf_, nl_, nc_, fd_);
    while (s > 0) {
      s -= 8;
      cab();
      if (ch_.e("JUNK")) {
        s -= pula(ch_.size);
        continue;
      }
      if (!ch_.e("LIST")) erro("Erro: Nao-LIST 1", "");
      s -= anastrl(ch_.size);
    }
    if (s != 0) erro("Erro anaavih: s!=0", "");
    return tam;
  }

  long long anastrl(u32 tam) {
    long long s = tam;
    unsigned char t[4];
    if (!f_.read(t, 4)) erro(FIM, "");
    s -= 4;
    // Lists of other types (extensions inside "hdrl") are passed over.
    if (std::memcmp(t, "strl", 4) != 0) {
      if (s > 0) pula(static_cast<u32>(s));
      return tam;
    }
    bool video = false;
    while (s > 0) {
      s -= 8;
      cab();
      if (ch_.e("strh")) {
        s -= le_corpo(ch_.size);
        if (std::memcmp(&buf_[0], "vids", 4) == 0) {
          if (std::memcmp(&buf_[4], "DIB ", 4) != 0 && std::memcmp(&buf_[4], "\0\0\0\0", 4) != 0)
            erro("Erro: Cod nao-DIB", "");
          const double scale = static_cast<std::int32_t>(u32le(&buf_[20]));
          const double rate = static_cast<std::int32_t>(u32le(&buf_[24]));
          // A zero rate gives no frame duration at all: not in agreement.
          if (!(std::fabs(1000000.0 * scale / rate - fd_) <= 1000))
            erro("Erro LeAvi(I3DCOR): rate e fd nao concordam", "");
          video = true;
        }
      } else if (ch_.e("strf") && video) {
        s -= le_corpo(ch_.size);
        if (u16le(&buf_[12]) != 1) erro("Erro: nplanes!=1", "");
        if (u16le(&buf_[14]) != 24) erro("Erro: bitspix!=24", "");
        if (u32le(&buf_[16]) != 0) erro("Erro: compression!=0", "");
        de_cima_ = static_cast<std::int32_t>(u32le(&buf_[8])) < 0;
      } else {
        s -= pula(ch_.size);
      }
    }
    if (s != 0) erro("Erro anaavih: s!=0", "");
    return tam;
  }

  long long anamovi(u32 tam) {
    long long s = tam;
    if (!le_tipo(f_, "movi")) erro("Erro: Nao-movi", "");
    s -= 4;
    const u64 cabe = std::max<u64>(buf_.size(), tamimg_);
    int lidos = 0;
    while (s > 0) {
      s -= 8;
      cab();
      if (!ch_.e("00db") && !ch_.e("00dc")) {
        s -= pula(ch_.size);
        continue;
      }
      // A frame's pixels come from its own chunk only.
      if (ch_.size < tamimg_) erro("Erro LeAvi(I3DCOR): tamimg>chunk.size", "");
      if (ch_.size > cabe) erro(GRANDE, "");
      detail::le_bloco(f_, ch_.size, [&] {
        if (buf_.size() < ch_.size) buf_.resize(ch_.size);
        return static_cast<void*>(buf_.data());
      }, FIM);
      s -= ch_.size;
      // Frames past the announced count have no place and are left out.
      if (lidos >= nf_) continue;
      IMGCOR& q = r_.quadro(lidos);
      for (int r = 0; nc_ > 0 && r < nl_; ++r) {
        const unsigned char* o = buf_.data() + static_cast<u64>(de_cima_ ? r : nl_ - 1 - r) * rowlen_;
        detail::troca_rb(o, q.row(r), static_cast<std::size_t>(nc_));
      }
      r_.pronto(lidos++);
    }
    if (s != 0) erro("Erro anamovi: s!=0", "");
    if (lidos < nf_) erro(FIM, "");
    return tam;
  }

  ARQLE& f_;
  RECEPTORAVI<COR>& r_;
  std::vector<unsigned char> buf_;
  CHUNK ch_;
  int nf_ = 0, nl_ = 0, nc_ = 0, fd_ = 250000;
  u64 rowlen_ = 0, tamimg_ = 0;
  bool de_cima_ = false;
};

// Frames into a sequence, as QUADROS puts them.
template <class P>
class PARASEQ final : public RECEPTORAVI<P> {
 public:
  explicit PARASEQ(I3D<P>& s) : s_(s) {}
  void inicio(int nf, int nl, int nc, int fd) override {
    q_.emplace(s_, nf, nl, nc);
    fd_ = fd;
  }
  IMG<P>& quadro(int f) override { return q_->quadro(f); }
  void pronto(int) override {}
  void fim() override {
    q_->entrega();
    if constexpr (COLORIDO<P>) s_.fd() = fd_;
  }

 private:
  I3D<P>& s_;
  std::optional<detail::QUADROS<P>> q_;
  int fd_ = 250000;
};

// Grey frames into a real sequence, each level v as v / 255, through one
// grey frame.
class PARAFLT final : public RECEPTORAVI<BYTE> {
 public:
  explicit PARAFLT(I3DFLT& s) : s_(s) {}
  void inicio(int nf, int nl, int nc, int) override {
    q_.emplace(s_, nf, nl, nc);
    nl_ = nl;
    nc_ = nc;
  }
  IMGGRY& quadro(int) override {
    g_.resize(nl_, nc_);
    return g_;
  }
  void pronto(int f) override { q_->poe(f, IMGFLT(g_)); }
  void fim() override { q_->entrega(); }

 private:
  I3DFLT& s_;
  std::optional<detail::QUADROS<FLT>> q_;
  IMGGRY g_;
  int nl_ = 0, nc_ = 0;
};

ARQLE abre_gry(const std::string& nome) {
  return ARQLE(nome, "rb", "Erro LeAvi(I3DGRY) - Abertura de ", "Erro LeAvi(I3DGRY) - Falta memoria setvbuf");
}

}  // namespace

// ---------------------------------------------------------------- IMPAVI

template <class P>
bool IMPAVI<P>::aceita(int nf, int nl, int nc, int fd) {
  if (nl < 1 || nc < 1 || nf < 1) return false;
  if (COLORIDO<P> && fd <= 0) return false;
  return cabe<P>(nf, nl, nc);
}

template <class P>
IMPAVI<P>::IMPAVI(const std::string& nome, int nf, int nl, int nc, int fd)
    : nome_(nome), nf_(nf), nl_(nl), nc_(nc) {
  const std::string quem = quem_imp<P>();
  if (nl < 1 || nc < 1 || nf < 1) erro("Erro " + quem + " - Imagem nula ", nome);
  if constexpr (COLORIDO<P>) {
    // The rate is 1000000000 / fd and the byte rate divides by fd too.
    if (fd <= 0) erro("Erro " + quem + " - Duracao de quadro invalida ", nome);
  } else {
    fd = 250000;
  }
  if (!cabe<P>(nf, nl, nc)) erro("Erro " + quem + " - Video grande demais para AVI ", nome);
  rowlen_ = linha<P>(nc);
  tamimg_ = rowlen_ * static_cast<u64>(nl);
  // Rows are assembled bottom row first in a block of about 256 KiB (at
  // least one row), small enough to stay in the processor's cache, which
  // goes to the file in one write: large writes pass the stream's own
  // buffer. The padding at the end of every row stays zero.
  nbloco_ = std::min<u64>(std::max<u64>(1, (u64{1} << 18) / rowlen_), static_cast<u64>(nl));
  bloco_.reset(new (std::nothrow) unsigned char[nbloco_ * rowlen_]());
  if (!bloco_) erro("Erro ImpAvi - Falta memoria", "");
  const std::vector<unsigned char> h = cabecalho(COLORIDO<P>, nf, nl, nc, static_cast<u32>(tamimg_), fd);
  arq_ = std::make_unique<ARQIMP>(nome, "wb", quem, "Erro " + quem + " - abertura de ",
                                  "Erro " + quem + " - Faltou memoria setvbuf");
  arq_->write(h.data(), h.size());
}

template <class P>
IMPAVI<P>::~IMPAVI() = default;

template <class P>
void IMPAVI<P>::poe(const IMG<P>& q) {
  if (q.nl() != nl_ || q.nc() != nc_) erro("Erro: Dimensoes de imagens diferentes", "");
  if (!arq_ || postos_ >= nf_) erro("Erro " + quem_imp<P>() + " - Quadros demais ", nome_);
  unsigned char chunk[8];
  p4(chunk, "00db");
  p32(chunk + 4, static_cast<u32>(tamimg_));
  arq_->write(chunk, 8);
  u64 cheias = 0;
  for (int r = nl_ - 1; r >= 0; --r) {
    unsigned char* d = bloco_.get() + cheias * rowlen_;
    if constexpr (COLORIDO<P>)
      detail::troca_rb(q.row(r), d, static_cast<std::size_t>(nc_));
    else
      std::memcpy(d, q.row(r), static_cast<std::size_t>(nc_));
    if (++cheias == nbloco_ || r == 0) {
      arq_->write(bloco_.get(), cheias * rowlen_);
      cheias = 0;
    }
  }
  ++postos_;
}

template <class P>
void IMPAVI<P>::fecha() {
  if (!arq_) return;
  if (postos_ < nf_) erro("Erro " + quem_imp<P>() + " - Faltam quadros ", nome_);
  unsigned char idx[16];
  p4(idx, "idx1");
  p32(idx + 4, 16 * static_cast<u32>(nf_));
  arq_->write(idx, 8);
  p4(idx, "00db");
  p32(idx + 4, 0x10);
  p32(idx + 12, static_cast<u32>(tamimg_));
  for (int f = 0; f < nf_; ++f) {
    p32(idx + 8, static_cast<u32>(4 + static_cast<u64>(f) * (tamimg_ + 8)));
    arq_->write(idx, 16);
  }
  arq_->close();
  arq_.reset();
}

template class IMPAVI<BYTE>;
template class IMPAVI<COR>;

namespace {

template <class P>
void imp_avi(const I3D<P>& s, const std::string& nome) {
  const int nf = s.nf(), nl = s.nl(), nc = s.nc();
  // Frames of other sizes are refused before anything is written (a
  // sequence without frames, rows or columns is refused by IMPAVI first).
  if (nl >= 1 && nc >= 1 && nf >= 1)
    for (int f = 0; f < nf; ++f)
      if (s(f).nl() != nl || s(f).nc() != nc) erro("Erro: Dimensoes de imagens diferentes", "");
  int fd = 250000;
  if constexpr (COLORIDO<P>) fd = s.fd();
  IMPAVI<P> w(nome, nf, nl, nc, fd);
  for (int f = 0; f < nf; ++f) w.poe(s(f));
  w.fecha();
}

}  // namespace

void ImpAvi(const I3DGRY& seq, const std::string& nome) { imp_avi(seq, nome); }
void ImpAvi(const I3DCOR& seq, const std::string& nome) { imp_avi(seq, nome); }

void LeAvi(RECEPTORAVI<BYTE>& r, ARQLE& arq) { LEGRY(arq, r).le(); }
void LeAvi(RECEPTORAVI<COR>& r, ARQLE& arq) { LECOR(arq, r).le(); }

void LeAvi(I3DGRY& seq, ARQLE& arq) {
  PARASEQ<BYTE> r(seq);
  LeAvi(r, arq);
}
void LeAvi(I3DCOR& seq, ARQLE& arq) {
  PARASEQ<COR> r(seq);
  LeAvi(r, arq);
}
void LeAvi(I3DFLT& seq, ARQLE& arq) {
  PARAFLT r(seq);
  LeAvi(r, arq);
}

void LeAvi(I3DGRY& seq, const std::string& nome) {
  ARQLE arq = abre_gry(nome);
  LeAvi(seq, arq);
}

void LeAvi(I3DCOR& seq, const std::string& nome) {
  ARQLE arq(nome, "rb", "Erro: Abertura de ", "Erro: Falta memoria setvbuf");
  LeAvi(seq, arq);
}

void LeAvi(I3DFLT& seq, const std::string& nome) {
  ARQLE arq = abre_gry(nome);
  LeAvi(seq, arq);
}

}  // namespace imagorix
