// Checked files: opening, replay of piped input, checked writes put in place
// by rename.
#include "base/arquivo.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <new>
#include <vector>

#include "base/erro.h"

namespace imagorix {

namespace {

// An IOBUF-byte buffer for a stream. setvbuf with a null buffer would keep
// the C library's own size (4 KiB with glibc) and ignore ours.
std::unique_ptr<char[]> novo_buffer(const std::string& buffer) {
  std::unique_ptr<char[]> b(new (std::nothrow) char[IOBUF]);
  if (!b) erro(buffer);
  return b;
}

void buffer_de(std::FILE* f, char* b, const std::string& buffer) {
  if (std::setvbuf(f, b, _IOFBF, IOBUF) != 0) {
    std::fclose(f);
    erro(buffer);
  }
}

std::FILE* abre(const std::string& nome, const char* modo, const std::string& abertura,
                const std::string& buffer, char* b) {
  std::FILE* f = std::fopen(nome.c_str(), modo);
  if (!f) erro(abertura, nome);
  buffer_de(f, b, buffer);
  return f;
}

bool is_regular(std::FILE* f) {
  struct stat st;
  return fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

// The bytes a non-seekable stream has delivered since its start, kept while
// the reader may still come back to them, so that seeking back replays them.
struct ARQLE::REPLAY {
  std::FILE* base;
  std::vector<char> guardado;  // bytes inicio ... inicio + size - 1
  long long inicio = 0;
  long long pos = 0;           // the next byte handed to the stream
  bool guarda = true;

  long long fim() const { return inicio + static_cast<long long>(guardado.size()); }
  // Once nothing kept can be read again, the memory goes.
  void descarta_lido() {
    if (!guarda && pos >= fim()) {
      std::vector<char>().swap(guardado);
      inicio = pos;
    }
  }

  static ssize_t le(void* c, char* buf, std::size_t n) {
    auto* r = static_cast<REPLAY*>(c);
    if (r->pos < r->fim()) {
      const std::size_t k = std::min<std::size_t>(n, static_cast<std::size_t>(r->fim() - r->pos));
      std::memcpy(buf, r->guardado.data() + (r->pos - r->inicio), k);
      r->pos += static_cast<long long>(k);
      r->descarta_lido();
      return static_cast<ssize_t>(k);
    }
    const std::size_t k = std::fread(buf, 1, n, r->base);
    if (k == 0 && std::ferror(r->base)) return -1;
    if (r->guarda) r->guardado.insert(r->guardado.end(), buf, buf + k);
    r->pos += static_cast<long long>(k);
    r->descarta_lido();
    return static_cast<ssize_t>(k);
  }
  // Any position among the bytes kept, and the current one, can be reached.
  static int busca(void* c, off64_t* off, int whence) {
    auto* r = static_cast<REPLAY*>(c);
    long long alvo;
    if (whence == SEEK_SET) alvo = *off;
    else if (whence == SEEK_CUR) alvo = r->pos + *off;
    else alvo = -1;
    if (alvo < r->inicio || alvo > r->fim()) {
      errno = ESPIPE;
      return -1;
    }
    r->pos = alvo;
    *off = alvo;
    return 0;
  }
  static int fecha(void*) { return 0; }  // the ARQLE closes the file under it
};

ARQLE::ARQLE(const std::string& nome, const char* modo, const std::string& abertura,
             const std::string& buffer, Volta volta)
    : buf_(novo_buffer(buffer)), f_(abre(nome, modo, abertura, buffer, buf_.get())), nome_(nome) {
  if (volta == SEGUE || is_regular(f_)) return;
  base_ = f_;
  f_ = nullptr;
  replay_ = std::make_unique<REPLAY>();
  replay_->base = base_;
  const cookie_io_functions_t fn{REPLAY::le, nullptr, REPLAY::busca, REPLAY::fecha};
  f_ = fopencookie(replay_.get(), "rb", fn);
  if (!f_) erro(buffer);
  buf_replay_ = novo_buffer(buffer);
  buffer_de(f_, buf_replay_.get(), buffer);
}

ARQLE::~ARQLE() {
  if (f_) std::fclose(f_);
  if (base_) std::fclose(base_);
}

long long ARQLE::remaining() {
  struct stat st;
  if (replay_ || fstat(fileno(f_), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  const long pos = std::ftell(f_);
  if (pos < 0) return -1;
  return st.st_size > pos ? static_cast<long long>(st.st_size) - pos : 0;
}

std::size_t ARQLE::peek(void* p, std::size_t n) {
  std::memset(p, 0, n);
  const long pos = std::ftell(f_);
  const std::size_t got = std::fread(p, 1, n, f_);
  if (pos >= 0) {
    std::fseek(f_, pos, SEEK_SET);
  }
  std::clearerr(f_);
  return got;
}

void ARQLE::rebobina() {
  // Only a stream opened with VOLTA and not yet released can go back; any
  // other use is a mistake in the calling code.
  if (std::fseek(f_, 0, SEEK_SET) != 0) erro("Erro ARQLE::rebobina - Leitura nao pode voltar ", nome_);
  std::clearerr(f_);
}

void ARQLE::solta() {
  if (!replay_) return;
  replay_->guarda = false;
  replay_->descarta_lido();
}

namespace {

// The permissions a new file gets: what the process's mask allows.
mode_t permissao_nova() {
  const mode_t m = umask(0);
  umask(m);
  return 0666 & ~m;
}

// Temporary files being written. erro ends the process without unwinding,
// so whatever a writer had under way is removed at exit instead.
std::vector<std::string>& pendentes() {
  static std::vector<std::string>* p = [] {
    auto* v = new std::vector<std::string>;
    std::atexit([] {
      for (const std::string& t : pendentes()) std::remove(t.c_str());
    });
    return v;
  }();
  return *p;
}

void pendente(const std::string& t) { pendentes().push_back(t); }
void resolvido(const std::string& t) {
  auto& v = pendentes();
  v.erase(std::remove(v.begin(), v.end(), t), v.end());
}

// The folder part of a path, with its slash ("" for a bare name).
std::string pasta(const std::string& p) {
  const std::size_t k = p.rfind('/');
  return k == std::string::npos ? std::string() : p.substr(0, k + 1);
}

}  // namespace

ARQIMP::ARQIMP(const std::string& nome, const char* modo, const std::string& who,
               const std::string& abertura, const std::string& buffer, bool nome_depois)
    : nome_(nome), who_(who) {
  // Where the new content goes: the file itself, or through a link its
  // target. Something that is neither a regular file nor missing (a device, a
  // pipe) is written directly, and so is a link to nothing.
  struct stat st, lst;
  const bool existe = stat(nome.c_str(), &st) == 0;
  const bool ligacao = lstat(nome.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
  // A file the process may not write is not replaced either: opening it
  // fails below with the caller's message, as it always has.
  const bool gravavel = !existe || access(nome.c_str(), W_OK) == 0;
  if (gravavel && (existe ? S_ISREG(st.st_mode) : !ligacao)) {
    destino_ = nome;
    if (existe && ligacao) {
      char real[PATH_MAX];
      if (realpath(nome.c_str(), real)) destino_ = real;
    }
    std::string t = pasta(destino_) + ".imagorix-XXXXXX";
    const int fd = mkstemp(t.data());
    if (fd >= 0) {
      if (fchmod(fd, existe ? (st.st_mode & 07777) : permissao_nova()) == 0 && (f_ = fdopen(fd, modo))) {
        temporario_ = t;
        regular_ = true;
        substitui_ = existe;
        pendente(t);
      } else {
        ::close(fd);
        std::remove(t.c_str());
      }
    }
  }
  // No temporary file could be made (a folder that cannot be written, for
  // instance): the file is written in place, as a device is.
  if (!f_) {
    destino_.clear();
    f_ = std::fopen(nome.c_str(), modo);
    if (!f_) erro(abertura, nome_depois ? nome : "");
    regular_ = is_regular(f_);
  }
  buf_.reset(new (std::nothrow) char[IOBUF]);
  if (!buf_ || std::setvbuf(f_, buf_.get(), _IOFBF, IOBUF) != 0) {
    discard();
    erro(buffer);
  }
}

ARQIMP::~ARQIMP() {
  if (f_) discard();
}

void ARQIMP::le16(unsigned v) {
  const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
  write(b, 2);
}

void ARQIMP::le32(unsigned long v) {
  const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  write(b, 4);
}

void ARQIMP::print(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  const int r = std::vfprintf(f_, fmt, ap);
  va_end(ap);
  if (r < 0) falha();
}

void ARQIMP::close() {
  // A file that replaces another reaches the disk before it takes the name,
  // so that after a crash the name holds the old content or the whole new
  // one, never a part. A new name has no old content to keep, and its file
  // goes to the disk when the system writes it, as a copy's would.
  bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
  if (ok && substitui_) ok = fsync(fileno(f_)) == 0;
  const bool closed = std::fclose(f_) == 0;
  f_ = nullptr;
  if (ok && closed && (temporario_.empty() || std::rename(temporario_.c_str(), destino_.c_str()) == 0)) {
    if (!temporario_.empty()) resolvido(temporario_);
    return;
  }
  apaga();
  erro("Erro " + who_ + " - Falha de escrita ", nome_);
}

void ARQIMP::discard() {
  std::fclose(f_);
  f_ = nullptr;
  apaga();
}

void ARQIMP::apaga() {
  if (temporario_.empty()) {
    if (regular_) std::remove(nome_.c_str());
    return;
  }
  std::remove(temporario_.c_str());
  resolvido(temporario_);
}

void ARQIMP::falha() {
  discard();
  erro("Erro " + who_ + " - Falha de escrita ", nome_);
}

}  // namespace imagorix
