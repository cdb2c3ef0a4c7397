#include "platform/program_path.h"

#include <filesystem>

namespace platform {

std::string ExecutablePath(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.string();
  return argv0 != nullptr ? argv0 : "zekflash-cli";
}

}  // namespace platform
