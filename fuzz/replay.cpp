// Runs every file of a corpus through its fuzz target, each in a child
// process, and checks what an untrusted file may do to the library or the
// tool: end normally (status 0, nothing on stderr) or refuse the file with
// one error line and status 1. A signal, another status, a sanitizer
// report, more than one line, an output left behind by a refusal, more than
// MAXSEG seconds or a single allocation above MAXALOC bytes is a finding.
//
//   fuzz_replay [-v] <target> <file or directory>...   -v: every input's outcome
//   fuzz_replay --check <corpus root>   every target has a non-empty folder
//                                       and every folder a target
//   fuzz_replay --list                  "<target> <dictionary>" per line
//
// Exit status 0 when there is no finding.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/erro.h"
#include "targets.h"

namespace {

constexpr int MAXSEG = 60;
constexpr long MAXRSS_KB = 1L << 20;

#if defined(__SANITIZE_ADDRESS__)
#define SOB_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOB_ASAN 1
#endif
#endif

}  // namespace

// Sanitizer findings end the child with statuses of their own, never 1, and
// huge allocations are findings rather than failed allocations.
extern "C" const char* __asan_default_options() {
  return "exitcode=86:max_allocation_size_mb=256:allocator_may_return_null=0";
}
extern "C" const char* __ubsan_default_options() {
  return "exitcode=87:halt_on_error=1:print_stacktrace=1";
}

#ifndef SOB_ASAN
// Without AddressSanitizer the allocations of the library (they all go
// through new) are capped here: the request itself is the finding.
namespace {
constexpr std::size_t MAXALOC = std::size_t{256} << 20;

void* aloca(std::size_t n, bool lanca) {
  if (n > MAXALOC) {
    char m[96];
    const int k = std::snprintf(m, sizeof m, "replay: allocation of %zu bytes\n", n);
    if (write(2, m, static_cast<std::size_t>(k)) < 0) {
    }
    _exit(98);
  }
  if (void* p = std::malloc(n ? n : 1)) return p;
  if (lanca) throw std::bad_alloc();
  return nullptr;
}
}  // namespace
void* operator new(std::size_t n) { return aloca(n, true); }
void* operator new[](std::size_t n) { return aloca(n, true); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return aloca(n, false); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return aloca(n, false); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

// What libjpeg allocates goes through malloc; a large request shows in the
// peak of the address space, checked when the child ends either way.
namespace {
constexpr long MAXVM_KB = 1L << 20;

void confere_vm() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return;
  char linha[256];
  long kb = 0;
  while (std::fgets(linha, sizeof linha, f))
    if (std::sscanf(linha, "VmPeak: %ld kB", &kb) == 1) break;
  std::fclose(f);
  if (kb > MAXVM_KB) {
    std::fprintf(stderr, "replay: peak address space %ld kB\n", kb);
    std::fflush(stderr);
    _exit(98);
  }
}
}  // namespace
#endif

namespace {

struct RESULTADO {
  int achados = 0, aceitos = 0, recusados = 0;
};

bool verboso = false;

bool existe(const std::string& nome) {
  struct stat st;
  return ::stat(nome.c_str(), &st) == 0;
}

bool pasta(const std::string& nome) {
  struct stat st;
  return ::stat(nome.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The regular files of a folder, sorted by name.
std::vector<std::string> arquivos(const std::string& dir) {
  std::vector<std::string> v;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string n = dir + "/" + e->d_name;
      struct stat st;
      if (e->d_name[0] != '.' && ::stat(n.c_str(), &st) == 0 && S_ISREG(st.st_mode)) v.push_back(n);
    }
    closedir(d);
  }
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> linhas(const std::string& s) {
  std::vector<std::string> v;
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t j = s.find('\n', i);
    if (j == std::string::npos) {
      v.push_back(s.substr(i));
      break;
    }
    v.push_back(s.substr(i, j - i));
    i = j + 1;
  }
  return v;
}

const std::string FALHOU = "AW FAILED: image was modified or a wrong key was used\n \n";

// What is wrong with a child's ending, or empty when nothing is.
std::string julga(const fuzz::TARGET& t, int status, const std::string& err, const std::string& saida) {
  if (err.find("Sanitizer") != std::string::npos || err.find("runtime error") != std::string::npos)
    return "sanitizer report";
  if (WIFSIGNALED(status)) {
    const int s = WTERMSIG(status);
    return s == SIGALRM || s == SIGXCPU ? "timeout" : std::string("signal ") + strsignal(s);
  }
  if (!WIFEXITED(status)) return "did not exit";
  const int code = WEXITSTATUS(status);
  if (code == 98) return "huge allocation";
  if (code != 0 && code != 1) return "exit status " + std::to_string(code);
  if (code == 0) {
    if (t.output && !existe(saida)) return "accepted without writing " + saida;
    // libjpeg may warn about data it decoded anyway.
    if (!err.empty() && !t.libjpeg) return "accepted with messages on stderr";
    return "";
  }
  if (t.output && existe(saida)) return "refused but left " + saida;
  if (err.empty() || err.back() != '\n') return "refused without a whole error line";
  if (err == FALHOU || (t.libjpeg && err.size() > FALHOU.size() && err.ends_with("\n" + FALHOU))) return "";
  const std::size_t n = linhas(err).size();
  if (n != 1 && !t.libjpeg) return "refused with " + std::to_string(n) + " lines";
  return "";
}

// Runs one input in a child; prints and counts a finding.
void roda(const fuzz::TARGET& t, const std::string& entrada, const std::string& dir, RESULTADO& r) {
  const std::string saida = t.output ? dir + "/" + t.output : std::string();
  if (!saida.empty()) std::remove(saida.c_str());
  int p[2];
  if (pipe(p) != 0) {
    std::perror("pipe");
    std::exit(2);
  }
  std::fflush(nullptr);
  const auto inicio = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    close(p[0]);
    const int nulo = open("/dev/null", O_WRONLY);
    dup2(nulo, 1);
    dup2(p[1], 2);
    alarm(MAXSEG);
#ifndef SOB_ASAN
    const rlimit as{std::size_t{4} << 30, std::size_t{4} << 30};
    setrlimit(RLIMIT_AS, &as);
    std::atexit(confere_vm);
#endif
#ifdef IMAGORIX_FUZZ
    try {
      t.run(entrada, dir);
    } catch (const imagorix::ERROFUZZ& e) {
      std::fprintf(stderr, "%s\n", e.linha.c_str());
      std::exit(1);
    }
#else
    t.run(entrada, dir);
#endif
    std::exit(0);
  }
  close(p[1]);
  std::string err;
  char buf[4096];
  ssize_t k;
  while ((k = read(p[0], buf, sizeof buf)) > 0) err.append(buf, static_cast<std::size_t>(k));
  close(p[0]);
  int status = 0;
  rusage uso{};
  wait4(pid, &status, 0, &uso);
  const double seg = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  std::string defeito = julga(t, status, err, saida);
  if (defeito.empty() && uso.ru_maxrss > MAXRSS_KB) defeito = "peak memory " + std::to_string(uso.ru_maxrss) + " kB";
  if (defeito.empty()) {
    const bool aceito = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    (aceito ? r.aceitos : r.recusados)++;
    if (verboso) std::printf("%s %s (%.2f s): %s", aceito ? "accepted" : "refused", entrada.c_str(), seg,
                             err.empty() ? "\n" : err.c_str());
    if (!saida.empty()) std::remove(saida.c_str());
    return;
  }
  ++r.achados;
  std::printf("FINDING %s %s: %s (%.2f s)\n", t.name, entrada.c_str(), defeito.c_str(), seg);
  std::fputs(err.c_str(), stdout);
  if (!saida.empty()) std::remove(saida.c_str());
}

int uso() {
  std::fprintf(stderr,
               "usage: fuzz_replay <target> <file or directory>...\n"
               "       fuzz_replay --check <corpus root>\n"
               "       fuzz_replay --list\n");
  return 2;
}

int confere(const std::string& raiz) {
  int erros = 0;
  for (const fuzz::TARGET& t : fuzz::targets()) {
    if (arquivos(raiz + "/" + t.name).empty()) {
      std::printf("target %s has no corpus in %s/%s\n", t.name, raiz.c_str(), t.name);
      ++erros;
    }
  }
  if (DIR* d = opendir(raiz.c_str())) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] != '.' && pasta(raiz + "/" + e->d_name) && !fuzz::find(e->d_name)) {
        std::printf("folder %s/%s belongs to no target\n", raiz.c_str(), e->d_name);
        ++erros;
      }
    }
    closedir(d);
  } else {
    std::printf("no corpus root %s\n", raiz.c_str());
    ++erros;
  }
  return erros ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const fuzz::TARGET& t : fuzz::targets()) std::printf("%s %s\n", t.name, t.dict);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--check") == 0) return confere(argv[2]);
  if (argc > 1 && std::strcmp(argv[1], "-v") == 0) {
    verboso = true;
    --argc;
    ++argv;
  }
  if (argc < 3) return uso();
  const fuzz::TARGET* t = fuzz::find(argv[1]);
  if (!t) {
    std::fprintf(stderr, "no target %s\n", argv[1]);
    return 2;
  }
  char modelo[] = "/tmp/imagorix-replay-XXXXXX";
  if (!mkdtemp(modelo)) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::string dir = modelo;
  RESULTADO r;
  const auto inicio = std::chrono::steady_clock::now();
  for (int i = 2; i < argc; ++i) {
    const std::vector<std::string> lista = pasta(argv[i]) ? arquivos(argv[i]) : std::vector<std::string>{argv[i]};
    if (lista.empty()) {
      std::printf("FINDING %s: no input in %s\n", t->name, argv[i]);
      ++r.achados;
    }
    for (const std::string& e : lista) roda(*t, e, dir, r);
  }
  rmdir(dir.c_str());
  const double seg = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  std::printf("%s: %d inputs, %d accepted, %d refused, %d findings, %.1f s\n", t->name,
              r.aceitos + r.recusados + r.achados, r.aceitos, r.recusados, r.achados, seg);
  return r.achados ? 1 : 0;
}
