// Sign mode: hides the reversible authentication watermark in an image.
#pragma once
#include <string>

#include "keying.h"

namespace kova {

// Reads original, marks it with key, a MAC of TamMAC bits and the Golomb
// parameter m, and writes the result to marked. Errors end the process.
void sign(const std::string& original, const KEYING& key, const std::string& marked, int TamMAC, int m);
// The same with a numeric key (the default mode).
inline void sign(const std::string& original, int key, const std::string& marked, int TamMAC, int m) {
  sign(original, KEYING{key, nullptr}, marked, TamMAC, m);
}

}  // namespace kova
