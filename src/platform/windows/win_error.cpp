#include <cstring>

#include "platform/windows/internal.h"

namespace platform::windows_os {

std::string WinErrorText(DWORD code) {
  char buffer[512];
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD n = ::FormatMessageA(flags, nullptr, code, 0, buffer, sizeof buffer, nullptr);
  while (n > 0 && std::strchr("\r\n .", buffer[n - 1]) != nullptr) --n;
  if (n == 0) return "win error code " + std::to_string(code);
  return std::string(buffer, n);
}

core::Error WinError(std::string operation, std::string name, DWORD code) {
  return core::Error{std::move(operation), std::move(name), static_cast<int>(code),
                     WinErrorText(code)};
}

}  // namespace platform::windows_os
