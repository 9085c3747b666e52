// imagorix: the library's image files from the command line.
//
//   imagorix type FILE                         the detected type of FILE
//   imagorix convert [--as CLASS] IN OUT       read IN with le, write OUT with imp
//
// Everything the library reports (unreadable files, refused formats) comes
// out in the library's own words through erro; this program's own messages
// are about its command line. Exit status 0 on success, 1 on any error.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "image/formato.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/jpeg.h"
#include "image/leimp.h"
#include "image/png.h"
#include "image/tiff.h"
#include "image/tipo.h"

using namespace imagorix;

namespace {

const char* const AJUDA =
    "imagorix: reads and writes the image files of the Imagorix library\n"
    "\n"
    "Usage:\n"
    "  imagorix type FILE\n"
    "      Prints the type code detected from the contents of FILE and the name\n"
    "      of its format, e.g. \"4 1-bit BMP\".\n"
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

int tipo(const std::vector<std::string>& a) {
  if (a.size() != 1) falha("type needs exactly one file name");
  const int t = TipoImg(a[0]);
  std::printf("%d %s\n", t, NomeTipo(t));
  return 0;
}

int convert(std::vector<std::string> a) {
  std::string classe;
  if (!a.empty() && a[0] == "--as") {
    if (a.size() < 2) falha("--as needs a class: bin, gry, cor, sht, flt, dbl or cpx");
    classe = a[1];
    a.erase(a.begin(), a.begin() + 2);
  }
  if (a.size() != 2) falha("convert needs an input and an output file name");
  const std::string& in = a[0];
  const std::string& out = a[1];
  const auto conhecida = [](const std::string& c) { return com_classe(c, []<class>() {}); };
  if (!classe.empty() && !conhecida(classe))
    falha("unknown class '" + classe + "' (use bin, gry, cor, sht, flt, dbl or cpx)");

  // The input is opened and its type found once: the type decides the
  // class, and the same open file is then read, so that a pipe works too.
  ARQLE arq(in, "rb", TIPO_ABERTURA, TIPO_BUFFER, ARQLE::VOLTA);
  const int t = TipoImg(arq);
  if (classe.empty()) classe = classe_padrao(t, arq, out);
  com_classe(classe, [&]<class I>() {
    I img;
    le_formato(img, arq, t);
    imp(img, out);
  });
  return 0;
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
  falha("unknown command '" + cmd + "'");
}
