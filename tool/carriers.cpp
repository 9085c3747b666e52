#include "carriers.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

#include "base/erro.h"
#include "image/leimp.h"
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

const VETOR<int>& VisTable() {
  static const VETOR<int> vis = MakeVisTable();
  return vis;
}

IMGBIN ReadPage(const std::string& name, int T, const char* too_small) {
  IMGBIN img;
  imagorix::le(img, name);
  img.fundo() |= 1u;
  const long long nb = static_cast<long long>(img.nl() / 3) * (img.nc() / 3);
  if (nb < T) imagorix::erro(too_small);
  return img;
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

VETOR<PONTOI4> SortBlocks(const IMGBIN& img, const VETOR<int>& vis, int key) {
  const int bpr = img.nc() / 3, bpc = img.nl() / 3;
  const int nb = img.nl() < 3 || img.nc() < 3 ? 0 : bpc * bpr;
  VETOR<PONTOI4> blocks(nb > 0 ? nb : 0);
  if (nb <= 0) return blocks;
  imagorix::rnd.seed(key);
  for (int k = 0; k < nb; ++k) {
    const int r = 3 * (k / bpr) + 1, c = 3 * (k % bpr) + 1;
    blocks(k) = PONTOI4(VisScore(vis, img, r, c), BlackNeighbours(img, r, c),
                        imagorix::rnd.next() % nb, k);
  }
  imagorix::quicksort(blocks, 0, nb - 1);
  return blocks;
}

namespace {

// The three pixels of a row from column c on, c highest; all three must lie
// inside the row.
inline unsigned three(const std::uint32_t* row, int c) {
  const int word = c >> 5, shift = c & 31;
  std::uint64_t w = std::uint64_t{row[word]} << 32;
  if (shift > 29) w |= row[word + 1];
  return static_cast<unsigned>((w >> (61 - shift)) & 7u);
}

}  // namespace

CARRIERS::CARRIERS(IMGBIN& img, const VETOR<int>& vis, int key)
    : img_(img), bpr_(img.nc() / 3) {
  const int bpc = img.nl() / 3;
  nb_ = img.nl() < 3 || img.nc() < 3 ? 0 : bpc * bpr_;
  if (nb_ <= 0) {
    nb_ = 0;
    return;
  }

  // Classes number the (VIS, black neighbours) pairs in ascending order.
  int klass[512];
  std::pair<int, int> pair[512], sorted[512];
  for (int code = 0; code < 512; ++code) {
    pair[code] = {vis(code), 8 - std::popcount(static_cast<unsigned>(code & ~16))};
    sorted[code] = pair[code];
  }
  std::sort(sorted, sorted + 512);
  const int classes = static_cast<int>(std::unique(sorted, sorted + 512) - sorted);
  for (int code = 0; code < 512; ++code) {
    klass[code] = static_cast<int>(std::lower_bound(sorted, sorted + classes, pair[code]) - sorted);
    class_vis_[klass[code]] = pair[code].first;
    class_black_[klass[code]] = pair[code].second;
  }
  if (classes > 255) imagorix::erro("Error: too many block classes");

  // First pass: the class of every block, and how many blocks each class has.
  std::unique_ptr<std::uint8_t[]> block_class(new std::uint8_t[static_cast<std::size_t>(nb_)]);
  std::vector<int> start(static_cast<std::size_t>(classes) + 1, 0);
  for (int bi = 0, k = 0; bi < bpc; ++bi) {
    const std::uint32_t *r0 = img.row(3 * bi), *r1 = img.row(3 * bi + 1), *r2 = img.row(3 * bi + 2);
    for (int c = 0; c < 3 * bpr_; c += 3, ++k) {
      const unsigned code = three(r0, c) << 6 | three(r1, c) << 3 | three(r2, c);
      const int cl = klass[code];
      block_class[k] = static_cast<std::uint8_t>(cl);
      ++start[static_cast<std::size_t>(cl) + 1];
    }
  }
  for (int cl = 0; cl < classes; ++cl) start[cl + 1] += start[cl];
  group_end_.assign(start.begin() + 1, start.end());

  // Second pass, in index order: one keyed rank per block, and the block's
  // word into its class's group (within a group, still in index order).
  words_.reset(new std::uint64_t[static_cast<std::size_t>(nb_)]);
  imagorix::rnd.seed(key);
  for (int k = 0; k < nb_; ++k) {
    const int cl = block_class[k];
    const auto rank = static_cast<std::uint64_t>(imagorix::rnd.next() % nb_);
    words_[start[cl]++] = std::uint64_t(cl) << (2 * FIELD) | rank << FIELD | std::uint64_t(k);
  }
}

std::uint64_t CARRIERS::word(int p) const {
  if (p < 0 || p >= nb_) imagorix::erro(IndexMessage);
  if (p >= sorted_) sort_to(p);
  return words_[p];
}

// Extends the sorted prefix past p. Within a group the words differ only in
// rank and index, so ordering the words orders the entries. Small remainders
// are sorted whole. In a large group the next stretch (at least as long as
// what is already sorted there) is split off and sorted: the keyed ranks are
// spread evenly over 0 ... nb-1, so one partition by a rank threshold
// usually splits off about the right number of words, far cheaper than a
// selection; when it does not, a selection does.
void CARRIERS::sort_to(int p) const {
  constexpr int SMALL = 4096;
  std::uint64_t* const w = words_.get();
  const auto rank = [](std::uint64_t x) { return (x >> FIELD) & ((std::uint64_t{1} << FIELD) - 1); };
  while (sorted_ <= p) {
    while (group_end_[group_] <= sorted_) ++group_;
    const int begin = group_ == 0 ? 0 : group_end_[group_ - 1];
    const int end = group_end_[group_];
    int upto = end;
    if (end - sorted_ > SMALL) {
      const int need = p + 1 - sorted_;
      const int want = std::max({need, SMALL, sorted_ - begin});
      // Every word left has a rank no lower than the last one sorted.
      const std::uint64_t lo = sorted_ > begin ? rank(w[sorted_ - 1]) : 0;
      const std::uint64_t span = static_cast<std::uint64_t>(nb_) - lo;
      const std::uint64_t thr =
          lo + span * (static_cast<std::uint64_t>(want) + want / 4) / static_cast<std::uint64_t>(end - sorted_) + 1;
      std::uint64_t* const mid =
          std::partition(w + sorted_, w + end, [&](std::uint64_t x) { return rank(x) < thr; });
      const int got = static_cast<int>(mid - (w + sorted_));
      if (got >= need && got <= 4 * want) {
        upto = sorted_ + got;
      } else {
        upto = std::min(end, sorted_ + want);
        if (upto < end) std::nth_element(w + sorted_, w + upto, w + end);
      }
    }
    std::sort(w + sorted_, w + upto);
    sorted_ = upto;
  }
}

PONTOI4 CARRIERS::entry(int p) const {
  const std::uint64_t x = word(p);
  const int cl = static_cast<int>(x >> (2 * FIELD));
  const auto mask = (std::uint64_t{1} << FIELD) - 1;
  return PONTOI4(class_vis_[cl], class_black_[cl], static_cast<int>((x >> FIELD) & mask),
                 static_cast<int>(x & mask));
}

}  // namespace kova
