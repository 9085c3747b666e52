// Bit strings: text strings of '0' and '1', first bit first. Every bit
// sequence of the watermark (carrier bits, compressed bits, header fields)
// is held this way; numbers are written most significant bit first.
#pragma once
#include <string>

namespace kova {

// Binary digits of v >= 0, no leading zeros but at least one digit:
// bitstr(0) = "0", bitstr(6) = "110". A negative v is an error.
std::string bitstr(int v);

// bitstr(v) padded on the left with '0' to width characters; a longer
// result is kept whole.
std::string bitstr(int v, int width);

// q characters '1' followed by one '0'.
std::string unary(int q);

// Value of s read as an unsigned binary number, most significant bit first;
// "" gives 0. Only the last 32 bits of a longer string count.
int bitval(const std::string& s);

// True when v is a power of two (bitstr(v) holds exactly one '1').
bool ispow2(int v);

}  // namespace kova
