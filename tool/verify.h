// Verify mode: checks the watermark of a marked image and restores the original.
#pragma once
#include <string>

namespace kova {

// Reads marked, checks its MAC of TamMAC bits against key and, when it
// matches, writes the restored original to reverted. Errors end the process.
void verify(int key, const std::string& marked, int TamMAC, const std::string& reverted);

}  // namespace kova
