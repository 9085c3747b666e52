#include "search.h"

#include <cstdio>
#include <vector>

#include "base/erro.h"
#include "golomb.h"
#include "payload.h"

namespace kova {

namespace {

// Code length of a run of r zeros closed by a '1': r div m ones and a zero,
// then the remainder in b - 1 or b bits.
struct RUNLENGTH {
  explicit RUNLENGTH(int m) : RUNLENGTH(m, GOLOMB(m).b) {}
  RUNLENGTH(int m, int b) : m(m), b(b), t((1 << b) - m) {}
  long long operator()(long long r) const { return r / m + 1 + (r % m < t ? b - 1 : b); }
  int m, b, t;
};

}  // namespace

REGION SearchRegion(const CARRIERS& car, int T, int m) {
  const RUNLENGTH len(m);
  const int nb = car.n();
  if (nb < KBits) imagorix::erro(IndexMessage);

  // Positions 0 ... 15 never change: their closed runs and open zeros.
  long long head = 0, head_zeros = 0;
  for (int p = 0; p < KBits; ++p) {
    if (car.disagreement(p) == '1') {
      head += len(head_zeros);
      head_zeros = 0;
    } else {
      ++head_zeros;
    }
  }

  // Positions from 16 on, read as far as the regions reach: ones[i] is the
  // position of the i-th '1', sums[i] the code lengths of the runs between
  // ones[0] ... ones[i], and before[p - 16] the number of ones before p.
  std::vector<int> ones, before{0};
  std::vector<long long> sums;
  int read = FirstBegin;
  const auto read_to = [&](int end) {
    for (; read < end; ++read) {
      if (car.disagreement(read) == '1') {
        sums.push_back(ones.empty() ? 0 : sums.back() + len(read - ones.back() - 1));
        ones.push_back(read);
      }
      before.push_back(static_cast<int>(ones.size()));
    }
  };
  // encode's length for positions 0 ... 15 and B ... E-1: the flag bit, the
  // head's closed runs, the run that crosses into the region, the runs
  // between the region's ones, and the trailing zeros closed by the '1' that
  // encode appends.
  const auto compressed = [&](int B, int E) {
    const int i0 = before[B - FirstBegin], i1 = before[E - FirstBegin];
    if (i0 == i1) return 1 + head + len(head_zeros + (E - B));
    const int first = ones[i0], last = ones[i1 - 1];
    long long w = 1 + head + len(head_zeros + (first - B)) + (sums[i1 - 1] - sums[i0]);
    if (last < E - 1) w += len(E - 1 - last);
    return w;
  };

  long long B = FirstBegin, L = T + RegionStep;
  while (true) {
    const long long E = B + L;
    if (E > nb) imagorix::erro(IndexMessage);
    read_to(static_cast<int>(E));
    const long long n = KBits + L, w = compressed(static_cast<int>(B), static_cast<int>(E));
    const long long free = n - w;
    std::printf("Beginning: %lld\tOrig. size n: %lld\tCompr. size w: %lld\tFree bits n-w: %lld\n", B,
                n, w, free);
    std::fflush(stdout);  // progress shows as it happens, also through a pipe
    long long nextB = B, nextL = L + RegionStep;
    if (free < 0) {
      nextB = B + RegionStep;
      nextL = T + RegionStep;
    }
    if (nextB + nextL > nb) imagorix::erro(ImpossibleMessage);
    if (free >= T + HeaderBits) return REGION{static_cast<int>(B), static_cast<int>(n), static_cast<int>(w)};
    B = nextB;
    L = nextL;
  }
}

}  // namespace kova
