#include "bitstr.h"

#include <cstdint>

#include "base/erro.h"

namespace kova {

std::string bitstr(int v) {
  if (v < 0) imagorix::erro("Error: bitstr of a negative number");
  std::string s;
  do {
    s.push_back(static_cast<char>('0' + (v & 1)));
    v >>= 1;
  } while (v > 0);
  return {s.rbegin(), s.rend()};
}

std::string bitstr(int v, int width) {
  std::string s = bitstr(v);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
  return s;
}

std::string unary(int q) {
  std::string s(q > 0 ? static_cast<std::size_t>(q) : 0, '1');
  s.push_back('0');
  return s;
}

int bitval(const std::string& s) {
  std::uint32_t v = 0;
  for (char ch : s) v = (v << 1) | (ch == '1');
  return static_cast<int>(v);
}

bool ispow2(int v) { return v > 0 && (v & (v - 1)) == 0; }

}  // namespace kova
