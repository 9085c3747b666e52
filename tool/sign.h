// Sign mode: hides the reversible authentication watermark in an image.
#pragma once
#include <string>

namespace kova {

// Reads original, marks it with key, a MAC of TamMAC bits and the Golomb
// parameter m, and writes the result to marked. Errors end the process.
void sign(const std::string& original, int key, const std::string& marked, int TamMAC, int m);

}  // namespace kova
