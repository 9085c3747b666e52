#include "random/random.h"

#include <bit>
#include <cmath>
#include <utility>

namespace imagorix {

static_assert(std::bit_cast<std::uint64_t>(RANDOM::Scale) == 0x3E00000000200000u);
static_assert(RANDOM::A * RANDOM::Q + RANDOM::R == RANDOM::M);

// Constant-initialised: usable by any static initialiser that runs before it.
constinit RANDOM rnd;

namespace {

// The normal-deviate cache, shared by every RANDOM.
int gauss_cached = 0;
float gauss_value = 0.0f;

constexpr std::uint32_t bit(int k) { return 0x80000000u >> k; }

// Bit k of the result is bit from(k) of w.
std::uint32_t gather(std::uint32_t w, const VETOR<int>& from) {
  std::uint32_t out = 0;
  for (int k = 0; k < 32; ++k) {
    const int s = from(k);
    if (s < 0 || s > 31) erro("Erro: bit inexistente");
    if (w & bit(s)) out |= bit(k);
  }
  return out;
}

}  // namespace

std::uint32_t RANDOM::next32() {
  const std::uint32_t a = static_cast<std::uint32_t>(next());
  const std::uint32_t b = static_cast<std::uint32_t>(next());
  return a ^ (b << 8);
}

double RANDOM::nextreal() { return next() * Scale; }

float RANDOM::gauss() {
  if (state < 0) {
    gauss_cached = 0;
  } else if (gauss_cached) {
    gauss_cached = 0;
    return gauss_value;
  }
  // A generator stuck at 0 draws the point (-1, -1) for ever, which never
  // falls inside the unit circle: give the mean instead of looping.
  if (step(state ^ MASK) == 0) return 0.0f;

  float x, y;
  double rsq;
  do {
    const int a = next();
    const int b = next();
    x = static_cast<float>(2.0 * a * Scale - 1.0);
    y = static_cast<float>(2.0 * b * Scale - 1.0);
    rsq = static_cast<double>(x) * x + static_cast<double>(y) * y;
  } while (!(rsq > 0.0 && rsq < 1.0));
  const double r = static_cast<float>(rsq);
  const float fac = static_cast<float>(std::sqrt(-2.0 * std::log(r) / r));
  gauss_value = x * fac;
  gauss_cached = 1;
  return y * fac;
}

VETOR<int> RANDOM::perm(int n) {
  VETOR<int> p(n);
  for (int i = 0; i < n; ++i) p(i) = i;
  if (n <= 2) return p;
  // n-2 exchanges, each of position i-1 with a position strictly after it.
  for (int i = 1; i <= n - 2; ++i) {
    const int j = i + next() % (n - i);
    std::swap(p(i - 1), p(j));
  }
  return p;
}

VETOR<int> RANDOM::invperm(int n) {
  const VETOR<int> p = perm(n);
  VETOR<int> q(n);
  for (int i = 0; i < n; ++i) q(p(i)) = i;
  return q;
}

std::uint32_t RANDOM::permbits(std::uint32_t w) { return gather(w, invperm(32)); }

std::uint32_t RANDOM::unpermbits(std::uint32_t w) { return gather(w, perm(32)); }

std::uint32_t RANDOM::mixbits(std::uint32_t w) {
  const std::uint32_t x = next32();
  return permbits(w ^ x);
}

std::uint32_t RANDOM::unmixbits(std::uint32_t w) {
  const std::uint32_t x = next32();
  return x ^ unpermbits(w);
}

// Each element is mixed with the previous input element (not the scrambled
// one), so unscramble can chain on what it has just restored.
void RANDOM::scramble(VETOR<std::uint32_t>& v) {
  if (v.n() < 1) erro(VETOR_INDICE);
  const VETOR<std::uint32_t> c(v);
  v(0) = mixbits(c(0));
  for (int i = 1; i < v.n(); ++i) v(i) = mixbits(c(i) ^ c(i - 1));
}

void RANDOM::unscramble(VETOR<std::uint32_t>& v) {
  if (v.n() < 1) erro(VETOR_INDICE);
  v(0) = unmixbits(v(0));
  for (int i = 1; i < v.n(); ++i) v(i) = unmixbits(v(i)) ^ v(i - 1);
}

}  // namespace imagorix
