#include "base/arquivo.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstring>

#include "base/erro.h"

namespace imagorix {

namespace {

std::FILE* abre(const std::string& nome, const char* modo, const std::string& abertura,
                const std::string& buffer) {
  std::FILE* f = std::fopen(nome.c_str(), modo);
  if (!f) erro(abertura, nome);
  if (std::setvbuf(f, nullptr, _IOFBF, IOBUF) != 0) {
    std::fclose(f);
    erro(buffer);
  }
  return f;
}

bool is_regular(std::FILE* f) {
  struct stat st;
  return fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

ARQLE::ARQLE(const std::string& nome, const char* modo, const std::string& abertura,
             const std::string& buffer)
    : f_(abre(nome, modo, abertura, buffer)), nome_(nome) {}

ARQLE::~ARQLE() {
  if (f_) std::fclose(f_);
}

long long ARQLE::remaining() {
  struct stat st;
  if (fstat(fileno(f_), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
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
  return got;
}

ARQIMP::ARQIMP(const std::string& nome, const char* modo, const std::string& who,
               const std::string& abertura, const std::string& buffer)
    : f_(abre(nome, modo, abertura, buffer)), nome_(nome), who_(who), regular_(is_regular(f_)) {}

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
  const bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
  const bool closed = std::fclose(f_) == 0;
  f_ = nullptr;
  if (!ok || !closed) {
    if (regular_) std::remove(nome_.c_str());
    erro("Erro " + who_ + " - Falha de escrita ", nome_);
  }
}

void ARQIMP::discard() {
  std::fclose(f_);
  f_ = nullptr;
  if (regular_) std::remove(nome_.c_str());
}

void ARQIMP::falha() {
  discard();
  erro("Erro " + who_ + " - Falha de escrita ", nome_);
}

}  // namespace imagorix
