#include "platform/terminal.h"

#include <windows.h>

namespace platform {

bool IsTerminal(int fd) {
  // Not _isatty: it says yes to any character device, NUL included.
  const DWORD which = fd == 0 ? STD_INPUT_HANDLE : fd == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

}  // namespace platform
