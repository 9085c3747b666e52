// Reversing the bytes of colour pixels, with SSSE3 byte shuffles where the
// processor has them (decided once, at the first call).
#include "image/trocarb.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define IMAGORIX_TROCA_SSSE3 1
#endif

namespace imagorix::detail {

void troca_rb_simples(const void* o, void* d, std::size_t n) noexcept {
  const unsigned char* s = static_cast<const unsigned char*>(o);
  unsigned char* t = static_cast<unsigned char*>(d);
  for (std::size_t k = 0; k < n; ++k, s += 3, t += 3) {
    const unsigned char a = s[0], b = s[1], c = s[2];
    t[0] = c;
    t[1] = b;
    t[2] = a;
  }
}

namespace {

#ifdef IMAGORIX_TROCA_SSSE3
// Five pixels per step: 16 bytes are loaded and stored, the sixteenth as it
// was, and the next step (which starts there) writes it again. So d == o is
// fine, and no byte past the last pixel is touched: the steps stop while 16
// bytes are left and the rest goes a pixel at a time.
__attribute__((target("ssse3"))) void troca_ssse3(const void* o, void* d, std::size_t n) noexcept {
  const unsigned char* s = static_cast<const unsigned char*>(o);
  unsigned char* t = static_cast<unsigned char*>(d);
  const __m128i m = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  const std::size_t bytes = 3 * n;
  std::size_t i = 0;
  for (; i + 16 <= bytes; i += 15) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(t + i), _mm_shuffle_epi8(v, m));
  }
  troca_rb_simples(s + i, t + i, (bytes - i) / 3);
}

bool tem_ssse3() noexcept {
  static const bool sim = __builtin_cpu_supports("ssse3");
  return sim;
}
#endif

}  // namespace

void troca_rb(const void* o, void* d, std::size_t n) noexcept {
#ifdef IMAGORIX_TROCA_SSSE3
  if (tem_ssse3()) return troca_ssse3(o, d, n);
#endif
  troca_rb_simples(o, d, n);
}

}  // namespace imagorix::detail
