// HASH: the keyed digest that authenticates a marked image.
//
// The key picks the initial digest (the first n next32 words of its
// sequence); each absorbed 32-bit word XORs into the digest the n-word next32
// streams of seed(low half) and seed(high half). So a word's contribution
// depends on the word alone: order does not matter, a word absorbed twice
// cancels, and a word with equal halves changes nothing. It detects changes;
// it is not a cryptographic code.
//
// Digest bit i is bit (i mod 32) of word i div 32, counted from the most
// significant bit.
#pragma once
#include <cstdint>

#include "base/vetor.h"
#include "random/random.h"

namespace imagorix {

class HASH {
 public:
  // A digest of n words (empty when n <= 0) keyed by key.
  HASH(int n, int key);

  void absorb(std::uint32_t w);
  // Digest bit i, 0 or 1; i must lie in 0 ... 32n-1.
  int operator()(int i) const;
  const VETOR<std::uint32_t>& digest() const;

 private:
  // Since streams cancel in pairs, absorb only records which 16-bit half
  // values have been seen an odd number of times; their streams are XORed
  // into the table when the digest is next read. The result is the same as
  // XORing both streams on every absorb, at a fraction of the draws for long
  // messages.
  void settle() const;

  mutable VETOR<std::uint32_t> table;
  mutable RANDOM gen;
  mutable VETOR<std::uint32_t> odd;  // one bit per half value, MSB first
  mutable bool unsettled = false;
};

// A HASH fed one bit at a time: bits are packed 32 to a word, first bit in
// the most significant position.
class HASHBIT : public HASH {
 public:
  // ceil(nbits/32) words.
  HASHBIT(int nbits, int key);

  void addbit(bool b);
  // Absorbs the pending partial word, if any: its bits in the low positions,
  // the bits of the previous word above them. Further addbit calls start a
  // new word, and a second finish with no bit added in between does nothing.
  void finish();

  // The digest size in bits given at construction.
  int bits() const { return nbits; }

 private:
  int nbits;
  std::uint32_t acc = 0;  // word being filled, newest bit lowest
  int count = 0;          // bits added since the last absorbed word
};

}  // namespace imagorix
