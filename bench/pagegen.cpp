#include "pagegen.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "font5x7.h"
#include "random/random.h"

namespace pagegen {

using imagorix::IMGBIN;
using imagorix::RANDOM;

namespace {

constexpr const char* kTitle = "Quarterly Report of the Archive";
constexpr const char* kSentences[] = {
    "The archive keeps signed copies of every contract, drawing and letter that "
    "passed through the office this year.",
    "Each page was scanned at the resolution shown in its header and stored as a "
    "black and white image, one bit for every dot of the page.",
    "A page that is shown to a court or an auditor must be the very page that was "
    "scanned: not a single dot may have moved.",
    "(Copies that are only read on a screen may be smaller.)",
    "The numbers below count the pages per month: 1204 in January, 987 in February, "
    "1533 in March; the total for the quarter is 3724 pages, or 41 boxes of paper.",
    "Questions about a page should name its box, its folder and its date, for "
    "example box 17, folder 3, 2026-03-09.",
    "Damaged pages were scanned twice; both scans are kept.",
    "Letters that arrived by fax were printed, signed and scanned again.",
    "Who may open a box is written on its lid; keys are kept by the clerk.",
};
constexpr int kNumSentences = sizeof kSentences / sizeof kSentences[0];

const Glyph* find_glyph(char c) {
  for (const Glyph& g : kFont)
    if (g.c == c) return &g;
  return nullptr;
}

void ink_rect(IMGBIN& img, int r0, int c0, int h, int w) {
  for (int r = std::max(0, r0); r < std::min(img.nl(), r0 + h); ++r)
    for (int c = std::max(0, c0); c < std::min(img.nc(), c0 + w); ++c) img.set(r, c, false);
}

// Draws one character with cells of s x s pixels; returns its advance.
int draw_char(IMGBIN& img, int top, int left, char ch, int s) {
  const Glyph* g = find_glyph(ch);
  // Descenders hang below the line.
  if (ch == 'g' || ch == 'j' || ch == 'p' || ch == 'q' || ch == 'y') top += 2 * s;
  if (g)
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 5; ++x)
        if (g->rows[y][x] == '#') ink_rect(img, top + y * s, left + x * s, s, s);
  return 6 * s;
}

// Writes text word-wrapped between the margins, stopping at the line that
// would pass bottom; returns the next line's top.
int draw_text(IMGBIN& img, const char* text, int top, int left, int right, int s, int bottom) {
  const int line = 11 * s;
  int x = left;
  const char* p = text;
  while (*p) {
    const char* e = p;
    while (*e && *e != ' ') ++e;
    const int width = static_cast<int>(e - p) * 6 * s;
    if (x > left && x + width > right) {
      x = left;
      top += line;
    }
    if (top + line > bottom) return top;
    for (const char* q = p; q < e; ++q) x += draw_char(img, top, x, *q, s);
    x += 6 * s;
    p = *e ? e + 1 : e;
  }
  return top + line;
}

// A scanner is not perfect: flip a few pixels along the edges of the ink and
// scatter rare specks over the page.
void scan_noise(IMGBIN& img, RANDOM& gen, int edge_per_mille, int speck_per_million) {
  const int nl = img.nl(), nc = img.nc();
  std::vector<char> flip(static_cast<std::size_t>(nc));
  for (int r = 1; r + 1 < nl; ++r) {
    std::fill(flip.begin(), flip.end(), 0);
    for (int c = 1; c + 1 < nc; ++c) {
      const bool v = img.get(r, c);
      const bool edge = img.get(r - 1, c) != v || img.get(r + 1, c) != v ||
                        img.get(r, c - 1) != v || img.get(r, c + 1) != v;
      if (edge && gen.next() % 1000 < edge_per_mille) flip[c] = 1;
    }
    for (int c = 1; c + 1 < nc; ++c)
      if (flip[c]) img.set(r, c, !img.get(r, c));
  }
  const long long specks = static_cast<long long>(nl) * nc * speck_per_million / 1000000;
  for (long long i = 0; i < specks; ++i) {
    const int r = gen.next() % nl, c = gen.next() % nc;
    img.set(r, c, false);
  }
}

void text_page(IMGBIN& img, int dpi, RANDOM& gen) {
  const int s = std::max(1, (dpi * 7 + 300) / 600);  // about 10 point type
  const int margin = dpi * 25 / 254;                  // 25 mm
  const int left = margin, right = img.nc() - margin;
  int top = margin;
  top = draw_text(img, kTitle, top, left, right, 2 * s, img.nl());
  ink_rect(img, top, left, std::max(1, s / 2), right - left);
  top += 4 * s;
  // Paragraphs until the page is full, leaving room for the signature.
  const int bottom = img.nl() - margin - 30 * s;
  int paragraph = 0;
  while (top + 40 * s < bottom) {
    const int before = top;
    std::string text;
    const int first = static_cast<int>(gen.next() % kNumSentences);
    const int count = 3 + static_cast<int>(gen.next() % 4);
    for (int i = 0; i < count; ++i) {
      if (i) text += ' ';
      text += kSentences[(first + i) % kNumSentences];
    }
    top = draw_text(img, text.c_str(), top, left + 4 * s, right, s, bottom);
    if (top == before) break;
    top += 5 * s;
    ++paragraph;
  }
  // A box with a handwritten-looking signature inside.
  const int bx = left, by = top, bw = (right - left) / 2, bh = 24 * s;
  ink_rect(img, by, bx, s / 2 + 1, bw);
  ink_rect(img, by + bh, bx, s / 2 + 1, bw);
  ink_rect(img, by, bx, bh, s / 2 + 1);
  ink_rect(img, by, bx + bw, bh + s / 2 + 1, s / 2 + 1);
  const double amp = bh * 0.3, phase = (gen.next() % 1000) / 100.0;
  for (int x = 0; x < bw - 8 * s; ++x) {
    const double t = x / static_cast<double>(4 * s);
    const int y = by + bh / 2 + static_cast<int>(amp * std::sin(t + phase) * std::cos(t / 3.1));
    ink_rect(img, y, bx + 4 * s + x, std::max(1, s / 2 + 1), 1);
  }
  scan_noise(img, gen, 60, 20);
}

void photo_page(IMGBIN& img, RANDOM& gen) {
  const int nl = img.nl(), nc = img.nc();
  const double cx = nc * (0.3 + (gen.next() % 400) / 1000.0), cy = nl * 0.45;
  const double scale = std::min(nl, nc);
  // Floyd-Steinberg error diffusion of a smooth synthetic scene.
  std::vector<float> cur(static_cast<std::size_t>(nc) + 2), next(cur.size());
  auto grey = [&](int r, int c) {
    const double x = (c - cx) / scale, y = (r - cy) / scale;
    const double d = std::sqrt(x * x + y * y);
    double g = 0.55 + 0.3 * std::cos(d * 9.0) * std::exp(-d * 1.5);
    g += 0.15 * std::sin(c * 6.0 / scale) * std::cos(r * 4.0 / scale);
    g += 0.25 * (static_cast<double>(r) / nl - 0.5);
    return static_cast<float>(std::min(1.0, std::max(0.0, g)));
  };
  for (int c = 0; c < nc; ++c) cur[c + 1] = grey(0, c);
  for (int r = 0; r < nl; ++r) {
    if (r + 1 < nl)
      for (int c = 0; c < nc; ++c) next[c + 1] = grey(r + 1, c);
    for (int c = 0; c < nc; ++c) {
      const float old = cur[c + 1];
      const bool white = old >= 0.5f;
      img.set(r, c, white);
      const float err = old - (white ? 1.0f : 0.0f);
      cur[c + 2] += err * 7 / 16;
      next[c] += err * 3 / 16;
      next[c + 1] += err * 5 / 16;
      next[c + 2] += err * 1 / 16;
    }
    std::swap(cur, next);
    std::fill(next.begin(), next.end(), 0.0f);
  }
}

void blank_page(IMGBIN& img, int dpi, RANDOM& gen) {
  const int s = std::max(1, (dpi * 7 + 300) / 600);
  const int margin = dpi * 25 / 254;
  draw_text(img, "page 17 of 240", img.nl() - margin, img.nc() / 2 - 42 * s, img.nc(), s, img.nl());
  scan_noise(img, gen, 0, 5);
}

void noise_page(IMGBIN& img, RANDOM& gen) {
  for (int r = 0; r < img.nl(); ++r)
    for (int w = 0; w < img.wpr(); ++w) img.row(r)[w] = gen.next32();
}

}  // namespace

IMGBIN page(Kind kind, int dpi, unsigned seed) {
  const int nc = static_cast<int>(std::lround(210.0 / 25.4 * dpi));
  const int nl = static_cast<int>(std::lround(297.0 / 25.4 * dpi));
  IMGBIN img(nl, nc, 1);
  RANDOM gen(static_cast<int>(seed));
  switch (kind) {
    case Kind::Text: text_page(img, dpi, gen); break;
    case Kind::Photo: photo_page(img, gen); break;
    case Kind::Blank: blank_page(img, dpi, gen); break;
    case Kind::Noise: noise_page(img, gen); break;
  }
  return img;
}

bool kind_from_name(const std::string& name, Kind& kind) {
  if (name == "text") kind = Kind::Text;
  else if (name == "photo") kind = Kind::Photo;
  else if (name == "blank") kind = Kind::Blank;
  else if (name == "noise") kind = Kind::Noise;
  else return false;
  return true;
}

}  // namespace pagegen
