// Runs the built kova program (KOVA_EXE) with given arguments and collects
// its standard output, standard error and exit status.
#pragma once
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct KovaResult {
  std::string out, err;
  int status = -1;  // exit status, or -1 when the program did not exit normally
};

inline std::string slurp(const std::string& name) {
  std::ifstream f(name, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

inline KovaResult run_kova(const std::vector<std::string>& args) {
  char outname[] = "/tmp/kova_outXXXXXX";
  char errname[] = "/tmp/kova_errXXXXXX";
  const int out = mkstemp(outname), err = mkstemp(errname);
  KovaResult r;
  if (out < 0 || err < 0) return r;
  std::vector<char*> argv;
  std::string exe = KOVA_EXE;
  argv.push_back(exe.data());
  std::vector<std::string> copy(args);
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out, 1);
    dup2(err, 2);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int st = 0;
  if (pid > 0 && waitpid(pid, &st, 0) == pid && WIFEXITED(st)) r.status = WEXITSTATUS(st);
  close(out);
  close(err);
  r.out = slurp(outname);
  r.err = slurp(errname);
  std::remove(outname);
  std::remove(errname);
  return r;
}
