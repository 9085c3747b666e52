#include "targets.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/lenum.h"
#include "base/vetorbit.h"
#include "base/vetortxt.h"
#include "carriers.h"
#include "driver.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/jpeg.h"
#include "image/leimp.h"
#include "image/png.h"
#include "image/pnm.h"
#include "image/tiff.h"
#include "payload.h"
#include "video/avi.h"
#include "video/i3d.h"
#include "video/leimp.h"

namespace fuzz {

using namespace imagorix;

namespace {

// The whole input file (empty when it cannot be read).
std::string conteudo(const std::string& in) {
  std::string dados;
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(in.c_str(), "rb"), std::fclose);
  if (!f) return dados;
  char buf[4096];
  std::size_t k;
  while ((k = std::fread(buf, 1, sizeof buf, f.get())) > 0) dados.append(buf, k);
  return dados;
}

// Each reader into a fresh image, so that nothing of an earlier input is
// left to hide a fault.
template <class I, void (I::*le)(const std::string&)>
void membro(const std::string& in, const std::string&) {
  I img;
  (img.*le)(in);
}

template <class I, void (*le)(I&, const std::string&)>
void livre(const std::string& in, const std::string&) {
  I img;
  le(img, in);
}

// The generic reader: TipoImg picks the format, the format's reader fills
// its class, and the result is converted.
template <class I>
void generico(const std::string& in, const std::string&) {
  I img;
  imagorix::le(img, in);
}

// A series of two numbered TGA files, the first and the second half of the
// input, read back as one sequence.
template <class S>
void serie_tga(const std::string& in, const std::string& dir) {
  const std::string dados = conteudo(in);
  const std::string base = dir + "/serie";
  const std::size_t meio = dados.size() / 2;
  for (int i = 0; i < 2; ++i) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen((base + (i ? "001.tga" : "000.tga")).c_str(), "wb"), std::fclose);
    if (!f) return;
    const std::string parte = i ? dados.substr(meio) : dados.substr(0, meio);
    if (std::fwrite(parte.data(), 1, parte.size(), f.get()) != parte.size()) return;
  }
  S s;
  s.LeTga(base);
}

void vetorbit(const std::string& in, const std::string&) {
  VETORBIT v;
  imagorix::le(v, in);
}

// The PNG and TIFF readers, the page then put into every class it can go to.
template <FOLHA (*LE)(const std::string&)>
void folha(const std::string& in, const std::string&) {
  const FOLHA f = LE(in);
  IMGBIN b;
  IMGSHT s;
  f.em(b);
  f.em(s);
}

// The vector and matrix text readers.
template <class C>
void texto(const std::string& in, const std::string&) {
  C c;
  imagorix::le(c, in);
}

// The number readers on a stream. The first byte chooses the reader (below
// 13) or a sequence that changes reader at every call (13 and above); the
// rest is the stream, read until it ends.
void lenum(const std::string& in, const std::string&) {
  std::unique_ptr<FILE, int (*)(FILE*)> arq(std::fopen(in.c_str(), "rb"), std::fclose);
  if (!arq) return;
  FILE* f = arq.get();
  const int primeiro = std::fgetc(f);
  if (primeiro == EOF) return;
  // Every call that does not end the stream takes at least one byte.
  for (long i = 0; i < (1L << 20); ++i) {
    const int op = primeiro < 13 ? primeiro : (primeiro + 7 * static_cast<int>(i)) % 13;
    bool b;
    double d;
    FLT x;
    SHT s;
    int n;
    BYTE y;
    switch (op) {
      case 0: if (LeTokenNum(f) == "eof") return; break;
      case 1: if (LeChar(f) == "eof") return; break;
      case 2: if (LeToken(f) == "eof") return; break;
      case 3: LeNum(f, b); break;
      case 4: LeNum(f, d); break;
      case 5: LeNum(f, x); break;
      case 6: LeNum(f, s); break;
      case 7: LeNum(f, n); break;
      case 8: LeNum(f, y); break;
      case 9: LeNumOpt(f, n); if (n == EOFNUM) return; break;
      case 10: LeBool(f, b); break;
      case 11: if (LeChar(f) == "eof") return; LeNum(f, n); break;
      default: LeNumOpt(f, n); LeNum(f, d); break;
    }
  }
}

// kova v on the input as the marked image, restoring into dir.
void kova_v(const std::string& in, const std::string& dir) {
  const std::string chave = std::to_string(KovaKey), mac = std::to_string(KovaMac);
  const std::string saida = dir + "/reverted.bmp";
  std::vector<std::string> args = {"kova", "v", chave, in, saida, mac};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  kova::run(static_cast<int>(args.size()), argv.data());
}

// kova v on the input after giving it a valid MAC, as someone holding the
// key could: without it almost no mutation gets past the MAC, and the
// decoding of the compressed record that follows would go unfuzzed.
void kova_mac(const std::string& in, const std::string& dir) {
  IMGBIN img = kova::ReadPage(in, KovaMac, "Error: Image too small");
  kova::CARRIERS car(img, kova::VisTable(), KovaKey);
  const kova::HEADER h = kova::ReadHeader(car, KovaMac);
  kova::BlankMac(car, h.B, KovaMac);
  kova::WriteMac(car, h.B, kova::ComputeMac(img, KovaMac, KovaKey));
  const std::string marcada = dir + "/marked.bmp";
  img.ImpBmp(marcada);
  kova_v(marcada, dir);
}

void pipe(const std::string& in, const std::string& dir);

constexpr TARGET TABELA[] = {
    {"bmp", membro<IMGBIN, &IMGBIN::LeBmp>, "bmp", nullptr, false},
    {"lepbmt", livre<IMGBIN, lepbmt>, "pnm", nullptr, false},
    {"lepbmb", livre<IMGBIN, lepbmb>, "pnm", nullptr, false},
    {"lepgmt", livre<IMGGRY, lepgmt>, "pnm", nullptr, false},
    {"lepgmb", livre<IMGGRY, lepgmb>, "pnm", nullptr, false},
    {"leppmt", livre<IMGCOR, leppmt>, "pnm", nullptr, false},
    {"leppmb", livre<IMGCOR, leppmb>, "pnm", nullptr, false},
    {"tga_gry", membro<IMGGRY, &IMGGRY::LeTga>, "tga", nullptr, false},
    {"tgai_gry", membro<IMGGRY, &IMGGRY::LeTgaI>, "tga", nullptr, false},
    {"tgap_gry", membro<IMGGRY, &IMGGRY::LeTgaP>, "tga", nullptr, false},
    {"tga_cor", membro<IMGCOR, &IMGCOR::LeTga>, "tga", nullptr, false},
    {"tgap_cor", membro<IMGCOR, &IMGCOR::LeTgaP>, "tga", nullptr, false},
    {"txt_bin", membro<IMGBIN, &IMGBIN::LeTxt>, "texto", nullptr, false},
    {"txt_gry", membro<IMGGRY, &IMGGRY::LeTxt>, "texto", nullptr, false},
    {"txt_cor", membro<IMGCOR, &IMGCOR::LeTxt>, "texto", nullptr, false},
    {"txt_sht", membro<IMGSHT, &IMGSHT::LeTxt>, "texto", nullptr, false},
    {"txt_flt", membro<IMGFLT, &IMGFLT::LeTxt>, "texto", nullptr, false},
    {"txt_dbl", membro<IMGDBL, &IMGDBL::LeTxt>, "texto", nullptr, false},
    {"txt_cpx", membro<IMGCPX, &IMGCPX::LeTxt>, "texto", nullptr, false},
    {"img_sht", membro<IMGSHT, &IMGSHT::LeImg>, "nativo", nullptr, false},
    {"img_flt", membro<IMGFLT, &IMGFLT::LeImg>, "nativo", nullptr, false},
    {"img_dbl", membro<IMGDBL, &IMGDBL::LeImg>, "nativo", nullptr, false},
    {"img_cpx", membro<IMGCPX, &IMGCPX::LeImg>, "nativo", nullptr, false},
    {"jpg_gry", livre<IMGGRY, LeJpg>, "jpeg", nullptr, true},
    {"jpg_cor", livre<IMGCOR, LeJpg>, "jpeg", nullptr, true},
    {"png", folha<LePng>, "png", nullptr, false},
    {"tiff", folha<LeTiff>, "tiff", nullptr, false},
    {"le_bin", generico<IMGBIN>, "todos", nullptr, true},
    {"le_gry", generico<IMGGRY>, "todos", nullptr, true},
    {"le_cor", generico<IMGCOR>, "todos", nullptr, true},
    {"le_sht", generico<IMGSHT>, "todos", nullptr, true},
    {"le_flt", generico<IMGFLT>, "todos", nullptr, true},
    {"le_dbl", generico<IMGDBL>, "todos", nullptr, true},
    {"le_cpx", generico<IMGCPX>, "todos", nullptr, true},
    {"avi_gry", livre<I3DGRY, LeAvi>, "avi", nullptr, false},
    {"avi_cor", livre<I3DCOR, LeAvi>, "avi", nullptr, false},
    {"avi_flt", livre<I3DFLT, LeAvi>, "avi", nullptr, false},
    {"img3_sht", membro<I3DSHT, &I3DSHT::LeImg>, "nativo", nullptr, false},
    {"img3_flt", membro<I3DFLT, &I3DFLT::LeImg>, "nativo", nullptr, false},
    {"img3_cpx", membro<I3DCPX, &I3DCPX::LeImg>, "nativo", nullptr, false},
    {"tgaseq_gry", serie_tga<I3DGRY>, "tga", nullptr, false},
    {"tgaseq_cor", serie_tga<I3DCOR>, "tga", nullptr, false},
    {"le3_gry", generico<I3DGRY>, "todos", nullptr, false},
    {"le3_cor", generico<I3DCOR>, "todos", nullptr, false},
    {"le3_sht", generico<I3DSHT>, "todos", nullptr, false},
    {"le3_flt", generico<I3DFLT>, "todos", nullptr, false},
    {"le3_cpx", generico<I3DCPX>, "todos", nullptr, false},
    {"lenum", lenum, "texto", nullptr, false},
    {"vetorbit", vetorbit, "texto", nullptr, false},
    {"vet_int", texto<VETOR<int>>, "texto", nullptr, false},
    {"vet_dbl", texto<VETOR<double>>, "texto", nullptr, false},
    {"vet_p2", texto<VETOR<PONTO2>>, "texto", nullptr, false},
    {"vet_pi2", texto<VETOR<PONTOI2>>, "texto", nullptr, false},
    {"mat_int", texto<MATRIZ<int>>, "texto", nullptr, false},
    {"mat_dbl", texto<MATRIZ<double>>, "texto", nullptr, false},
    {"kova_v", kova_v, "kova", "reverted.bmp", true},
    {"kova_mac", kova_mac, "kova", "reverted.bmp", true},
    {"pipe", pipe, "todos", nullptr, true},
};

constexpr const char* POR_PIPE[] = {
    "bmp",     "lepbmt",  "lepbmb",  "lepgmt",  "lepgmb",  "leppmt",  "leppmb",  "tga_gry",  "tgai_gry",
    "tgap_gry", "tga_cor", "tgap_cor", "txt_bin", "txt_gry", "txt_cor", "txt_sht", "txt_flt", "txt_dbl",
    "txt_cpx", "img_sht", "img_flt", "img_dbl", "img_cpx", "jpg_gry", "jpg_cor", "png", "tiff", "vetorbit",
    "vet_int", "vet_dbl", "vet_p2",  "vet_pi2", "mat_int", "mat_dbl",
    // Detection and reading from one stream.
    "le_bin",  "le_gry",  "le_cor",  "le_sht",  "le_flt",  "le_dbl",  "le_cpx",
    // Sequences.
    "avi_gry", "avi_cor", "img3_sht", "img3_flt", "img3_cpx", "le3_flt", "le3_cpx",
};

// The pipe's read end, closed however the reader ends.
struct FD {
  int fd;
  ~FD() { close(fd); }
};

void pipe(const std::string& in, const std::string& dir) {
  std::string dados = conteudo(in);
  if (dados.empty()) return;
  const TARGET* t = find(POR_PIPE[static_cast<unsigned char>(dados[0]) % std::size(POR_PIPE)]);
  // A pipe holds 64 KiB without a reader; inputs are far smaller.
  dados.erase(0, 1);
  dados.resize(std::min<std::size_t>(dados.size(), 60000));
  int fd[2];
  if (::pipe(fd) != 0) return;
  FD leitura{fd[0]};
  const bool escrito = write(fd[1], dados.data(), dados.size()) == static_cast<ssize_t>(dados.size());
  close(fd[1]);
  if (!escrito) return;
  t->run("/dev/fd/" + std::to_string(fd[0]), dir);
}

}  // namespace

std::span<const TARGET> targets() { return TABELA; }

std::span<const char* const> pipe_readers() { return POR_PIPE; }

const TARGET* find(std::string_view name) {
  for (const TARGET& t : TABELA)
    if (name == t.name) return &t;
  return nullptr;
}

}  // namespace fuzz
