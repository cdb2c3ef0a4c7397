#include "platform/settings_files.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether a file can be made in `folder`: the folder's attributes say nothing
// of its access list, and Program Files refuses what a copy on the desktop takes.
bool Writable(const std::string& folder) {
  const std::string probe = (folder.empty() ? std::string(".\\") : folder) + "zekflash-probe.tmp";
  UniqueHandle file(::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return file.valid();
}

// %APPDATA%\zekflash\, or nothing when the variable is unset.
std::string UserFolder() {
  const char* appdata = std::getenv("APPDATA");
  if (appdata == nullptr || *appdata == '\0') return {};
  std::string folder = appdata;
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder + "zekflash\\";
}

class SystemSettingsFiles : public SettingsFiles {
 public:
  std::string path(const std::string& program_folder, const std::string& name) override {
    const std::string beside = program_folder + name;
    if (Exists(beside) || Writable(program_folder)) return beside;
    const std::string user = UserFolder();
    return user.empty() ? beside : user + name;
  }

  core::Status make_folder(const std::string& path) override {
    const std::string::size_type end = path.find_last_of("\\/");
    if (end == std::string::npos) return core::Ok{};
    // Every folder above the file, from the drive down; those present stay.
    for (std::string::size_type at = path.find_first_of("\\/", 3);
         at != std::string::npos && at <= end; at = path.find_first_of("\\/", at + 1)) {
      const std::string part = path.substr(0, at);
      if (::CreateDirectoryA(part.c_str(), nullptr)) continue;
      const DWORD code = ::GetLastError();
      if (code != ERROR_ALREADY_EXISTS) return WinError("create folder", part, code);
    }
    return core::Ok{};
  }
};

}  // namespace

}  // namespace platform::windows_os

namespace platform {

std::unique_ptr<SettingsFiles> MakeSystemSettingsFiles() {
  return std::make_unique<windows_os::SystemSettingsFiles>();
}

}  // namespace platform
