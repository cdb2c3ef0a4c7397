#pragma once

namespace platform {

// Whether the standard stream with this descriptor (0 in, 1 out) is a terminal.
bool IsTerminal(int fd);

}  // namespace platform
