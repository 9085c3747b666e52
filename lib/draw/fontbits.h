// The built-in font's picture as packed bits, written by fontgen/makefont.py
// into fontbits.cpp.
#pragma once
#include <cstdint>

namespace imagorix::detail {

inline constexpr int FONTNL = 251;
inline constexpr int FONTNC = 381;
inline constexpr int FONTWORDS = (FONTNL * FONTNC + 31) / 32;
extern const std::uint32_t FONTBITS[FONTWORDS];

}  // namespace imagorix::detail
