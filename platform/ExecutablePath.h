// Where the running executable lives; the program folder is derived from it.
#pragma once

#include <string>

namespace platform {

// Absolute folder of the running executable, with a trailing '/', or an empty
// string when the kernel cannot tell (no /proc).
std::string ExecutableFolder();

}  // namespace platform
