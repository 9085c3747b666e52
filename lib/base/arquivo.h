// Checked files for the readers and writers of every format.
//
// ARQLE opens a file for reading and ARQIMP for writing, each as a stdio
// stream with an IOBUF-byte buffer, closed on every path. Opening failures and
// a refused buffer end the program with the caller's messages.
//
// A reader that first detects the format and then reads the picture does both
// on one ARQLE opened with VOLTA: a regular file seeks back to its start, and
// a pipe or device, which cannot, replays the bytes detection took from it.
// So "cat page | prog /dev/stdin" reads like the file itself.
//
// Writes are checked. A regular file is written under a temporary name in the
// same folder and renamed over the name only once it is complete (and, when
// it replaces a file, on the disk), so a failed or interrupted write leaves
// the old file as it was; a failed write, flush or close removes the
// temporary file and ends with "Erro <who> - Falha de escrita " and the file
// name. Devices and pipes are written directly.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace imagorix {

// Little-endian fields of the binary formats, from bytes already read.
inline std::uint32_t u16le(const unsigned char* p) { return p[0] | std::uint32_t{p[1]} << 8; }
inline std::uint32_t u32le(const unsigned char* p) {
  return p[0] | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

class ARQLE {
 public:
  // Whether the stream must be able to go back to its start (rebobina).
  enum Volta { SEGUE, VOLTA };

  // abertura: the opening-failure message (the file name is its second
  // text); buffer: the message when the stream buffer is refused.
  ARQLE(const std::string& nome, const char* modo, const std::string& abertura,
        const std::string& buffer, Volta volta = SEGUE);
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

  // Back to the first byte, on a stream opened with VOLTA: detection reads
  // ahead, and the reader then starts from the beginning.
  void rebobina();
  // Nothing before the current position will be read again: a pipe stops
  // keeping what it replays, so a reader holds no second copy of the file.
  void solta();

 private:
  struct REPLAY;
  // The streams' buffers, which outlive them (declared first).
  std::unique_ptr<char[]> buf_, buf_replay_;
  std::FILE* f_ = nullptr;
  std::FILE* base_ = nullptr;  // the opened file under a replaying f_
  std::unique_ptr<REPLAY> replay_;
  std::string nome_;
};

class ARQIMP {
 public:
  // who names the writer in its messages, e.g. "IMGBIN::ImpBmp". An
  // opening failure ends with abertura and the name, or with abertura alone
  // when nome_depois is false.
  ARQIMP(const std::string& nome, const char* modo, const std::string& who,
         const std::string& abertura, const std::string& buffer, bool nome_depois = true);
  // A writer that never reached close() (it was interrupted) leaves no
  // partial file behind, and an older file of that name untouched.
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
  // Flushes and closes, checking both, and puts the file in place.
  void close();

 private:
  [[noreturn]] void falha();
  void discard();
  // Removes what was written of a file that failed.
  void apaga();

  std::unique_ptr<char[]> buf_;  // the stream's buffer, which outlives it
  std::FILE* f_ = nullptr;
  std::string nome_, who_;
  std::string destino_;    // where a temporary file goes once complete
  std::string temporario_; // the file being written, when not the name itself
  bool regular_ = false;   // a regular file, removed when the write fails
  bool substitui_ = false; // the temporary file replaces an existing one
};

}  // namespace imagorix
