#include "verify.h"

#include <cstdio>

#include "base/erro.h"
#include "golomb.h"
#include "image/leimp.h"
#include "payload.h"

namespace kova {

using imagorix::erro;

void verify(const KEYING& key, const std::string& marked, int TamMAC, const std::string& reverted) {
  const int T = TamMAC;
  // A MAC of no bits would vouch for any image.
  if (T <= 0) erro(TamMACPositiveMessage);

  IMGBIN img = ReadPage(marked, T, "Error: Image too small");
  Authenticate(img, key, T);
  std::puts("AW VERIFIED: authentication watermark verified");
  imagorix::imp(img, reverted);
}

void Authenticate(IMGBIN& img, const KEYING& key, int T) {
  const VETOR<int>& vis = VisTable();
  // Only block centres were changed, so this is the order sign used.
  CARRIERS car(img, vis, key.seed());
  const HEADER h = ReadHeader(car, T);
  const std::string stored = ReadMac(car, h.B, T);
  BlankMac(car, h.B, T);
  if (!SameMac(key.mac(img, T), stored))
    erro("AW FAILED: image was modified or a wrong key was used\n");

  // The MAC vouches for the pixels, not for the record being decodable: the
  // page is restored in memory before success is announced, so that a record
  // that does not decode ends with its own error alone. A failing write after
  // the announcement still ends the run with status 1.
  Restore(car, h.B, GOLOMB(h.m).decode(ReadCompressed(car, h, T)));
}

}  // namespace kova
