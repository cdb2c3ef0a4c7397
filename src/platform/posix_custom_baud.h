#pragma once

namespace platform::posix {

// Sets a rate that has no B-constant through termios2 (BOTHER). Kept apart
// because the kernel's termios2 header cannot share a file with <termios.h>.
// Returns false with errno set.
bool SetCustomBaud(int fd, int baud);

}  // namespace platform::posix
