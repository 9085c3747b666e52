// genpage KIND DPI OUT [SEED]: writes a generated A4 page (text, photo,
// blank or noise) at DPI dots per inch; the suffix of OUT chooses the format.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/leimp.h"
#include "pagegen.h"

int main(int argc, char** argv) {
  pagegen::Kind kind;
  if (argc < 4 || argc > 5 || !pagegen::kind_from_name(argv[1], kind) || std::atoi(argv[2]) < 10) {
    std::fprintf(stderr, "usage: genpage text|photo|blank|noise DPI OUT [SEED]\n");
    return 1;
  }
  const unsigned seed = argc == 5 ? static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)) : 1u;
  imagorix::imp(pagegen::page(kind, std::atoi(argv[2]), seed), argv[3]);
  return 0;
}
