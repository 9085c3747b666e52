#include "verify.h"

#include "base/erro.h"

namespace kova {

// Placeholder until the verification itself is written.
void verify(int, const std::string&, int, const std::string&) {
  imagorix::erro("Error: verify mode is not available yet");
}

}  // namespace kova
