#include "sign.h"

#include <cstdio>

#include "base/erro.h"
#include "golomb.h"
#include "image/leimp.h"
#include "payload.h"
#include "search.h"

namespace kova {

using imagorix::erro;

void sign(const std::string& original, const KEYING& key, const std::string& marked, int TamMAC, int m) {
  const int T = TamMAC;
  // The payload has 5 bits for m - 2, and a MAC of no bits would vouch for
  // any image.
  if (m < MinM || m > MaxM) erro("Error: m must be between 2 and 33");
  if (T <= 0) erro(TamMACPositiveMessage);

  const VETOR<int>& vis = VisTable();
  IMGBIN img = ReadPage(original, T, "Error: Too small image: decrease TamMAC or increase image");

  CARRIERS car(img, vis, key.seed());
  const REGION r = SearchRegion(car, T, m);
  // k = (B - 16) / 32 and w travel in 16-bit fields.
  if (r.B > MaxBegin || r.w > MaxField) erro(ImpossibleMessage);
  std::printf("Beginning = %d\n", r.B);
  std::fflush(stdout);
  // The last carrier the payload changes, and so the most visible change.
  std::printf("Largest changed VIS=%d\n", car.vis(r.B + T + CompressedOffset + r.w - 1));

  const std::string C = GOLOMB(m).encode(Disagreements(car, r.B, r.n - KBits));
  if (static_cast<int>(C.size()) != r.w) erro("Error: compressed size differs from the search's");
  WritePayload(car, r.B, T, MakePayload(r.B, m, C));
  BlankMac(car, r.B, T);
  WriteMac(car, r.B, key.mac(img, T));
  imagorix::imp(img, marked);
}

}  // namespace kova
