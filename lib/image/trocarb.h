// Colour pixels between the library's order (red, green, blue) and the
// files' order (blue, green, red): each 3-byte pixel reversed.
#pragma once
#include <cstddef>

namespace imagorix::detail {

// n pixels of o, each with its first and third bytes exchanged, into d. d may
// be o itself; otherwise the two must not overlap. Uses the processor's byte
// shuffles where it has them.
void troca_rb(const void* o, void* d, std::size_t n) noexcept;

// The same, a pixel at a time: what troca_rb must agree with.
void troca_rb_simples(const void* o, void* d, std::size_t n) noexcept;

}  // namespace imagorix::detail
