// Small file helpers shared by the test programs: a scratch directory of the
// program's own, reading and writing whole files, death-test helpers and
// running another program.
#pragma once
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace testsupport {

using Bytes = std::vector<unsigned char>;

namespace detail {

struct Scratch {
  std::string dir;  // ends with '/'
  pid_t owner;      // the process that made it and removes it
};

inline Scratch* scratch = nullptr;

// Tells processes started by this one, such as a death test's child that
// runs the program again, which directory to share: "pid:dir".
inline const char* const scratch_env = "TESTSUPPORT_SCRATCH_DIR";

// Removes the directory at exit, only in the process that made it: a death
// test's child exits without touching it.
inline void remove_scratch() {
  if (scratch && getpid() == scratch->owner) {
    std::error_code ec;
    std::filesystem::remove_all(scratch->dir, ec);
  }
}

}  // namespace detail

// A directory of this test program and process alone, made on first use and
// removed when the process that made it exits, so that test programs run in
// parallel cannot trip over each other's files. A death test's child, forked
// or started afresh, works in its parent's directory. The name ends with '/'.
inline const std::string& scratch_dir() {
  if (!detail::scratch) {
    const char* env = std::getenv(detail::scratch_env);
    char* rest = nullptr;
    const long parent = env ? std::strtol(env, &rest, 10) : 0;
    if (env && parent == long(getppid()) && *rest == ':') {
      detail::scratch = new detail::Scratch{rest + 1, pid_t(parent)};
    } else {
      std::string t = testing::TempDir() + program_invocation_short_name + "_XXXXXX";
      if (!mkdtemp(t.data())) std::abort();
      // Never destroyed, so that it outlives the removal at exit.
      detail::scratch = new detail::Scratch{t + "/", getpid()};
      setenv(detail::scratch_env, (std::to_string(getpid()) + ":" + detail::scratch->dir).c_str(), 1);
      std::atexit(detail::remove_scratch);
    }
  }
  return detail::scratch->dir;
}

// The path of name inside the scratch directory.
inline std::string scratch_path(const std::string& name) { return scratch_dir() + name; }

// Writes b as the whole of the file at path; returns path.
inline std::string write_bytes(const std::string& path, const Bytes& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  return path;
}

// Writes s as the whole of the file at path; returns path.
inline std::string write_text(const std::string& path, const std::string& s) {
  std::ofstream(path, std::ios::binary) << s;
  return path;
}

// The whole file at path as bytes; empty if it cannot be read.
inline Bytes read_bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

// The whole file at path as text; empty if it cannot be read.
inline std::string read_text(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// Whether something exists at path.
inline bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// A death-test regex matching a whole stderr of msg and a newline, msg taken
// literally.
inline std::string stderr_line(const std::string& msg) {
  std::string r = "^";
  for (char c : msg) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) r += '\\';
    r += c;
  }
  return r + "\n$";
}

// Inside a death test: caps the address space so that a reader that trusted
// a huge header and allocated for it would die with the allocation message.
// Skipped under AddressSanitizer, which needs a huge address space itself.
inline void cap_address_space() {
#ifndef __SANITIZE_ADDRESS__
  const rlimit r{512u << 20, 512u << 20};
  setrlimit(RLIMIT_AS, &r);
#endif
}

// Inside a death test: caps the size of the files this process writes, so
// that a write fails part way, as it would on a full disk, instead of the
// process being stopped by SIGXFSZ.
inline void cap_file_size(rlim_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit r{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &r);
}

// A name under which a reader finds b in a pipe, a stream whose length cannot
// be known in advance. The read end is left open for the reader until the
// process ends, which suits a death test's child best. b must fit in the
// pipe's buffer (64 KiB), as nothing reads the pipe while it is written.
inline std::string pipe_holding(const void* b, std::size_t n) {
  int fd[2];
  if (pipe(fd) != 0 || write(fd[1], b, n) != static_cast<ssize_t>(n)) std::abort();
  close(fd[1]);
  return "/dev/fd/" + std::to_string(fd[0]);
}
inline std::string pipe_holding(const Bytes& b) { return pipe_holding(b.data(), b.size()); }
inline std::string pipe_holding(const std::string& s) { return pipe_holding(s.data(), s.size()); }

// Puts v little-endian into b at byte k, growing b with zeros as needed;
// k = b.size() appends.
inline void put_le16(Bytes& b, std::size_t k, std::uint32_t v) {
  if (b.size() < k + 2) b.resize(k + 2);
  b[k] = v & 0xFF;
  b[k + 1] = (v >> 8) & 0xFF;
}
inline void put_le32(Bytes& b, std::size_t k, std::uint32_t v) {
  put_le16(b, k, v & 0xFFFF);
  put_le16(b, k + 2, v >> 16);
}

// What a program run by run_program left behind.
struct RunResult {
  std::string out, err;
  int status = -1;  // exit status, or -1 when the program did not exit normally
};

namespace detail {

// Forks a child whose standard output goes to descriptor out and standard
// error to err, and which runs child(); child must end the process. Waits
// for it: its exit status, or -1 when it did not exit normally. Buffered
// output is flushed first, so that the child does not write it again.
template <class F>
int fork_to(int out, int err, F&& child) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out, 1);
    dup2(err, 2);
    child();
    _exit(127);
  }
  int st = 0;
  return pid > 0 && waitpid(pid, &st, 0) == pid && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// fork_to with both streams going to files in the scratch directory, read
// back once the child has ended.
template <class F>
RunResult capture(F&& child) {
  std::string on = scratch_path("run_out_XXXXXX"), en = scratch_path("run_err_XXXXXX");
  const int o = mkstemp(on.data()), e = mkstemp(en.data());
  RunResult r;
  if (o >= 0 && e >= 0) {
    r.status = fork_to(o, e, child);
    r.out = read_text(on);
    r.err = read_text(en);
  }
  for (const auto& [fd, name] : {std::pair{o, on}, std::pair{e, en}}) {
    if (fd >= 0) {
      close(fd);
      std::remove(name.c_str());
    }
  }
  return r;
}

// The argument vector of exe and args for execv; the strings live in copy.
inline std::vector<char*> argv_of(std::vector<std::string>& copy) {
  std::vector<char*> argv;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace detail

// Runs exe with args, its standard output and error going to files in the
// scratch directory, and collects them and its exit status.
inline RunResult run_program(const std::string& exe, const std::vector<std::string>& args) {
  std::vector<std::string> copy{exe};
  copy.insert(copy.end(), args.begin(), args.end());
  const std::vector<char*> argv = detail::argv_of(copy);
  return detail::capture([&] { execv(argv[0], argv.data()); });
}

// Runs body in a forked child of this process, as run_program runs a
// program: what it writes on its standard streams, and its exit status,
// which is what body returns or the status an error ends it with. For code
// that may end the process, run without starting a program each time.
namespace detail {
inline bool in_child = false;
}  // namespace detail
template <class F>
RunResult run_in_child(F&& body) {
  return detail::capture([&] {
    detail::in_child = true;
    const int status = body();
    std::fflush(nullptr);
    _exit(status);
  });
}

// Runs exe with args, both its output streams going into one file, as a
// shell's 2>&1 sends them: what it wrote, in the order it wrote it.
inline std::string run_program_combined(const std::string& exe, const std::vector<std::string>& args) {
  std::string name = scratch_path("run_both_XXXXXX");
  const int fd = mkstemp(name.data());
  if (fd < 0) return "";
  std::vector<std::string> copy{exe};
  copy.insert(copy.end(), args.begin(), args.end());
  const std::vector<char*> argv = detail::argv_of(copy);
  detail::fork_to(fd, fd, [&] { execv(argv[0], argv.data()); });
  close(fd);
  const std::string s = read_text(name);
  std::remove(name.c_str());
  return s;
}

}  // namespace testsupport

#if defined(__SANITIZE_ADDRESS__)
// A child of run_in_child that ends through exit (every refusal does) would
// run the leak check over the whole copy of the test process, which costs
// far more than what the child checked; the parent and the programs the
// tests start are still checked. (Each test program is one file, so this
// header defines the hook once per program.)
extern "C" __attribute__((used)) int __lsan_is_turned_off() { return testsupport::detail::in_child ? 1 : 0; }
#endif
