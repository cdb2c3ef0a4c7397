#include "platform/terminal.h"

#include <unistd.h>

namespace platform {

bool IsTerminal(int fd) {
  return ::isatty(fd) == 1;
}

}  // namespace platform
