#include "platform/program_path.h"

#include <windows.h>

namespace platform {

std::string ExecutablePath(const char* argv0) {
  char path[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (n > 0 && n < sizeof path) return std::string(path, n);
  return argv0 != nullptr ? argv0 : "zekflash-cli.exe";
}

}  // namespace platform
