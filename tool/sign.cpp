#include "sign.h"

#include "base/erro.h"

namespace kova {

// Placeholder until the marking itself is written.
void sign(const std::string&, int, const std::string&, int, int) {
  imagorix::erro("Error: sign mode is not available yet");
}

}  // namespace kova
