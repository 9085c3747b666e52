#include "carriers.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

#include "base/erro.h"
#include "random/random.h"

namespace kova {

namespace {

// Rows top to bottom, cells left to right: 0 black, 1 white, x don't care.
const char* const base_templates[15] = {
    "00x" "0x1" "x11",  // 10
    "111" "1x0" "101",  // 20
    "111" "1x1" "101",  // 30
    "001" "0x1" "11x",  // 40
    "111" "0x0" "101",  // 50
    "110" "0x1" "xxx",  // 60
    "110" "1x1" "0xx",  // 70
    "111" "1x0" "01x",  // 80
    "111" "1x1" "100",  // 90
    "000" "xxx" "111",  // 100
    "x1x" "0x0" "x1x",  // 110
    "111" "1x1" "010",  // 120
    "101" "0x0" "101",  // 130
    "111" "1x1" "110",  // 140
    "000" "0x0" "000",  // 150
};

// Quarter turn: cell (i, j) goes to (2 - j, i).
IMGGRY turn(const IMGGRY& t) {
  IMGGRY r(3, 3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r(2 - j, i) = t(i, j);
  return r;
}

// Upside down: row i goes to row 2 - i.
IMGGRY flip(const IMGGRY& t) {
  IMGGRY r(3, 3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r(2 - i, j) = t(i, j);
  return r;
}

// Every cell byte negated: 0 and 255 swap, 128 becomes 127 (still don't care).
IMGGRY complement(const IMGGRY& t) {
  IMGGRY r(3, 3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r(i, j) = static_cast<imagorix::BYTE>(~t(i, j));
  return r;
}

}  // namespace

IMGGRY BaseTemplate(int i) {
  if (i < 0 || i >= 15) imagorix::erro("Error: no such base template");
  IMGGRY t(3, 3);
  for (int k = 0; k < 9; ++k) {
    const char ch = base_templates[i][k];
    t(k / 3, k % 3) = ch == '0' ? 0 : ch == '1' ? 255 : 128;
  }
  return t;
}

void AddVariants(VETOR<IMGGRY>& templates, int& count, VETOR<int>& scores, int score,
                 const IMGGRY& t) {
  if (templates.n() <= count + 15) imagorix::erro("Error: The constant 'maximo' should be increased");
  IMGGRY turns[8];
  turns[0] = t;
  turns[4] = flip(t);
  for (int h = 0; h < 8; h += 4)
    for (int q = 1; q < 4; ++q) turns[h + q] = turn(turns[h + q - 1]);
  for (int h = 0; h < 8; h += 4) {
    for (int q = 0; q < 4; ++q) {
      templates(count) = turns[h + q];
      scores(count++) = score;
    }
    for (int q = 0; q < 4; ++q) {
      templates(count) = complement(turns[h + q]);
      scores(count++) = score;
    }
  }
}

bool Matches(const IMGGRY& p, const IMGGRY& t) {
  if (p.nl() != t.nl() || p.nc() != t.nc()) imagorix::erro("Erro: bate");
  const auto fixed = [](imagorix::BYTE v) { return v == 0 || v == 255; };
  for (int i = 0; i < p.nl(); ++i)
    for (int j = 0; j < p.nc(); ++j)
      if (fixed(p(i, j)) && fixed(t(i, j)) && p(i, j) != t(i, j)) return false;
  return true;
}

VETOR<int> MakeVisTable() {
  VETOR<IMGGRY> templates(maximo);
  VETOR<int> scores(maximo);
  int count = 0;
  for (int i = 0; i < 15; ++i) AddVariants(templates, count, scores, 10 * (i + 1), BaseTemplate(i));

  VETOR<int> vis(512);
  IMGGRY pattern(3, 3);
  for (int code = 0; code < 512; ++code) {
    for (int k = 0; k < 9; ++k) pattern(k / 3, k % 3) = (code >> (8 - k)) & 1 ? 255 : 0;
    vis(code) = 512;
    for (int t = 0; t < count; ++t) {
      if (Matches(pattern, templates(t))) {
        vis(code) = scores(t);
        break;
      }
    }
  }
  return vis;
}

int NeighbourhoodCode(const IMGBIN& img, int r, int c) {
  int code = 0;
  if (r >= 1 && r + 1 < img.nl() && c >= 1 && c + 1 < img.nc()) {
    for (int l = r - 1; l <= r + 1; ++l)
      for (int k = c - 1; k <= c + 1; ++k) code = 2 * code + img.get(l, k);
  } else {
    for (int l = r - 1; l <= r + 1; ++l)
      for (int k = c - 1; k <= c + 1; ++k) code = 2 * code + img(l, k);
  }
  return code;
}

int VisScore(const VETOR<int>& vis, const IMGBIN& img, int r, int c) {
  return vis(NeighbourhoodCode(img, r, c));
}

int BlackNeighbours(const IMGBIN& img, int r, int c) {
  return 8 - std::popcount(static_cast<unsigned>(NeighbourhoodCode(img, r, c) & ~16));
}

namespace {

// The bits of the pixels c-1, c and c+1 of a row, c-1 highest; all three
// must lie inside the row.
inline int three(const std::uint32_t* row, int c) {
  const int first = c - 1, word = first >> 5, shift = first & 31;
  std::uint64_t w = std::uint64_t{row[word]} << 32;
  if (shift > 29) w |= row[word + 1];
  return static_cast<int>((w >> (61 - shift)) & 7u);
}

// Bits needed to write every value in 0 ... n-1 (at least one).
int bits_for(long long n) {
  int b = 1;
  while ((1LL << b) < n) ++b;
  return b;
}

}  // namespace

// The order (VIS, black, rank, index) is total because the index is unique,
// so any correct sort gives the same list. Sorting millions of 16-byte
// records by comparison is slow; instead each block becomes one 64-bit word
//
//   [ class | rank | index ]
//
// where the class numbers the (VIS, black) pairs in ascending order, and the
// words are sorted by a stable radix sort on the class and rank bits. The
// words start in index order, so equal classes and ranks keep their indices
// ascending.
VETOR<PONTOI4> SortBlocks(const IMGBIN& img, const VETOR<int>& vis, int key) {
  const int bpr = img.nc() / 3, bpc = img.nl() / 3;
  const int nb = img.nl() < 3 || img.nc() < 3 ? 0 : bpc * bpr;
  if (nb <= 0) return VETOR<PONTOI4>(0);

  // The class of each neighbourhood code, and the VIS and black count of
  // each class.
  int klass[512], class_vis[512], class_black[512];
  std::pair<int, int> pair[512], sorted[512];
  for (int code = 0; code < 512; ++code) {
    pair[code] = {vis(code), 8 - std::popcount(static_cast<unsigned>(code & ~16))};
    sorted[code] = pair[code];
  }
  std::sort(sorted, sorted + 512);
  const int classes = static_cast<int>(std::unique(sorted, sorted + 512) - sorted);
  for (int code = 0; code < 512; ++code) {
    klass[code] = static_cast<int>(std::lower_bound(sorted, sorted + classes, pair[code]) - sorted);
    class_vis[klass[code]] = pair[code].first;
    class_black[klass[code]] = pair[code].second;
  }

  // Bits of the index, of index and rank together, and of the whole word.
  // An image holds fewer than 2^31 pixels, so nb < 2^28 and, with at most
  // 144 classes from the VIS table, the word needs at most 64 bits.
  const int ib = bits_for(nb), kb = 2 * ib, wb = kb + bits_for(classes);
  if (wb > 64) imagorix::erro("Error: too many blocks to order");
  constexpr int D = 11;  // bits per radix pass
  const int passes = (wb - ib + D - 1) / D;
  const std::uint64_t dmask = (std::uint64_t{1} << D) - 1;
  VETOR<std::uint64_t> word(nb), spare(nb);
  VETOR<int> histogram(passes << D);  // of every pass's digit, filled as the words are made
  int* const hist = histogram.data();
  std::fill(hist, hist + (passes << D), 0);

  imagorix::rnd.seed(key);
  std::uint64_t* w = word.data();
  for (int bi = 0, k = 0; bi < bpc; ++bi) {
    const std::uint32_t *r0 = img.row(3 * bi), *r1 = img.row(3 * bi + 1), *r2 = img.row(3 * bi + 2);
    for (int bj = 0; bj < bpr; ++bj, ++k) {
      const int c = 3 * bj + 1;
      const int code = three(r0, c) << 6 | three(r1, c) << 3 | three(r2, c);
      const auto rank = static_cast<std::uint64_t>(imagorix::rnd.next() % nb);
      w[k] = std::uint64_t(klass[code]) << kb | rank << ib | std::uint64_t(k);
      for (int p = 0; p < passes; ++p) ++hist[(p << D) + static_cast<int>((w[k] >> (ib + p * D)) & dmask)];
    }
  }

  // Least significant digit first, over the rank and class bits.
  std::uint64_t* from = word.data();
  std::uint64_t* to = spare.data();
  for (int p = 0; p < passes; ++p) {
    int* next = hist + (p << D);
    for (int d = 0, sum = 0; d <= static_cast<int>(dmask); ++d) {
      const int count = next[d];
      next[d] = sum;
      sum += count;
    }
    const int shift = ib + p * D;
    for (int k = 0; k < nb; ++k) to[next[(from[k] >> shift) & dmask]++] = from[k];
    std::swap(from, to);
  }

  VETOR<PONTOI4> blocks(nb);
  const std::uint64_t imask = (std::uint64_t{1} << ib) - 1;
  for (int p = 0; p < nb; ++p) {
    const std::uint64_t x = from[p];
    const int cl = static_cast<int>(x >> kb);
    blocks(p) = PONTOI4(class_vis[cl], class_black[cl], static_cast<int>((x >> ib) & imask),
                        static_cast<int>(x & imask));
  }
  return blocks;
}

CARRIERS::CARRIERS(IMGBIN& img, const VETOR<int>& vis, int key)
    : img_(img), bpr_(img.nc() / 3), blocks_(SortBlocks(img, vis, key)) {}

}  // namespace kova
