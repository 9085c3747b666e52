// The generated pages, drawn with the library's own primitives and font.
#include "pagegen.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "draw/desenho.h"
#include "draw/texto.h"
#include "random/random.h"

namespace pagegen {

using imagorix::IMGBIN;
using imagorix::RANDOM;

namespace {

constexpr const char* kSender = "ARCHIVE OF THE NORTHERN DISTRICT";
constexpr const char* kAddress = "14 Harbour Street, Kingsport KP3 7QA - telephone 0142 555 0190";
constexpr const char* kDate = "Kingsport, 9 March 2026";
constexpr const char* kAddressee[] = {"Ms Helena Vasquez", "Records Office, Eastbrook Council",
                                      "2 Mill Lane, Eastbrook EB1 4RT"};
constexpr const char* kSubject = "Subject: quarterly report of the archive";
constexpr const char* kGreeting = "Dear Ms Vasquez,";
constexpr const char* kSignatory = "Arthur Pendleton";
constexpr const char* kRole = "Keeper of the Archive";
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

// Type scaled to the resolution: the built-in font at zoom z, one font pixel
// a z x z block (7-point type at 150 dpi and at any other zoom's dpi).
struct Type {
  int z;      // zoom
  int cw;     // column advance of a character
  int gh;     // glyph height
  int lh;     // line pitch
  int bold;   // offset of the second stroke of bold type
};

Type type_for(int dpi) {
  const int z = std::max(1, (dpi + 75) / 150);
  return {z, 8 * z, 14 * z, 18 * z, std::max(1, z / 2)};
}

int mm(double v, int dpi) { return static_cast<int>(std::lround(v * dpi / 25.4)); }

// One line of type, black on the page as it is (transparent); bold type is
// struck twice, a little apart.
void type_line(IMGBIN& img, int top, int left, const std::string& s, const Type& t, bool bold = false,
               int zoom = 0) {
  const int z = zoom ? zoom : t.z;
  imagorix::text(img, top, left, s, false, z, true, true);
  if (bold) imagorix::text(img, top, left + t.bold * z / t.z, s, false, z, true, true);
}

int width_of(const std::string& s, const Type& t) { return static_cast<int>(s.size()) * t.cw; }

// Writes text word-wrapped between the margins, stopping at the line that
// would pass bottom; returns the next line's top.
int draw_text(IMGBIN& img, const std::string& text, int top, int left, int right, const Type& t, int bottom) {
  std::string line;
  auto flush = [&]() {
    if (!line.empty() && top + t.lh <= bottom) type_line(img, top, left, line, t);
    if (!line.empty()) top += t.lh;
    line.clear();
  };
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t e = text.find(' ', p);
    if (e == std::string::npos) e = text.size();
    const std::string word = text.substr(p, e - p);
    if (!line.empty() && left + width_of(line + " " + word, t) > right) {
      flush();
      if (top + t.lh > bottom) return top;
    }
    line += (line.empty() ? "" : " ") + word;
    p = e + 1;
  }
  flush();
  return top;
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

// A paragraph of three to six sentences of the pool, from a drawn start.
std::string paragraph(RANDOM& gen) {
  std::string text;
  const int first = static_cast<int>(gen.next() % kNumSentences);
  const int count = 3 + static_cast<int>(gen.next() % 4);
  for (int i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += kSentences[(first + i) % kNumSentences];
  }
  return text;
}

// A ruled table of the pages kept per month; returns the top of what follows.
int table(IMGBIN& img, int top, int left, const Type& t, int rule, RANDOM& gen) {
  const char* head[] = {"Month", "Pages", "Boxes", "Checked by"};
  const int widths[] = {14, 9, 9, 18};  // characters per column
  const char* months[] = {"January", "February", "March", "April", "May"};
  const char* clerks[] = {"R. Almeida", "J. Okafor", "M. Lindqvist", "S. Haddad"};
  const int pad = t.cw, rh = t.lh + 2 * (t.lh / 3);
  int x[5] = {left};
  for (int i = 0; i < 4; ++i) x[i + 1] = x[i] + widths[i] * t.cw + 2 * pad;
  const int rows = 1 + 5 + 1;  // heading, months, total
  int total_pages = 0, total_boxes = 0;
  for (int r = 0; r < rows; ++r) {
    const int y = top + r * rh, ty = y + (rh - t.gh) / 2 + t.z;
    std::string cells[4];
    if (r == 0) {
      for (int i = 0; i < 4; ++i) cells[i] = head[i];
    } else if (r < rows - 1) {
      const int pages = 800 + static_cast<int>(gen.next() % 900), boxes = (pages + 89) / 90;
      total_pages += pages;
      total_boxes += boxes;
      cells[0] = months[r - 1];
      cells[1] = std::to_string(pages);
      cells[2] = std::to_string(boxes);
      cells[3] = clerks[gen.next() % 4];
    } else {
      cells[0] = "Total";
      cells[1] = std::to_string(total_pages);
      cells[2] = std::to_string(total_boxes);
    }
    for (int i = 0; i < 4; ++i) {
      // Numbers to the right of their column, words to the left.
      const bool number = i == 1 || i == 2;
      const int cx = number ? x[i + 1] - pad - width_of(cells[i], t) : x[i] + pad;
      type_line(img, ty, cx, cells[i], t, r == 0 || r == rows - 1);
    }
  }
  // The ruling: heavier around the table and under the heading.
  const int bottom = top + rows * rh;
  for (int r = 0; r <= rows; ++r) {
    const int w = r == 0 || r == 1 || r == rows - 1 || r == rows ? 2 * rule : rule;
    imagorix::line(img, top + r * rh, x[0], top + r * rh, x[4], false, w);
  }
  for (int i = 0; i <= 4; ++i) imagorix::line(img, top, x[i], bottom, x[i], false, i == 0 || i == 4 ? 2 * rule : rule);
  return bottom + t.lh;
}

// A handwritten-looking signature: a pen stroke of loops and a flourish
// under it, drawn as short lines with a round-ish brush.
void signature(IMGBIN& img, int top, int left, int width, int height, int pen, RANDOM& gen) {
  const double ph = (gen.next() % 1000) / 160.0;
  const int n = 240;
  int pl = 0, pc = 0;
  for (int i = 0; i <= n; ++i) {
    const double u = static_cast<double>(i) / n, a = 2 * std::numbers::pi * u;
    const double x = u * 0.85 + 0.05 * std::sin(7 * a + ph);
    const double y = 0.45 + 0.32 * std::sin(5 * a + ph) * std::cos(1.5 * a) - 0.15 * std::cos(7 * a + ph);
    const int l = top + static_cast<int>(y * height), c = left + static_cast<int>(x * width);
    if (i) imagorix::line(img, pl, pc, l, c, false, pen);
    pl = l;
    pc = c;
  }
  imagorix::line(img, top + height * 9 / 10, left + width / 8, top + height * 8 / 10, left + width, false,
                 std::max(1, pen - 1));
}

void text_page(IMGBIN& img, int dpi, RANDOM& gen) {
  const Type t = type_for(dpi);
  const int rule = std::max(1, t.z);
  const int left = mm(30, dpi), right = img.nc() - mm(25, dpi);
  int top = mm(20, dpi);
  // Letterhead: the sender in large bold type, the address, a rule.
  type_line(img, top, left, kSender, t, true, 2 * t.z);
  top += 2 * t.gh + t.lh / 2;
  type_line(img, top, left, kAddress, t);
  top += t.lh;
  imagorix::line(img, top, left, top, right, false, 2 * rule);
  top += 2 * t.lh;
  // Date to the right, then the addressee.
  type_line(img, top, right - width_of(kDate, t), kDate, t);
  top += 2 * t.lh;
  for (const char* l : kAddressee) {
    type_line(img, top, left, l, t);
    top += t.lh;
  }
  top += t.lh;
  type_line(img, top, left, kSubject, t, true);
  top += 2 * t.lh;
  type_line(img, top, left, kGreeting, t);
  top += t.lh + t.lh / 2;
  // Two paragraphs, the table, then paragraphs while they fit above the
  // closing and its signature.
  const int closing = img.nl() - mm(20, dpi) - 8 * t.lh;
  for (int i = 0; i < 2; ++i) top = draw_text(img, paragraph(gen), top, left, right, t, closing) + t.lh / 2;
  top = table(img, top + t.lh / 2, left, t, rule, gen);
  while (top + 4 * t.lh < closing) {
    const int before = top;
    top = draw_text(img, paragraph(gen), top, left, right, t, closing);
    if (top == before) break;
    top += t.lh / 2;
  }
  top = std::max(top + t.lh, closing);
  type_line(img, top, left, "Yours sincerely,", t);
  const int sig_h = 4 * t.lh;
  signature(img, top + t.lh, left, mm(55, dpi), sig_h, std::max(2, dpi / 75), gen);
  top += t.lh + sig_h + t.lh / 2;
  type_line(img, top, left, kSignatory, t);
  type_line(img, top + t.lh, left, kRole, t);
  scan_noise(img, gen, 25, 20);
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
  const Type t = type_for(dpi);
  const std::string footer = "page 17 of 240";
  type_line(img, img.nl() - mm(20, dpi), (img.nc() - width_of(footer, t)) / 2, footer, t);
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
