// Numbers and words read from text streams.
//
// Every text format of the library (text images, plain PNM, vector, matrix
// and bit-vector files) pulls its values through these functions. A
// tokeniser skips separators and comments and returns the next token,
// lower-cased; the LeNum family turns one token into a value and ends the
// program through erro when it cannot.
//
// Syntax shared by the tokenisers:
//   - comments: "#" or "//" up to the end of the line (a line feed or a
//     carriage return), "/*" up to the next "*/";
//   - end of stream: the end of the file, or a Ctrl-Z byte (code 26). A
//     Ctrl-Z is left in the stream, so every later read meets the end too;
//   - a token ends at a separator, which is consumed (exactly one), or at the
//     end of stream. Any other character inside a token, or a token longer
//     than MAXTOKEN characters, makes the whole token an error; the rest of it
//     is still consumed, up to the next separator.
//
// Reserved results of the string tokenisers: "eof" when the stream ended
// before a token began (or inside a line comment) and "erro" for an
// unexpected character (NUL bytes and bytes above 127 included), a lone "/"
// or an unterminated block comment. The number readers do not go through
// these strings: a file that literally holds the word "eof" is a malformed
// number, not an end of file.
//
// Integers are read as "%d" reads them (optional sign, then the leading
// digits of the token: "12abc" is 12), but a value outside the range of int
// is a failed conversion rather than a wrapped one; BYTE clamps it instead.
// Reals are read with "%lf": "inf" and "nan" are accepted and a value too
// large for the type becomes an infinity.
#pragma once
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/types.h"

namespace imagorix {

// Longest token kept; longer ones are read through and reported as errors.
inline constexpr int MAXTOKEN = 4095;

// What LeNumOpt stores when the stream has ended.
inline constexpr int EOFNUM = INT_MIN;

// Number token: separators blank, tab, line feed, carriage return and
// ( ) , ; =  -- characters a-z 0-9 + - . _
std::string LeTokenNum(FILE* f);
// One character of a number token; nothing after it is consumed, so "1011"
// gives four tokens.
std::string LeChar(FILE* f);
// Word token: separators blank, tab, line feed, carriage return only --
// characters a-z 0-9 _ - . : \ @
std::string LeToken(FILE* f);

// One value each. Keywords (whole token, any case):
//   bool       true: true 1 t v x            false: false 0 f .
//   double/FLT 1e30: max m +max infinito +m  -1e30: -max -m min -infinito .
//   SHT        32767: max m +max maxsht +m   -32768: -max -m min minsht .
// SHT keeps the integer modulo 65536 (70000 gives 4464); BYTE clamps to
// 0 ... 255. Failure: "LeNum(bool)", "LeNum(double)", "LeNum(FLT)",
// "LeNum(SHT)", "LeNum(int)", "LeNum(BYTE)".
void LeNum(FILE* f, bool& x);
void LeNum(FILE* f, double& x);
void LeNum(FILE* f, FLT& x);
void LeNum(FILE* f, SHT& x);
void LeNum(FILE* f, int& x);
void LeNum(FILE* f, BYTE& x);

// An int, or EOFNUM when the stream has ended: for trailing values a file may
// omit. A value of INT_MIN written in the file reads as the end as well.
void LeNumOpt(FILE* f, int& x);

// Magnitude at which LeDecimal stops counting: far above any 32-bit value,
// so that a long digit string reads as "too large" instead of overflowing.
inline constexpr std::int64_t DECIMAL_TETO = std::int64_t{1} << 40;

// The integer that "%d" reads at the start of s: leading white space, an
// optional sign, then at least one digit. Stores it in v, its magnitude
// capped at DECIMAL_TETO, and returns where the digits end; whatever follows
// is left to the caller ("12abc" reads as 12 and returns "abc"). Without a
// digit returns nullptr and leaves v alone.
const char* LeDecimal(const char* s, std::int64_t& v);

// One truth value from one character (LeChar): 1 t v x true, 0 f . false;
// anything else ends the program with "Erro: LeBool " and the token.
void LeBool(FILE* f, bool& x);

}  // namespace imagorix
