#include "base/erro.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace imagorix {

bool debugging = true;

void erro(const std::string& a, const std::string& b) {
#ifdef IMAGORIX_FUZZ
  throw ERROFUZZ{a + " " + b};
#else
  // Whatever the program already printed comes first, also when both
  // streams go to one file.
  std::fflush(stdout);
  std::fprintf(stderr, "%s %s\n", a.c_str(), b.c_str());
  std::exit(1);
#endif
}

void debug(int n) {
  if (debugging) std::fprintf(stderr, "Debug: %d\n", n);
}

void debug(const std::string& a, const std::string& b) {
  if (debugging) std::fprintf(stderr, "Debug: %s %s\n", a.c_str(), b.c_str());
}

int clockms() { return static_cast<int>(double(std::clock()) * 1000.0 / CLOCKS_PER_SEC); }
int clockcs() { return static_cast<int>(double(std::clock()) * 100.0 / CLOCKS_PER_SEC); }

}  // namespace imagorix
