#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

class SystemFacts : public SettingsFacts {
 public:
  bool exists(const std::string& path) override {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
  }
  bool writable(const std::string& folder) override {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
  }
  std::optional<std::string> variable(const std::string& name) override {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  }
};

class SystemSettingsFiles : public SettingsFiles {
 public:
  std::string path(const std::string& program_folder, const std::string& name) override {
    SystemFacts facts;
    return SettingsFilePath(program_folder, name, facts);
  }
  core::Status make_folder(const std::string& path) override {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return core::Ok{};
    return MakeFolders(path.substr(0, slash));
  }
};

}  // namespace

core::Status MakeFolders(const std::string& folder) {
  for (std::string::size_type end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      return core::error_from_errno("create folder", part);
    }
    if (end == std::string::npos) return core::Ok{};
  }
}

}  // namespace platform::linux_os

namespace platform {

std::unique_ptr<SettingsFiles> MakeSystemSettingsFiles() {
  return std::make_unique<linux_os::SystemSettingsFiles>();
}

}  // namespace platform
