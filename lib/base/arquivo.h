// Checked files for the readers and writers of every format.
//
// ARQLE opens a file for reading and ARQIMP for writing, each as a stdio
// stream with an IOBUF-byte buffer, closed on every path. Opening failures and
// a refused buffer end the program with the caller's messages. Writes are
// checked: a failed write, flush or close removes the partial file (when it is
// a regular file, never a device) and ends with
// "Erro <who> - Falha de escrita " and the file name.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace imagorix {

class ARQLE {
 public:
  // abertura: the opening-failure message (the file name is its second
  // text); buffer: the message when the stream buffer is refused.
  ARQLE(const std::string& nome, const char* modo, const std::string& abertura,
        const std::string& buffer);
  ~ARQLE();
  ARQLE(const ARQLE&) = delete;
  ARQLE& operator=(const ARQLE&) = delete;

  std::FILE* get() { return f_; }
  const std::string& nome() const { return nome_; }

  // True when exactly n bytes were read.
  bool read(void* p, std::size_t n) { return std::fread(p, 1, n, f_) == n; }
  // Bytes between the current position and the end of the file, or -1 when
  // the stream is not a regular file (a pipe, a device) and cannot tell.
  // Readers compare header sizes with this before allocating.
  long long remaining();
  // The first n bytes of the file (fewer when it is shorter; the rest is
  // zero), for type detection; the position is restored.
  std::size_t peek(void* p, std::size_t n);

 private:
  std::FILE* f_ = nullptr;
  std::string nome_;
};

class ARQIMP {
 public:
  // who names the writer in its messages, e.g. "IMGBIN::ImpBmp".
  ARQIMP(const std::string& nome, const char* modo, const std::string& who,
         const std::string& abertura, const std::string& buffer);
  // A writer that never reached close() (it was interrupted) leaves no
  // partial file behind.
  ~ARQIMP();
  ARQIMP(const ARQIMP&) = delete;
  ARQIMP& operator=(const ARQIMP&) = delete;

  std::FILE* get() { return f_; }
  const std::string& nome() const { return nome_; }

  void write(const void* p, std::size_t n) {
    if (n && std::fwrite(p, 1, n, f_) != n) falha();
  }
  void put(int c) {
    if (std::fputc(c, f_) == EOF) falha();
  }
  // Little-endian fields of the binary formats.
  void le16(unsigned v);
  void le32(unsigned long v);
  // Formatted text; checked like every write.
  void print(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  // Flushes and closes, checking both.
  void close();

 private:
  [[noreturn]] void falha();
  void discard();

  std::FILE* f_ = nullptr;
  std::string nome_, who_;
  bool regular_ = false;
};

}  // namespace imagorix
