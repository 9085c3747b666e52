// The library's one way to fail: print a line and end the process.
//
// Every error, from a bad argument to a missing file or an index out of range,
// goes through erro(a, b): it writes "a b\n" on stderr and exits with status 1
// through the normal exit path (stdio flushed, static objects destroyed).
#pragma once
#include <string>

namespace imagorix {

[[noreturn]] void erro(const std::string& a, const std::string& b = "");

// Size of the buffer every reader and writer gives its stream.
inline constexpr int IOBUF = 65536;

// Debug prints go to stderr while this is true (it is from start-up on).
extern bool debugging;
void debug(int n);
void debug(const std::string& a, const std::string& b);

// Processor time used so far, in milliseconds and in hundredths of a second.
int clockms();
int clockcs();

}  // namespace imagorix
