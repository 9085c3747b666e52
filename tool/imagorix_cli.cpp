// imagorix: the library's image and sequence files from the command line.
//
//   imagorix type FILE                         the detected type of FILE
//   imagorix convert [--as CLASS] IN OUT       read IN with le, write OUT with imp
//   imagorix convert --threshold N|otsu IN OUT a bilevel page at a chosen level
//   imagorix compare A B                       whether two pictures are equal
//
// A sequence (AVI, native sequence file, series of numbered TGA files) is
// converted as a sequence: read into a sequence class and written with the
// sequences' imp.
//
// Everything the library reports (unreadable files, refused formats) comes
// out in the library's own words through erro; this program's own messages
// are about its command line. Exit status 0 on success, 1 on any error.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "image/binariza.h"
#include "image/formato.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/jpeg.h"
#include "image/leimp.h"
#include "image/png.h"
#include "image/tiff.h"
#include "image/tipo.h"
#include "video/avi.h"
#include "video/formatoseq.h"
#include "video/i3d.h"
#include "video/leimp.h"

using namespace imagorix;

namespace {

const char* const AJUDA =
    "imagorix: reads and writes the image and sequence files of the Imagorix library\n"
    "\n"
    "Usage:\n"
    "  imagorix type FILE\n"
    "      Prints the type code detected from the contents of FILE and the name\n"
    "      of its format, e.g. \"4 1-bit BMP\" or \"52 24-bit AVI\"; for the base\n"
    "      name of a series of numbered TGA files, \"40 TGA series of N frames\".\n"
    "\n"
    "  imagorix convert [--as CLASS] IN OUT\n"
    "      Reads IN into an image of class CLASS and writes it to OUT. The format\n"
    "      of IN is found from its contents, never from its name; the format of\n"
    "      OUT is chosen by the suffix of its name:\n"
    "        .bmp        1-bit BMP\n"
    "        .pbm .pgm .ppm   raw PBM, PGM, PPM; .pbm1 .pgm1 .ppm1: plain (text)\n"
    "        .tga        TGA (8-bit grey, or 24-bit for colour)\n"
    "        .jpg        JPEG of quality 90; .jpg75: quality 75\n"
    "        .txt .mat   text matrix\n"
    "        .img        native file of the class\n"
    "        .avi        uncompressed AVI video (sequences)\n"
    "        no suffix   a series of numbered TGA files, OUT000.tga, OUT001.tga,\n"
    "                    ... (sequences)\n"
    "      A number after the suffix is not part of the file name written.\n"
    "      CLASS is one of\n"
    "        bin  binary        sht  16-bit grey   cpx  complex\n"
    "        gry  grey          flt  real\n"
    "        cor  colour        dbl  double\n"
    "      By default the class the input format holds (bin for BMP and PBM; gry\n"
    "      for grey TGA, PGM, grey JPEG and text matrices; cor for colour and\n"
    "      colour-mapped TGA, PPM and colour JPEG; the own class of a native\n"
    "      file) when OUT's format can be written from it, and otherwise the\n"
    "      class OUT's format holds: bin for .bmp and .pbm, gry for .pgm, .tga\n"
    "      and .jpg, cor for .ppm, flt for .img.\n"
    "      Each class writes only some formats:\n"
    "        bin  bmp pbm txt         sht  tga img txt\n"
    "        gry  tga jpg pgm txt     flt  tga jpg pgm bmp img txt\n"
    "        cor  tga jpg ppm txt     dbl  tga jpg pgm img txt\n"
    "                                 cpx  img txt\n"
    "\n"
    "      Sequences. When IN is an AVI file, a native sequence file (.img\n"
    "      written from a sequence) or a series of numbered TGA files (IN names\n"
    "      no file, but IN000.tga exists: IN000.tga, IN001.tga, ... up to the\n"
    "      first missing number), it is read as a sequence and OUT is written as\n"
    "      one: .avi, .img (native sequence file) or a name without a suffix (a\n"
    "      series of numbered TGA files). CLASS then names a sequence class:\n"
    "        gry  grey frames      avi (8-bit) and TGA series\n"
    "        cor  colour frames    avi (24-bit) and TGA series\n"
    "        sht  16-bit frames    img and TGA series\n"
    "        flt  real frames      img, and avi and TGA series as grey\n"
    "        cpx  complex frames   img\n"
    "      The input is read in the class it holds (gry for an 8-bit AVI or a\n"
    "      grey TGA series, cor for a 24-bit AVI or a colour one, the own class\n"
    "      of a native file) and written from CLASS, its frames converted by the\n"
    "      image rules. Without --as, CLASS is the input's own when OUT's format\n"
    "      takes it, else gry for .avi and a TGA series and flt for .img.\n"
    "      For example\n"
    "        imagorix convert clip.avi frames     writes frames000.tga, ...\n"
    "        imagorix convert frames clip2.avi    reads them back into a video\n"
    "\n"
    "  imagorix convert --threshold LEVEL IN OUT\n"
    "      Writes a bilevel (1-bit) page from a grey or colour one: a pixel is\n"
    "      white when its grey level (for colour, (r + g + b + 1) / 3) is at\n"
    "      least LEVEL, from 0 to 255, and black otherwise. LEVEL otsu picks the\n"
    "      level that best separates the page's dark and light pixels (Otsu's\n"
    "      method) and prints it. Without --threshold the library's fixed rule\n"
    "      applies, which is LEVEL 128. OUT must name a bilevel format (.bmp,\n"
    "      .pbm, .png, .tif, .txt).\n"
    "\n"
    "  imagorix compare A B\n"
    "      Reads two pictures of any formats and compares their pixels, in the\n"
    "      class both hold (bilevel, grey or colour: the richer of the two).\n"
    "      Prints \"equal: NL x NC pixels\" and exits with 0 when every pixel is\n"
    "      the same; otherwise prints how they differ (sizes, or the number of\n"
    "      differing pixels and the position of the first, row by row) and\n"
    "      exits with 1. Only the pixels count: a restored page written as BMP\n"
    "      equals its original in PNG or TIFF.\n"
    "\n"
    "  imagorix --help\n"
    "      Shows this text.\n"
    "\n"
    "Exit status: 0 on success, 1 on any error.\n";

[[noreturn]] void falha(const std::string& msg) {
  std::fprintf(stderr, "Error: %s\nRun 'imagorix --help' for usage.\n", msg.c_str());
  std::exit(1);
}

// The class a file's own reader fills. Sequences and other types no class
// takes fall to grey, whose reader then refuses them in the library's words.
// The file is left at its start.
std::string classe_natural(int tipo, ARQLE& arq) {
  switch (tipo) {
    case TIPO_BMP:
    case TIPO_PBMT:
    case TIPO_PBMB:
      return "bin";
    case TIPO_TGAP:
    case TIPO_TGA24:
    case TIPO_PPMT:
    case TIPO_PPMB:
      return "cor";
    case TIPO_JPG: {
      const int planos = PlanosJpg(arq);
      arq.rebobina();
      return planos == 1 ? "gry" : "cor";
    }
    case TIPO_PNG:
    case TIPO_TIFF: {
      const FOLHA::Tipo k = tipo == TIPO_PNG ? TipoPng(arq) : TipoTiff(arq);
      arq.rebobina();
      return k == FOLHA::BINARIA ? "bin" : k == FOLHA::CINZA ? "gry" : "cor";
    }
    case TIPO_IMGSHT: return "sht";
    case TIPO_IMGFLT: return "flt";
    case TIPO_IMGDBL: return "dbl";
    case TIPO_IMGCPX: return "cpx";
  }
  return "gry";
}

// The class a written format holds, for an input whose own class cannot be
// written in it; null for suffixes no class writes (the input's class then
// refuses them in the library's words).
const char* classe_do_formato(int tipo) {
  switch (tipo) {
    case TIPO_BMP:
    case TIPO_PBMT:
    case TIPO_PBMB:
      return "bin";
    case TIPO_PNG:  // written by binary, grey and colour alike
    case TIPO_TIFF:
      return "gry";
    case TIPO_TGA:
    case TIPO_JPG:
    case TIPO_PGMT:
    case TIPO_PGMB:
      return "gry";
    case TIPO_PPMT:
    case TIPO_PPMB:
      return "cor";
    case TIPO_IMGSHT:  // the native file of each class; real takes every input
      return "flt";
  }
  return nullptr;
}

// Calls f.operator()<I>() with the class named c; false when c names none.
template <class F>
bool com_classe(const std::string& c, F&& f) {
  if (c == "bin") f.template operator()<IMGBIN>();
  else if (c == "gry") f.template operator()<IMGGRY>();
  else if (c == "cor") f.template operator()<IMGCOR>();
  else if (c == "sht") f.template operator()<IMGSHT>();
  else if (c == "flt") f.template operator()<IMGFLT>();
  else if (c == "dbl") f.template operator()<IMGDBL>();
  else if (c == "cpx") f.template operator()<IMGCPX>();
  else return false;
  return true;
}

// The input's class when the output's format can be written from it, else
// the class the output's format holds.
std::string classe_padrao(int tipo, ARQLE& arq, const std::string& out) {
  const std::string natural = classe_natural(tipo, arq);
  const int saida = Sufixo(out).tipo;
  bool aceita = false;
  com_classe(natural, [&]<class I>() { aceita = escritor<I>(saida) != nullptr; });
  const char* formato = classe_do_formato(saida);
  return aceita || !formato ? natural : formato;
}

// ------------------------------------------------------------- sequences

bool existe(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0;
}

std::string numerado(const std::string& base, int i) {
  char n[16];
  std::snprintf(n, sizeof n, "%03d", i);
  return base + n + ".tga";
}

// A name that is no file, but the base of base000.tga, base001.tga, ...
bool serie_tga(const std::string& nome) { return !existe(nome) && existe(numerado(nome, 0)); }

int quadros_serie(const std::string& base) {
  int n = 0;
  while (n < 1000000 && existe(numerado(base, n))) ++n;
  return n;
}

bool tipo_sequencia(int t) {
  return t == TIPO_AVI8 || t == TIPO_AVI24 || t == TIPO_I3DFLT || t == TIPO_I3DSHT || t == TIPO_I3DCPX;
}

// Calls f.operator()<S>() with the sequence class named c; false when c
// names none.
template <class F>
bool com_sequencia(const std::string& c, F&& f) {
  if (c == "gry") f.template operator()<I3DGRY>();
  else if (c == "cor") f.template operator()<I3DCOR>();
  else if (c == "sht") f.template operator()<I3DSHT>();
  else if (c == "flt") f.template operator()<I3DFLT>();
  else if (c == "cpx") f.template operator()<I3DCPX>();
  else return false;
  return true;
}

// The sequence class an input holds.
std::string sequencia_natural(int tipo) {
  switch (tipo) {
    case TIPO_AVI24:
    case TIPO_TGA24:
    case TIPO_TGAP:
      return "cor";
    case TIPO_I3DFLT: return "flt";
    case TIPO_I3DSHT: return "sht";
    case TIPO_I3DCPX: return "cpx";
  }
  return "gry";
}

// Sequence s of class S as class T, frame by frame by the image rules; false
// when the image classes have no such conversion.
template <class T, class S>
bool converte_e_grava(const S& s, const std::string& out) {
  using P = typename T::pixel;
  using Q = typename S::pixel;
  if constexpr (std::same_as<P, Q>) {
    imp(s, out);
    return true;
  } else if constexpr (detail::PIXCONV<P, Q>::existe) {
    T t(s.nf(), s.nl(), s.nc());
    for (int i = 0; i < s.nf(); ++i) t(i) = IMG<P>(s(i));
    imp(t, out);
    return true;
  } else {
    return false;
  }
}

// Writes sequence s (of the class the input was read into) to out in class
// destino, converting the frames when that is another class and a
// conversion exists; otherwise s's own class writes, or refuses, out.
template <class S>
void grava_sequencia(const S& s, const std::string& destino, const std::string& out) {
  bool feito = false;
  com_sequencia(destino, [&]<class T>() { feito = converte_e_grava<T>(s, out); });
  if (!feito) imp(s, out);
}

// The class a sequence is written from: the input's when OUT's format takes
// it, else the one OUT's format holds.
std::string sequencia_destino(const std::string& natural, const std::string& out) {
  const int saida = Sufixo(out).tipo;
  bool aceita = false;
  com_sequencia(natural, [&]<class S>() { aceita = escritor<S>(saida) != nullptr; });
  if (aceita) return natural;
  return saida == TIPO_IMGSHT ? "flt" : "gry";
}

// Whether frames of class S convert into class T (the same class does).
template <class T, class S>
constexpr bool converte_se() {
  using P = typename T::pixel;
  using Q = typename S::pixel;
  return std::same_as<P, Q> || detail::PIXCONV<P, Q>::existe;
}

// An AVI copied into an AVI of its own class, one frame at a time: the
// output is what reading the clip whole and writing it would give, messages
// included, in the memory of one frame. The writer starts with the first
// frame when it will take the clip's sizes; when it will not, the file is
// read to its end first and the writer then refuses the sizes, as it would
// after a whole reading.
template <class P>
class COPIA_AVI final : public RECEPTORAVI<P> {
 public:
  explicit COPIA_AVI(const std::string& out) : out_(out) {}
  void inicio(int nf, int nl, int nc, int fd) override {
    nf_ = nf;
    nl_ = nl;
    nc_ = nc;
    fd_ = fd;
  }
  IMG<P>& quadro(int) override {
    if (!w_ && IMPAVI<P>::aceita(nf_, nl_, nc_, fd_)) w_.emplace(out_, nf_, nl_, nc_, fd_);
    q_.resize(nl_, nc_);
    return q_;
  }
  void pronto(int) override {
    if (w_) w_->poe(q_);
  }
  void fim() override {
    if (!w_) w_.emplace(out_, nf_, nl_, nc_, fd_);
    w_->fecha();
  }

 private:
  std::string out_;
  std::optional<IMPAVI<P>> w_;
  IMG<P> q_;
  int nf_ = 0, nl_ = 0, nc_ = 0, fd_ = 250000;
};

int convert_sequencia(ARQLE& arq, int t, const std::string& classe, const std::string& out) {
  const std::string natural = sequencia_natural(t);
  if ((t == TIPO_AVI8 || t == TIPO_AVI24) && Sufixo(out).tipo == TIPO_AVI8 && (classe.empty() || classe == natural)) {
    arq.solta();
    if (t == TIPO_AVI24) {
      COPIA_AVI<COR> r(out);
      LeAvi(r, arq);
    } else {
      COPIA_AVI<BYTE> r(out);
      LeAvi(r, arq);
    }
    return 0;
  }
  // The class written from: --as, or by default the input's own when OUT's
  // format takes it. The input is read in its own class and its frames
  // converted; where no conversion exists it is read into the class
  // written from, which refuses it in the library's words if it cannot.
  const std::string destino = classe.empty() ? sequencia_destino(natural, out) : classe;
  bool converte = false;
  if (!com_sequencia(destino, [&]<class T>() {
        com_sequencia(natural, [&]<class S>() { converte = converte_se<T, S>(); });
      }))
    falha("'" + classe + "' is not a sequence class (use gry, cor, sht, flt or cpx)");
  com_sequencia(converte ? natural : destino, [&]<class S>() {
    S s;
    le_formato(s, arq, t);
    grava_sequencia(s, destino, out);
  });
  return 0;
}

int convert_serie(const std::string& base, const std::string& classe, const std::string& out) {
  // The class of the series is the class of its first frame's format.
  const std::string natural = sequencia_natural(TipoImg(numerado(base, 0)));
  const std::string destino = classe.empty() ? sequencia_destino(natural, out) : classe;
  if (!com_sequencia(destino, []<class>() {}))
    falha("'" + classe + "' is not a sequence class (use gry, cor, sht, flt or cpx)");
  const auto le_e_grava = [&]<class S>() {
    S s;
    s.LeTga(base);
    grava_sequencia(s, destino, out);
  };
  if (natural == "cor") le_e_grava.template operator()<I3DCOR>();
  else le_e_grava.template operator()<I3DGRY>();
  return 0;
}

// --------------------------------------------------------------- commands

int tipo(const std::vector<std::string>& a) {
  if (a.size() != 1) falha("type needs exactly one file name");
  if (serie_tga(a[0])) {
    std::printf("%d TGA series of %d frames\n", TIPO_SEMSUF, quadros_serie(a[0]));
    return 0;
  }
  const int t = TipoImg(a[0]);
  std::printf("%d %s\n", t, NomeTipo(t));
  return 0;
}

// The level of --threshold: 0 ... 255, or -1 for otsu.
int le_limiar(const std::string& s) {
  if (s == "otsu") return -1;
  int v = 0;
  if (s.empty() || s.size() > 3) v = -2;
  for (char c : s)
    if (c < '0' || c > '9') v = -2;
  if (v == 0) v = std::atoi(s.c_str());
  if (v < 0 || v > 255) falha("--threshold needs a level from 0 to 255, or otsu");
  return v;
}

// A grey or colour page made bilevel at a level.
int convert_limiar(ARQLE& arq, int t, int limiar, const std::string& out) {
  const auto binariza_em = [&]<class I>() {
    I img;
    le_formato(img, arq, t);
    const int nivel = limiar >= 0 ? limiar : limiar_otsu(img);
    if (limiar < 0) std::printf("otsu threshold: %d\n", nivel);
    imp(binariza(img, nivel), out);
  };
  if (classe_natural(t, arq) == "cor")
    binariza_em.operator()<IMGCOR>();
  else
    binariza_em.operator()<IMGGRY>();
  return 0;
}

int convert(std::vector<std::string> a) {
  std::string classe;
  int limiar = -2;  // none
  while (!a.empty() && (a[0] == "--as" || a[0] == "--threshold")) {
    if (a[0] == "--as") {
      if (a.size() < 2) falha("--as needs a class: bin, gry, cor, sht, flt, dbl or cpx");
      classe = a[1];
    } else {
      if (a.size() < 2) falha("--threshold needs a level from 0 to 255, or otsu");
      limiar = le_limiar(a[1]);
    }
    a.erase(a.begin(), a.begin() + 2);
  }
  if (limiar != -2 && !classe.empty() && classe != "bin")
    falha("--threshold writes a bilevel page: --as can only be bin with it");
  if (a.size() != 2) falha("convert needs an input and an output file name");
  const std::string& in = a[0];
  const std::string& out = a[1];
  const auto conhecida = [](const std::string& c) { return com_classe(c, []<class>() {}); };
  if (!classe.empty() && !conhecida(classe))
    falha("unknown class '" + classe + "' (use bin, gry, cor, sht, flt, dbl or cpx)");
  if (serie_tga(in)) return convert_serie(in, classe, out);

  // The input is opened and its type found once: the type decides the
  // class, and the same open file is then read, so that a pipe works too.
  ARQLE arq(in, "rb", TIPO_ABERTURA, TIPO_BUFFER, ARQLE::VOLTA);
  const int t = TipoImg(arq);
  if (tipo_sequencia(t)) {
    if (limiar != -2) falha("--threshold takes an image, not a sequence");
    return convert_sequencia(arq, t, classe, out);
  }
  if (limiar != -2) return convert_limiar(arq, t, limiar, out);
  if (classe.empty()) classe = classe_padrao(t, arq, out);
  com_classe(classe, [&]<class I>() {
    I img;
    le_formato(img, arq, t);
    imp(img, out);
  });
  return 0;
}

// The first differing pixel of two pictures of one size, row by row, and how
// many differ.
struct DIFERENCA {
  long long n = 0;
  int l = -1, c = -1;
};

DIFERENCA diferencas(const IMGBIN& a, const IMGBIN& b) {
  DIFERENCA d;
  for (int l = 0; l < a.nl(); ++l)
    for (int c = 0; c < a.nc(); ++c)
      if (a.get(l, c) != b.get(l, c) && d.n++ == 0) d.l = l, d.c = c;
  return d;
}

template <class P>
DIFERENCA diferencas(const IMG<P>& a, const IMG<P>& b) {
  DIFERENCA d;
  for (int l = 0; l < a.nl(); ++l) {
    const P* x = a.row(l);
    const P* y = b.row(l);
    for (int c = 0; c < a.nc(); ++c)
      if (!(x[c] == y[c]) && d.n++ == 0) d.l = l, d.c = c;
  }
  return d;
}

int compare(const std::vector<std::string>& a) {
  if (a.size() != 2) falha("compare needs two file names");
  ARQLE fa(a[0], "rb", TIPO_ABERTURA, TIPO_BUFFER, ARQLE::VOLTA);
  const int ta = TipoImg(fa);
  ARQLE fb(a[1], "rb", TIPO_ABERTURA, TIPO_BUFFER, ARQLE::VOLTA);
  const int tb = TipoImg(fb);
  if (tipo_sequencia(ta) || tipo_sequencia(tb)) falha("compare takes images, not sequences");
  // The richer of the two classes, so that nothing either holds is lost:
  // bilevel, grey, colour; other classes are compared as they are when both
  // are of one, else as doubles.
  const std::string ca = classe_natural(ta, fa), cb = classe_natural(tb, fb);
  const auto posto = [](const std::string& c) { return c == "bin" ? 0 : c == "gry" ? 1 : c == "cor" ? 2 : -1; };
  std::string classe = ca == cb ? ca : "dbl";
  if (ca != cb && posto(ca) >= 0 && posto(cb) >= 0) classe = posto(ca) > posto(cb) ? ca : cb;
  int status = 0;
  com_classe(classe, [&]<class I>() {
    I x, y;
    le_formato(x, fa, ta);
    le_formato(y, fb, tb);
    if (x.nl() != y.nl() || x.nc() != y.nc()) {
      std::printf("differ: sizes %d x %d and %d x %d\n", x.nl(), x.nc(), y.nl(), y.nc());
      status = 1;
      return;
    }
    const DIFERENCA d = diferencas(x, y);
    if (d.n == 0) {
      std::printf("equal: %d x %d pixels\n", x.nl(), x.nc());
      return;
    }
    std::printf("differ: %lld of %lld pixels, the first at row %d, column %d\n", d.n,
                static_cast<long long>(x.nl()) * x.nc(), d.l, d.c);
    status = 1;
  });
  return status;
}

// What was printed must have reached the standard output.
int fim(int status) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("Error: cannot write to the standard output\n", stderr);
    return 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (args.empty()) falha("no command given");
  const std::string& cmd = args[0];
  const std::vector<std::string> resto(args.begin() + 1, args.end());
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    std::fputs(AJUDA, stdout);
    return fim(0);
  }
  if (cmd == "type") return fim(tipo(resto));
  if (cmd == "convert") return fim(convert(resto));
  if (cmd == "compare") return fim(compare(resto));
  falha("unknown command '" + cmd + "'");
}
