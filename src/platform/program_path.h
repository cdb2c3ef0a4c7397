#pragma once

#include <string>

namespace platform {

// The running program's own file, so that its folder is the one beside the
// executable whatever the current folder; `argv0` when the system cannot say.
std::string ExecutablePath(const char* argv0);

}  // namespace platform
