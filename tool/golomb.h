// Golomb coding of the runs of '0' in a bit string.
//
// A run of r zeros closed by a '1' is coded as r div m in unary (ones, then a
// zero) followed by r mod m in truncated binary: remainders 0 ... t-1 take
// b-1 bits, remainders t ... m-1 take b bits starting at the value 2t, where
// b = ceil(log2 m) and t = 2^b - m. For m a power of two every remainder takes
// b bits.
#pragma once
#include <string>
#include <vector>

namespace kova {

class GOLOMB {
 public:
  // Builds the tables for parameter m, 2 <= m <= 1000 (the remainder table
  // has 1000 entries); any other m is an error.
  explicit GOLOMB(int m);

  // Compresses a bit string. The first output bit says whether s ended in
  // '1'; when it did not, a '1' is supposed after its end so that s splits
  // into runs "0...01", and the code of each run follows. Runs of any length
  // are coded, the ones of 1000 zeros or more beyond the code table too.
  std::string encode(const std::string& s) const;

  // The inverse of encode for the same m. A code that stops in the middle of
  // a word, which encode never produces, is an error.
  std::string decode(const std::string& e) const;

  int m;                 // the parameter
  int b;                 // bits of the long remainders, ceil(log2 m)
  std::vector<std::string> rem;   // 1000 entries; rem[i]: the code of remainder i < m
  std::vector<std::string> code;  // 1000 entries; code[i]: the code word of a run of i zeros

 private:
  void append_run(std::string& out, long long r) const;
};

}  // namespace kova
