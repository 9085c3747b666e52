// libFuzzer driver for the targets of targets.h. The target is chosen with
// the environment variable FUZZ_TARGET; fuzz/run sets it.
//
// Built only with IMAGORIX_FUZZ, where erro throws ERROFUZZ: a refused input
// returns here and the next one runs in the same process. Each input is put
// in a memory file and read through its /proc/self/fd name.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/erro.h"
#include "targets.h"

#ifndef IMAGORIX_FUZZ
#error "the fuzz driver needs a build configured with IMAGORIX_FUZZ"
#endif

namespace {

const fuzz::TARGET* alvo = nullptr;
int memfd = -1;
std::string entrada, dir, saida;

[[noreturn]] void falha(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz target %s: %s %s\n", alvo->name, what, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

bool existe(const std::string& nome) {
  struct stat st;
  return ::stat(nome.c_str(), &st) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* nome = std::getenv("FUZZ_TARGET");
  alvo = nome ? fuzz::find(nome) : nullptr;
  if (!alvo) {
    std::fprintf(stderr, "FUZZ_TARGET must name one of:");
    for (const fuzz::TARGET& t : fuzz::targets()) std::fprintf(stderr, " %s", t.name);
    std::fprintf(stderr, "\n");
    std::exit(2);
  }
  memfd = memfd_create("fuzz-input", 0);
  char modelo[] = "/tmp/imagorix-fuzz-XXXXXX";
  if (memfd < 0 || !mkdtemp(modelo)) {
    std::perror("fuzz set-up");
    std::exit(2);
  }
  entrada = "/proc/self/fd/" + std::to_string(memfd);
  dir = modelo;
  if (alvo->output) saida = dir + "/" + alvo->output;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(memfd, 0) != 0 || pwrite(memfd, data, size, 0) != static_cast<ssize_t>(size))
    falha("cannot store the input", "");
  if (!saida.empty()) std::remove(saida.c_str());
  bool aceito = true;
  try {
    alvo->run(entrada, dir);
  } catch (const imagorix::ERROFUZZ& e) {
    aceito = false;
    // One line: only the verification failure ends its text with a line
    // feed (the line after it holds the separator blank).
    const std::size_t lf = e.linha.find('\n');
    if (lf != std::string::npos && lf + 1 != e.linha.size() - 1)
      falha("error message of more than one line:", e.linha);
  }
  if (!saida.empty()) {
    if (aceito && !existe(saida)) falha("accepted the input but wrote no", saida);
    if (!aceito && existe(saida)) falha("refused the input but left", saida);
  }
  return 0;
}
