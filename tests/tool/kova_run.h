// Runs the built kova program (KOVA_EXE) with given arguments and collects
// its standard output, standard error and exit status.
#pragma once
#include <string>
#include <vector>

#include "support/files.h"

using KovaResult = testsupport::RunResult;

inline std::string slurp(const std::string& name) { return testsupport::read_text(name); }

inline KovaResult run_kova(const std::vector<std::string>& args) {
  return testsupport::run_program(KOVA_EXE, args);
}
