#include "driver.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "base/erro.h"
#include "base/lenum.h"
#include "sign.h"
#include "verify.h"

namespace kova {

namespace {

const char* const usage[] = {
    "KOVA: Reversible authentication watermarking for binary images",
    "  Warning: This version is NOT cryptographically-secure.",
    "  It is intended only for ZEVO demonstration purposes.",
    "KOVA mode parametros",
    "  mode: s=sign(insert wmk)  v=verify",
    "KOVA s original.bmp secretkey marked.bmp [TamMAC] [m]",
    "  secretkey = 32bits integer number",
    "  TamMAC: size of MAC. Default=128 (only multiples of 32)",
    "  m: Parameter of Golomb code. Default=3",
    "KOVA v secretkey marked.bmp reverted.bmp [TamMAC]",
    "  v=verify authenticity",
    "  secretkey = 32bits integer number (the same as in insertion)",
    "  TamMAC: size of MAC. Default=128 (the same as in insertion)",
};

// Refusals both modes raise.
const char* const KeyMessage = "Error: secretkey reading";
const char* const TamMACMessage = "Error: TamMAC reading";

[[noreturn]] void badshape() {
  for (const char* line : usage) std::puts(line);
  imagorix::erro("Error: Invalid number of arguments");
}

}  // namespace

bool readint(const char* s, int& v) {
  std::int64_t x;
  if (!imagorix::LeDecimal(s, x) || x < INT32_MIN || x > INT32_MAX) return false;
  v = static_cast<int>(x);
  return true;
}

bool readkey(const char* s, int& key) {
  std::int64_t x;
  const char* end = imagorix::LeDecimal(s, x);
  if (!end || x < INT32_MIN || x > UINT32_MAX) return false;
  // A key read up to its first non-digit would be another key: "0xBEEF" is
  // 0 and "12,345" is 12. Only blanks may follow.
  while (std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end) return false;
  key = static_cast<int>(static_cast<std::uint32_t>(x));
  return true;
}

void readkeyarg(const char* s, Command& cmd) {
  if (s[0] == '@')
    cmd.keyfile = std::make_shared<const KEYFILE>(s + 1);
  else if (!readkey(s, cmd.key))
    imagorix::erro(KeyMessage);
}

namespace {

// The secure mode's MAC: long enough not to be guessed, and no longer than
// its hash gives.
void check_secure(const Command& cmd) {
  if (cmd.keyfile && (cmd.TamMAC < SecureMinMac || cmd.TamMAC > SecureMaxMac))
    imagorix::erro("Error: TamMAC must be between 128 and 512 in the secure mode");
}

}  // namespace

Command parse(int argc, char** argv) {
  Command cmd;
  if (argc <= 1) badshape();
  cmd.mode = static_cast<char>(std::tolower(static_cast<unsigned char>(argv[1][0])));
  if (cmd.mode == 's') {
    if (argc < 5 || argc > 7) badshape();
    cmd.original = argv[2];
    cmd.marked = argv[4];
    readkeyarg(argv[3], cmd);
    if (argc >= 6) {
      if (!readint(argv[5], cmd.TamMAC)) imagorix::erro(TamMACMessage);
      if (cmd.TamMAC & 31) imagorix::erro("Error: TamMAC must be divisible by 32");
    }
    if (argc == 7 && !readint(argv[6], cmd.m)) imagorix::erro("Error: m reading");
  } else if (cmd.mode == 'v') {
    if (argc < 5 || argc > 6) badshape();
    cmd.marked = argv[3];
    cmd.reverted = argv[4];
    readkeyarg(argv[2], cmd);
    if (argc == 6) {
      if (!readint(argv[5], cmd.TamMAC)) imagorix::erro(TamMACMessage);
      // This mode's message has always begun with "Erro:".
      if (cmd.TamMAC & 31) imagorix::erro("Erro: TamMAC must be divisible by 32");
    }
  } else {
    badshape();
  }
  check_secure(cmd);
  return cmd;
}

int run(int argc, char** argv) {
  const Command cmd = parse(argc, argv);
  const KEYING key{cmd.key, cmd.keyfile};
  if (cmd.mode == 's')
    sign(cmd.original, key, cmd.marked, cmd.TamMAC, cmd.m);
  else
    verify(key, cmd.marked, cmd.TamMAC, cmd.reverted);
  return 0;
}

}  // namespace kova
