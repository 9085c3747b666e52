// Deterministic test pages for the benchmarks and the bundled sample: a
// letter (letterhead, paragraphs, a ruled table, a signature, with a
// scanner's specks and ragged edges), a dithered photograph, a nearly blank
// page and pure noise (which nothing compresses: the longest search there
// is), at any resolution. Text and lines are drawn with the library's own
// primitives and built-in font, type scaled with the resolution. The same
// kind, resolution and seed always give the same pixels.
#pragma once
#include <string>

#include "image/imgbin.h"

namespace pagegen {

enum class Kind { Text, Photo, Blank, Noise };

// An A4 page (210 x 297 mm) at dpi dots per inch.
imagorix::IMGBIN page(Kind kind, int dpi, unsigned seed = 1);

// Parses "text", "photo", "blank" or "noise"; false for anything else.
bool kind_from_name(const std::string& name, Kind& kind);

}  // namespace pagegen
