// Storage of the pixel blocks of the image classes.
#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

#include "image/img.h"

namespace imagorix::detail {

namespace {
constexpr std::size_t HUGE_PAGE = std::size_t(2) << 20;
// From here on a block is aligned and advised as huge pages: below it the
// rounding to whole huge pages would waste too much.
constexpr std::size_t GRANDE = std::size_t(4) << 20;
}  // namespace

void* aloca_pixels(std::size_t bytes) noexcept {
  if (bytes < GRANDE) return std::calloc(bytes ? bytes : 1, 1);
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
