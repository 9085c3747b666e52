// The kova command line: checks the arguments and enters sign or verify.
#pragma once
#include <memory>
#include <string>

#include "keying.h"

namespace kova {

// A checked command line, with the defaults filled in. mode is 's' or 'v';
// original is empty in verify mode and reverted in sign mode.
struct Command {
  char mode = 0;
  std::string original, marked, reverted;
  int key = 0;
  // Set when the key was given as @PATH: the secure mode.
  std::shared_ptr<const KEYFILE> keyfile;
  int TamMAC = 128;
  int m = 3;
};

// Reads a decimal int the way sscanf "%d" does: leading white space, an
// optional sign, at least one digit, and anything after the digits ignored
// ("12abc" is 12). A value outside the range of int is refused.
bool readint(const char* s, int& v);

// Reads the secret key: a whole decimal integer, blanks around it allowed
// and nothing else ("12abc", "0x1F" and "12,345" are refused, not read as a
// prefix). The key is a 32-bit word, so besides the range of int it also
// accepts 2147483648 ... 4294967295 and takes them modulo 2^32 (4294967295
// is the key -1), which is what a user giving an unsigned 32-bit number
// means. Anything beyond 32 bits is refused rather than cut.
bool readkey(const char* s, int& key);

// A key argument: "@PATH" reads the key file PATH (the secure mode),
// anything else must be a number as readkey reads it.
void readkeyarg(const char* s, Command& cmd);

// Checks a command line (argc counts the program name) and converts its
// numbers. A wrong shape prints the usage on stdout and ends the process
// with status 1, as does any argument that cannot be read.
Command parse(int argc, char** argv);

// Runs the tool for this command line and returns the exit status of a
// completed run (0); every error ends the process with status 1.
int run(int argc, char** argv);

}  // namespace kova
