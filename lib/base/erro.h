// The library's one way to fail: print a line and end the process.
//
// Every error, from a bad argument to a missing file or an index out of range,
// goes through erro(a, b): it writes "a b\n" on stderr and exits with status 1
// through the normal exit path (stdio flushed, static objects destroyed).
//
// Builds configured with IMAGORIX_FUZZ (the fuzz targets, never the tools)
// throw ERROFUZZ instead, so that a harness can take the next input in the
// same process; unwinding then closes the files and frees the memory of the
// interrupted call.
#pragma once
#include <string>

namespace imagorix {

[[noreturn]] void erro(const std::string& a, const std::string& b = "");

#ifdef IMAGORIX_FUZZ
// The line erro would have printed, without its line feed.
struct ERROFUZZ {
  std::string linha;
};
#endif

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
