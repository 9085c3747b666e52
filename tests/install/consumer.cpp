// Writes a small binary image through the installed library and reads it
// back; exits 0 when the pixels survive.
#include <imagorix/imagorix.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  imagorix::IMGBIN img(5, 7, 1);
  img.set(2, 3, false);
  imagorix::imp(img, argv[1]);
  imagorix::IMGBIN back;
  imagorix::le(back, argv[1]);
  const bool ok = back.nl() == 5 && back.nc() == 7 && !back.get(2, 3) && back.get(0, 0);
  std::puts(ok ? "consumer: round trip ok" : "consumer: round trip FAILED");
  return ok ? 0 : 1;
}
