// VETORBIT: a vector of bits packed 32 to a word, with bounds-checked access,
// bitwise operators, slicing, conversions from and to '0'/'1' strings, a text
// file format and polynomial arithmetic over GF(2).
//
// Bit i lives in word i / 32 under the mask 0x80000000 >> (i % 32), so bit 0
// is the most significant bit of word 0. The bits of the last word beyond nv()
// are spare: nothing reads them as bits, and they hold no particular value.
//
// Read as a polynomial, bit i is the coefficient of x^i. tostring() writes
// bit 0 first; atovetorbit() and stream input take the last character as
// bit 0 (the highest power first, as polynomials are usually written).
#pragma once
#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "base/bitref.h"

namespace imagorix {

class VETORBIT {
 public:
  // Reference to one bit: a word and a mask.
  using BIT = BITREF;

  VETORBIT() { aloca(0); }
  // n bits, all clear.
  explicit VETORBIT(int n) { aloca(n); }
  // n bits, all equal to b.
  VETORBIT(int n, bool b);
  // n bits given one by one: bit i is set when the i-th value is non-zero.
  // Exactly n values must follow; a single value goes to VETORBIT(n, bool),
  // which means the same thing for n = 1 and fills every bit otherwise.
  template <std::integral... R>
    requires(sizeof...(R) >= 1)
  VETORBIT(int n, int b0, R... resto) {
    const int valores[] = {b0, static_cast<int>(resto)...};
    preenche(n, valores, 1 + static_cast<int>(sizeof...(R)));
  }
  // One bit per character; every character other than '0' sets its bit.
  explicit VETORBIT(const std::string& s);
  VETORBIT(const VETORBIT& o);
  VETORBIT(VETORBIT&& o) noexcept;
  ~VETORBIT() = default;

  VETORBIT& operator=(const VETORBIT& o);
  VETORBIT& operator=(VETORBIT&& o) noexcept;
  // Resizes to the length of s, then as the string constructor.
  VETORBIT& operator=(const std::string& s);

  // The construction step: nv() = n and storage for it (none when n <= 0).
  // Freshly allocated words are zero; storage held before is released.
  void aloca(int n);
  // Same count: nothing happens. Otherwise the contents are lost.
  void resize(int n);

  int nv() const { return nv_; }
  int nw() const { return nw_; }  // words holding the nv() bits
  // Unchecked view of the words, for bulk work that has checked its range.
  std::uint32_t* data() { return v_.get(); }
  const std::uint32_t* data() const { return v_.get(); }

  // Bit i, 0 <= i < nv().
  BIT operator()(int i) {
    confere(i);
    return BIT(v_[i >> 5], 0x80000000u >> (i & 31));
  }
  bool operator()(int i) const {
    confere(i);
    return (v_[i >> 5] & (0x80000000u >> (i & 31))) != 0;
  }

  // Keeps nv(); bit i set unless s[i] is '0'. s must hold at least nv()
  // characters.
  void setbits(const std::string& s);

  // Same nv() and every bit equal; the spare bits do not count.
  bool operator==(const VETORBIT& o) const;

  // Word-by-word combinations; both operands must have the same nv().
  VETORBIT operator^(const VETORBIT& o) const;
  VETORBIT operator|(const VETORBIT& o) const;
  VETORBIT operator&(const VETORBIT& o) const;

  // Moves every bit up one place (the top one falls out and is returned) and
  // stores b in bit 0.
  bool shiftin(bool b);
  // Drops the clear bits above the highest set bit; returns the new nv().
  // A vector with no set bit cannot be trimmed.
  int trim();
  // Drops the n highest bits (0 <= n <= nv()); the storage is kept.
  void delleft(int n);

  // New vectors:
  VETORBIT shiftdown(int k) const;   // nv()-k bits, bit i = bit k+i
  VETORBIT shiftup(int k) const;     // nv()+k bits, times x^k
  VETORBIT padzeros(int m) const;    // nv()+m bits, the m new high bits clear
  VETORBIT subvetorbit(int inic, int fim) const;  // bits inic ... fim
  VETORBIT reverse() const;          // bit nv()-1-i = bit i

  // '0'/'1' per bit, bit 0 first.
  std::string tostring() const;

 private:
  void confere(int i) const;
  void preenche(int n, const int* valores, int nvalores);
  void copia(const VETORBIT& o);
  template <class Op>
  VETORBIT combina(const VETORBIT& o, Op op) const;
  // The 32 bits at positions pos ... pos+31, bit pos in the top place;
  // positions outside 0 ... nv()-1 read as clear.
  std::uint32_t janela(long long pos) const;

  int nv_ = 0;
  int nw_ = 0;
  std::unique_ptr<std::uint32_t[]> v_;
};

// length(s) bits; the last character is bit 0. Only '0' and '1' are allowed.
VETORBIT atovetorbit(const std::string& s);

// One whitespace-delimited token of '0'/'1', read as atovetorbit. When no
// token can be read the vector is left as it was and the stream fails.
std::istream& operator>>(std::istream& is, VETORBIT& v);
// "n=<nv>  " then the bits, bit 0 first, and a line feed.
std::ostream& operator<<(std::ostream& os, const VETORBIT& v);

// Text file: the bit count, an empty line, then the bits as 0/1, 32 to a
// line in groups of four ("1111,0000 0101,1100 ...").
void imp(const VETORBIT& v, const std::string& nome);
void le(VETORBIT& v, const std::string& nome);

// Remainder of a(x) / p(x) over GF(2), deg p bits long. Both a and p must
// have a set bit, and p must not be the constant 1.
VETORBIT modGF2(VETORBIT a, VETORBIT p);
// a := a(x) * x^k mod p(x); returns a copy of the new a.
VETORBIT xkmodGF2(VETORBIT& a, int k, const VETORBIT& p);

}  // namespace imagorix
