#include "golomb.h"

#include "base/erro.h"
#include "bitstr.h"

namespace kova {

GOLOMB::GOLOMB(int m_) : m(m_), b(0), rem(1000), code(1000) {
  if (m < 2 || m > 1000) imagorix::erro("Error: the Golomb parameter m must lie in 2 ... 1000");
  while ((1 << b) < m) ++b;  // ceil(log2 m), exactly
  const int t = (1 << b) - m;
  for (int i = 0; i < t; ++i) rem[i] = bitstr(i, b - 1);
  for (int i = 0; i < m - t; ++i) rem[t + i] = bitstr(2 * t + i, b);
  for (int i = 0; i < 1000; ++i) code[i] = unary(i / m) + rem[i % m];
}

void GOLOMB::append_run(std::string& out, long long r) const {
  if (r < 1000) {
    out += code[r];
  } else {
    out.append(static_cast<std::size_t>(r / m), '1');
    out.push_back('0');
    out += rem[r % m];
  }
}

std::string GOLOMB::encode(const std::string& s) const {
  const bool closed = !s.empty() && s.back() == '1';
  std::string out(1, closed ? '1' : '0');
  long long run = 0;
  for (char ch : s) {
    if (ch == '1') {
      append_run(out, run);
      run = 0;
    } else {
      ++run;
    }
  }
  if (!closed) append_run(out, run);  // the run closed by the supposed '1'
  return out;
}

std::string GOLOMB::decode(const std::string& e) const {
  const auto bad = [] { imagorix::erro("Error: truncated Golomb code"); };
  if (e.empty()) bad();
  const bool added = e[0] != '1';
  const std::size_t n = e.size();
  const long long t = (1LL << b) - m;
  std::string out;
  std::size_t i = 1;
  while (i < n) {
    long long q = 0;
    while (i < n && e[i] == '1') ++q, ++i;
    if (i >= n) bad();
    ++i;  // the '0' that ends the unary part
    // b-1 bits first; a value of t or more means the remainder is a long one
    // and has one bit more. For a power of two t is 0, so all take b bits.
    if (i + static_cast<std::size_t>(b - 1) > n) bad();
    long long r = 0;
    for (int k = 0; k < b - 1; ++k) r = 2 * r + (e[i++] == '1');
    if (r >= t) {
      if (i >= n) bad();
      r = 2 * r + (e[i++] == '1') - t;
    }
    out.append(static_cast<std::size_t>(q * m + r), '0');
    out.push_back('1');
  }
  if (added) {
    if (out.empty()) bad();
    out.pop_back();
  }
  return out;
}

}  // namespace kova
