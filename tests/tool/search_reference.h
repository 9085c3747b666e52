// The search of sign done the straightforward way, as the yardstick for the
// tool: every iteration extracts the disagreement bits of positions 0 ... 15
// and of the region, compresses them with a fresh coder and applies the loop
// rules one after the other. Nothing is printed and nothing ends the
// program: the lines and the error the tool should give are returned.
#pragma once
#include <string>

#include "carriers.h"
#include "golomb.h"
#include "payload.h"

namespace reference {

inline const std::string kBounds = "Erro VETOR::operator() - Indice invalido \n";
inline const std::string kImpossible = "Error: Impossible to authenticate the image \n";

struct SearchTrace {
  std::string out;  // the "Beginning: " lines
  std::string err;  // empty, or the whole error line the program ends with
  int B = 0, n = 0, w = 0;
  int iterations = 0, moves = 0, growths = 0;
  bool ok() const { return err.empty(); }
};

inline SearchTrace Search(const kova::CARRIERS& car, int T, int m) {
  SearchTrace t;
  int B = 16, L = T + 32;
  while (true) {
    // Reading a position past the list ends the program with its index
    // message, before the iteration prints anything.
    if (B + L > car.n()) {
      t.err = kBounds;
      return t;
    }
    const std::string S = kova::Disagreements(car, B, L);
    const int n = 16 + L;
    const std::string C = kova::GOLOMB(m).encode(S);
    const int w = static_cast<int>(C.size());
    const int free = n - w;
    t.out += "Beginning: " + std::to_string(B) + "\tOrig. size n: " + std::to_string(n) +
             "\tCompr. size w: " + std::to_string(w) + "\tFree bits n-w: " + std::to_string(free) +
             "\n";
    ++t.iterations;
    const int this_B = B;
    if (free < 0) {
      B += 32;
      L = T + 32;
      ++t.moves;
    } else {
      L += 32;
      ++t.growths;
    }
    if (B + L > car.n()) {
      t.err = kImpossible;
      return t;
    }
    if (free >= T + 37) {
      t.B = this_B;
      t.n = n;
      t.w = w;
      return t;
    }
  }
}

}  // namespace reference
