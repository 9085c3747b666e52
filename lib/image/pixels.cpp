// Storage of the pixel blocks of the image classes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/img.h"

namespace imagorix::detail {

namespace {
constexpr std::size_t HUGE_PAGE = std::size_t(2) << 20;
// From here on a block is aligned and advised as huge pages: below it the
// rounding to whole huge pages would waste too much.
constexpr std::size_t GRANDE = std::size_t(4) << 20;
// From here on (below GRANDE) a block's pages are taken at once.
constexpr std::size_t MEDIO = std::size_t(256) << 10;
}  // namespace

void* aloca_pixels(std::size_t bytes) noexcept {
  if (bytes < GRANDE) {
    void* p = std::calloc(bytes ? bytes : 1, 1);
#ifdef MADV_POPULATE_WRITE
    // A block of this size is usually fresh from the kernel, and its pixels
    // are all written soon after: taking its pages in one call costs far less
    // than a fault for each (a video's frames are such blocks). Only advice:
    // an older kernel refuses it and the pages come one by one as before.
    if (p && bytes >= MEDIO) {
      static const auto PAGINA = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
      const auto inicio = (reinterpret_cast<std::uintptr_t>(p) + PAGINA - 1) & ~(PAGINA - 1);
      const auto fim = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(PAGINA - 1);
      if (fim > inicio) madvise(reinterpret_cast<void*>(inicio), fim - inicio, MADV_POPULATE_WRITE);
    }
#endif
    return p;
  }
  const std::size_t total = (bytes + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
  if (total < bytes) return nullptr;
  void* p = std::aligned_alloc(HUGE_PAGE, total);
  if (!p) return nullptr;
#ifdef MADV_HUGEPAGE
  // Only advice: where huge pages are off, the block is ordinary memory.
  madvise(p, total, MADV_HUGEPAGE);
#endif
  std::memset(p, 0, bytes);
  return p;
}

void libera_pixels(void* p) noexcept { std::free(p); }

}  // namespace imagorix::detail
