// Which block centres carry the watermark, and in which order.
//
// The image is tiled with 3x3 blocks; block (bi, bj) covers rows 3bi ... 3bi+2
// and columns 3bj ... 3bj+2, has index k = bi * (nc div 3) + bj and its centre
// at (3bi+1, 3bj+1). Rows and columns past the last whole block belong to none.
// Each block is scored by how visible a change of its centre would be (VIS,
// from its 3x3 pattern) and the blocks are sorted: least visible first, then
// fewest black neighbours, then a rank drawn from the key, then the index.
// A block's neighbourhood lies inside the block, so changing centres never
// changes the order: the verifier rebuilds from the marked image exactly the
// order the signer used.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ponto.h"
#include "base/vetor.h"
#include "image/img.h"
#include "image/imgbin.h"

namespace kova {

using imagorix::IMGBIN;
using imagorix::IMGGRY;
using imagorix::PONTOI4;
using imagorix::VETOR;

// What a position past the end of the carrier list ends with: the bounds
// message of the block list, which the search gives too when it sees ahead
// that a region would run past the end.
inline constexpr const char* IndexMessage = imagorix::VETOR_INDICE;

// Room in the template table: fifteen base templates take 240 entries.
inline constexpr int maximo = 600;

// Base template i (0 ... 14) as a 3x3 grey image: 0 must be black, 255 must
// be white, 128 is don't care (the centre always is). Its score is 10(i+1).
IMGGRY BaseTemplate(int i);

// Appends t and its variants, all with the given score, at templates[count],
// ... and advances count by 16: t and its three quarter turns, their
// complements, then the same for t upside down.
void AddVariants(VETOR<IMGGRY>& templates, int& count, VETOR<int>& scores, int score,
                 const IMGGRY& t);

// True when every cell where both p and t are 0 or 255 agrees; any other
// value in t (or p) matches anything. Both must have the same size.
bool Matches(const IMGGRY& p, const IMGGRY& t);

// The 512 VIS scores indexed by neighbourhood code: each is the score of the
// first template, in ascending score order, that matches the pattern.
VETOR<int> MakeVisTable();

// MakeVisTable's table, built on first use and kept: it depends on nothing
// but the templates, and building it costs more than verifying a small image.
const VETOR<int>& VisTable();

// The page sign and verify work on, read from any binary-image file, with
// white outside it; ends with too_small when it holds fewer than T blocks.
IMGBIN ReadPage(const std::string& name, int T, const char* too_small);

// The nine pixels around and at (r, c) row by row, top-left in bit 8 and the
// pixel itself in bit 4, white as 1; outside the image the background counts.
int NeighbourhoodCode(const IMGBIN& img, int r, int c);

int VisScore(const VETOR<int>& vis, const IMGBIN& img, int r, int c);

// Black pixels among the eight around (r, c).
int BlackNeighbours(const IMGBIN& img, int r, int c);

// Majority prediction of a centre with z black neighbours: black (0) when
// z > 4, white (1) otherwise, a 4-4 tie included.
inline bool Predicted(int z) { return z <= 4; }
// '1' when the centre differs from its prediction.
inline char DisagreementBit(bool centre, int z) { return centre != Predicted(z) ? '1' : '0'; }
// The centre that gives this disagreement bit.
inline bool RestoredCentre(char bit, int z) { return bit == '1' ? !Predicted(z) : Predicted(z); }

// The sorted block list of img for key, built the plain way: one entry
// (VIS, black neighbours, rank, index) per block in index order, one
// rnd.next() % nb per block after rnd.seed(key), then quicksort. An image with
// no whole block gives an empty list. CARRIERS gives the same order faster.
VETOR<PONTOI4> SortBlocks(const IMGBIN& img, const VETOR<int>& vis, int key);

// The carriers of an image: position p is the centre of the block of entry p
// of the sorted block list. Positions are checked against the list, so a
// position past the last block ends the program with the list's index
// message. The image must outlive this object and keep its size.
//
// Only the first positions of the list are ever read, so the list is never
// sorted whole: the blocks are grouped by (VIS, black neighbours) in one
// counting pass, and each group is put in (rank, index) order only as far as
// positions are asked for. The order is the one SortBlocks gives.
class CARRIERS {
 public:
  CARRIERS(IMGBIN& img, const VETOR<int>& vis, int key);

  int n() const { return nb_; }
  // Entry p of the sorted list: (VIS, black neighbours, rank, index).
  PONTOI4 entry(int p) const;
  IMGBIN& image() { return img_; }
  const IMGBIN& image() const { return img_; }

  int row(int p) const { return 3 * (index(p) / bpr_) + 1; }
  int col(int p) const { return 3 * (index(p) % bpr_) + 1; }
  int vis(int p) const { return class_vis_[klass(p)]; }
  int black(int p) const { return class_black_[klass(p)]; }

  // The carrier pixel, white true.
  bool get(int p) const { return img_.get(row(p), col(p)); }
  void set(int p, bool white) { img_.set(row(p), col(p), white); }

  char disagreement(int p) const { return DisagreementBit(get(p), black(p)); }
  void restore(int p, char bit) { set(p, RestoredCentre(bit, black(p))); }

 private:
  // An entry packed as class << 56 | rank << 28 | index: an image holds
  // fewer than 2^31 pixels, so nb < 2^28, and there are at most 144 classes.
  static constexpr int FIELD = 28;
  std::uint64_t word(int p) const;
  int index(int p) const { return static_cast<int>(word(p) & ((1u << FIELD) - 1)); }
  int klass(int p) const { return static_cast<int>(word(p) >> (2 * FIELD)); }
  void sort_to(int p) const;

  IMGBIN& img_;
  int bpr_ = 0;  // blocks per row
  int nb_ = 0;
  int class_vis_[512] = {}, class_black_[512] = {};
  std::unique_ptr<std::uint64_t[]> words_;  // grouped by class; sorted below sorted_
  std::vector<int> group_end_;              // end position of each class's group
  mutable int sorted_ = 0;
  mutable std::size_t group_ = 0;           // group holding position sorted_
};

}  // namespace kova
