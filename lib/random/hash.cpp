#include "random/hash.h"

#include <bit>
#include <cmath>

namespace imagorix {

namespace {
constexpr int HALVES = 65536;
}

HASH::HASH(int n, int key) {
  table.resize(n);
  gen.seed(key);
  for (int i = 0; i < n; ++i) table(i) = gen.next32();
  if (n > 0) {
    odd.resize(HALVES / 32);
    for (int i = 0; i < odd.n(); ++i) odd(i) = 0;
  }
}

void HASH::absorb(std::uint32_t w) {
  if (table.n() <= 0) return;
  const std::uint32_t lo = w & 0xFFFFu, hi = w >> 16;
  if (lo == hi) return;  // the two streams would cancel
  odd(static_cast<int>(lo >> 5)) ^= 0x80000000u >> (lo & 31);
  odd(static_cast<int>(hi >> 5)) ^= 0x80000000u >> (hi & 31);
  unsettled = true;
}

void HASH::settle() const {
  if (!unsettled) return;
  const int n = table.n();
  for (int blk = 0; blk < odd.n(); ++blk) {
    std::uint32_t bits = odd(blk);
    odd(blk) = 0;
    while (bits) {
      const int b = std::countl_zero(bits);
      bits &= ~(0x80000000u >> b);
      gen.seed(blk * 32 + b);
      for (int i = 0; i < n; ++i) table(i) ^= gen.next32();
    }
  }
  unsettled = false;
}

const VETOR<std::uint32_t>& HASH::digest() const {
  settle();
  return table;
}

int HASH::operator()(int i) const {
  if (i < 0 || static_cast<long long>(i) >= 32LL * table.n())
    erro("Erro: HASH::operator() - Indice invalido");
  settle();
  return (table(i / 32) & (0x80000000u >> (i % 32))) ? 1 : 0;
}

HASHBIT::HASHBIT(int nbits, int key)
    : HASH(static_cast<int>(std::ceil(nbits * 0.03125)), key), nbits(nbits) {}

void HASHBIT::addbit(bool b) {
  acc = acc * 2 + (b ? 1u : 0u);
  if (++count >= 32) {
    absorb(acc);
    count = 0;
  }
}

void HASHBIT::finish() {
  if (count > 0) {
    absorb(acc);
    count = 0;
  }
}

}  // namespace imagorix
