// Runs the built kova program (KOVA_EXE) with given arguments and collects
// its standard output, standard error and exit status.
#pragma once
#include <string>
#include <vector>

#include "driver.h"
#include "support/files.h"

using KovaResult = testsupport::RunResult;

inline std::string slurp(const std::string& name) { return testsupport::read_text(name); }

inline KovaResult run_kova(const std::vector<std::string>& args) {
  return testsupport::run_program(KOVA_EXE, args);
}

// The same through kova::run in a forked child:
// thousands of runs without starting a program each time.
inline KovaResult kova_child(const std::vector<std::string>& args) {
  return testsupport::run_in_child([&] {
    std::vector<std::string> copy = {"kova"};
    copy.insert(copy.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    return kova::run(static_cast<int>(copy.size()), argv.data());
  });
}
