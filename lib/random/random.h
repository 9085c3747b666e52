// RANDOM: the library's pseudo-random generator.
//
// The minimal standard multiplicative congruential generator (multiplier
// 16807, modulus 2^31 - 1), stepped with Schrage's decomposition so that
// nothing wider than 32 bits is ever needed. The state word holds the current
// value XOR MASK, never the plain value.
//
// Signer and verifier must draw the same numbers in the same order, so the
// number of draws each operation makes, and their order, is part of its
// contract and must not change:
//   next 1, next32 2, nextreal 1, gauss 0 (cached) or 2 per attempt,
//   perm/invperm n-2 (none for n <= 2), permbits/unpermbits 30,
//   mixbits/unmixbits 32, scramble/unscramble 32 per element.
//
// A seed s with s XOR MASK equal to 0 or +-(2^31 - 1) leaves the generator
// stuck at 0: every later draw is 0. That is how the generator works and is
// not reported.
#pragma once
#include <cstdint>

#include "base/vetor.h"

namespace imagorix {

class RANDOM {
 public:
  static constexpr std::int32_t MASK = 0x075BD924;   // 123459876
  static constexpr std::int32_t A = 16807;
  static constexpr std::int32_t M = 2147483647;      // 2^31 - 1
  static constexpr std::int32_t Q = 127773;          // M div A
  static constexpr std::int32_t R = 2836;            // M mod A
  static constexpr double Scale = 1.0 / 2147483647.0;
  static constexpr std::int32_t DEFAULT_STATE = 408376767;

  constexpr RANDOM() = default;
  constexpr explicit RANDOM(int s) { seed(s); }

  // Restarts the sequence: the first next() after seed(s) is the second
  // value of the plain sequence that starts at s XOR MASK.
  constexpr void seed(int s) { state = step(s ^ MASK) ^ MASK; }

  // Next value of the sequence, in 0 ... 2147483646.
  int next() {
    const std::int32_t r = next_step(state ^ MASK);
    state = r ^ MASK;
    return r;
  }

  // A word with all 32 bits random: a XOR (b << 8) for two draws a, b.
  std::uint32_t next32();
  // next() * Scale, in [0, 1).
  double nextreal();
  // Standard normal deviate (polar Box-Muller). Every second call returns the
  // value cached by the call before, whichever object it is called on; the
  // cache is shared by the whole process.
  float gauss();

  // A random arrangement of 0 ... n-1, and the inverse of the arrangement
  // perm(n) would have returned from the same state. n <= 0 gives a vector of
  // that size with no storage.
  VETOR<int> perm(int n);
  VETOR<int> invperm(int n);

  // Keyed bit permutations of a word (bit 0 is the most significant);
  // un... undoes the plain one when started from the same state.
  std::uint32_t permbits(std::uint32_t w);
  std::uint32_t unpermbits(std::uint32_t w);
  std::uint32_t mixbits(std::uint32_t w);
  std::uint32_t unmixbits(std::uint32_t w);

  // Chained mixbits over v, in place; v must not be empty.
  void scramble(VETOR<std::uint32_t>& v);
  void unscramble(VETOR<std::uint32_t>& v);

 private:
  // One transition of a plain value k: A*k mod M in 32-bit signed arithmetic
  // (division truncating toward zero). No intermediate can overflow.
  static constexpr std::int32_t step(std::int32_t k) {
    std::int32_t r = A * (k % Q) - R * (k / Q);
    if (r < 0) r += M;
    return r;
  }

  // step() for the values next() meets: after any seed the plain value lies
  // in 0 ... M-1, where A*k mod M can be reduced with one 64-bit product
  // (2^31 = 1 mod M). The same numbers, with a shorter chain of dependent
  // operations than the two divisions of step(): next() is called once per
  // pixel block.
  static constexpr std::int32_t next_step(std::int32_t k) {
    const std::uint64_t x = std::uint64_t{static_cast<std::uint32_t>(k)} * A;
    std::uint32_t r = static_cast<std::uint32_t>((x & M) + (x >> 31));
    if (r >= static_cast<std::uint32_t>(M)) r -= M;
    return static_cast<std::int32_t>(r);
  }

  std::int32_t state = DEFAULT_STATE;
};

// The process-wide generator, in the default state from start-up on.
extern RANDOM rnd;

}  // namespace imagorix
