// Verify mode: checks the watermark of a marked image and restores the original.
#pragma once
#include <string>

#include "keying.h"

namespace kova {

// Reads marked, checks its MAC of TamMAC bits against key and, when it
// matches, writes the restored original to reverted. Errors end the process.
void verify(const KEYING& key, const std::string& marked, int TamMAC, const std::string& reverted);
// The check and restoration on a page already read (white outside it):
// img becomes the original when its MAC matches; anything else ends the
// process, as verify does.
void Authenticate(imagorix::IMGBIN& img, const KEYING& key, int T);

// The same with a numeric key (the default mode).
inline void verify(int key, const std::string& marked, int TamMAC, const std::string& reverted) {
  verify(KEYING{key, nullptr}, marked, TamMAC, reverted);
}

}  // namespace kova
