// Pixel data of the binary formats, read without trusting the header.
//
// A header states how many pixel bytes follow, and a damaged or hostile file
// can state gigabytes in a few bytes. The storage for them is therefore
// obtained only once the bytes are known to exist: a regular file is measured
// first, and a pipe or device, whose length cannot be known, is read into a
// buffer that grows only as the bytes arrive.
#pragma once
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/arquivo.h"
#include "base/erro.h"

namespace imagorix::detail {

// Reads n bytes into the storage that aloca() returns (a pointer to at least
// n bytes). When the file cannot deliver n bytes the program ends with the
// reader's message fim, and aloca is not called.
template <class F>
void le_bloco(ARQLE& f, std::size_t n, F aloca, const std::string& fim) {
  const long long resta = f.remaining();
  if (resta >= 0) {
    if (static_cast<unsigned long long>(resta) < n) erro(fim);
    void* p = aloca();
    if (n && !f.read(p, n)) erro(fim);
    return;
  }
  std::vector<unsigned char> v;
  while (v.size() < n) {
    const std::size_t antes = v.size();
    const std::size_t passo = std::min(n - antes, std::max<std::size_t>(antes, std::size_t{1} << 16));
    v.resize(antes + passo);
    if (!f.read(v.data() + antes, passo)) erro(fim);
  }
  void* p = aloca();
  if (n) std::memcpy(p, v.data(), n);
}

// Sizes whose pixel count does not fit an int: the image's aloca refuses them
// with its allocation message before allocating anything, so this ends the
// program. Readers call it ahead of any file-length check, so that such sizes
// always give the allocation message.
template <class I>
void recusa_estouro(I& img, int nl, int nc) {
  const long long n = static_cast<long long>(nl) * nc;
  if (n > INT_MAX || n < INT_MIN) img.aloca(nl, nc);
}

// A size no image file can carry: readers refuse it before allocating and
// writers before creating the file. what is "Erro <reader or writer>".
inline void recusa_negativo(int nl, int nc, const std::string& what) {
  if (nl < 0 || nc < 0) erro(what + " - Tamanho invalido");
}

// Pixels an nl x nc image holds: 0 when either size is below 1.
inline std::size_t npixels(int nl, int nc) {
  return nl > 0 && nc > 0 ? static_cast<std::size_t>(nl) * static_cast<std::size_t>(nc) : 0;
}

}  // namespace imagorix::detail
