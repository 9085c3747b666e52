// The fuzz targets: one entry per reader of untrusted files.
//
// A target takes the name of a file holding the input and reads it the way
// the library or the tool would. It either returns (the file was accepted) or
// ends through erro (the file was refused): one line on stderr and exit
// status 1 in ordinary builds, an ERROFUZZ exception in IMAGORIX_FUZZ builds.
// Anything else -- a crash, a sanitizer report, a hang, a huge allocation --
// is a finding.
//
// Both the libFuzzer driver (fuzz_main.cpp) and the corpus replay
// (replay.cpp) take their targets from this table, and each target's corpus
// lives in fuzz/corpus/<name>. A new reader gets its target by adding one
// function and one line to the table in targets.cpp, and a few seed files.
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace fuzz {

struct TARGET {
  const char* name;
  // Reads the input file. dir is a private directory for any file the
  // target writes.
  void (*run)(const std::string& input, const std::string& dir);
  // Dictionary of the format's magic words, fuzz/dict/<dict>.dict.
  const char* dict;
  // The file (in dir) that the target writes when it accepts the input, or
  // null. It must exist after an accepted input and must not after a refused
  // one: a refusal never leaves a half-written output.
  const char* output;
  // Refusals may follow messages libjpeg prints on stderr itself.
  bool libjpeg;
};

std::span<const TARGET> targets();
const TARGET* find(std::string_view name);

// The readers the target "pipe" feeds through a pipe, a stream that cannot
// tell its length: its input is one byte choosing the reader (modulo the
// count), then the file.
std::span<const char* const> pipe_readers();

// The MAC key and the TamMAC the kova target verifies with; its seeds are
// signed with them.
inline constexpr int KovaKey = 1234;
inline constexpr int KovaMac = 128;

}  // namespace fuzz
