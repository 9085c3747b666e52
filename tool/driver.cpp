#include "driver.h"

#include "base/erro.h"

namespace kova {

int run(int, char**) { imagorix::erro("Error: Invalid number of arguments"); }

}  // namespace kova
