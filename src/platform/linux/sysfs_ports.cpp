#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <memory>

#include "platform/common/port_list.h"
#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  // sysfs attributes are one short line; never take more than a page.
  std::string text(4096, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// An on-board 8250 port is registered whether or not a UART answers at its
// address; its "type" then reads 0 and opening it could only fail or hang.
bool IsPlaceholder(const std::string& entry_dir) {
  std::string type = ReadSmallFile(entry_dir + "/type");
  while (!type.empty() && std::isspace(static_cast<unsigned char>(type.back())) != 0) {
    type.pop_back();
  }
  return type == "0";
}

bool IsListedTty(const std::string& sysfs_tty, const std::string& name,
                 const std::vector<std::string>& console_names) {
  if (name.empty() || name[0] == '.') return false;
  const std::string dir = sysfs_tty + "/" + name;
  if (!Exists(dir + "/device")) return false;
  if (std::find(console_names.begin(), console_names.end(), name) != console_names.end()) {
    return false;
  }
  return !IsPlaceholder(dir);
}

}  // namespace

std::vector<std::string> ReadConsoleNames(const std::string& sysfs_tty) {
  return ParseConsoleNames(ReadSmallFile(sysfs_tty + "/console/active"));
}

void AddExtraPorts(std::vector<std::string>& names, std::string_view extra,
                   const std::vector<std::string>& console_names) {
  std::size_t start = 0;
  while (start <= extra.size()) {
    std::size_t end = extra.find(':', start);
    if (end == std::string_view::npos) end = extra.size();
    const std::string name(extra.substr(start, end - start));
    const bool fits = !name.empty() && name.size() <= max_port_name_length;
    if (fits && !IsConsoleName(name, console_names) &&
        std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(name);
    }
    start = end + 1;
  }
}

core::Result<std::vector<std::string>> ListPortsUnder(const std::string& sysfs_tty,
                                                      const std::vector<std::string>& console_names,
                                                      std::string_view extra) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(sysfs_tty.c_str()), ::closedir);
  if (!dir) return core::error_from_errno("list ports", sysfs_tty);
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    const std::string path = "/dev/" + name;
    if (path.size() <= max_port_name_length && IsListedTty(sysfs_tty, name, console_names)) {
      names.push_back(path);
    }
  }
  if (errno != 0) return core::error_from_errno("list ports", sysfs_tty);
  AddExtraPorts(names, extra, console_names);
  SortPortNames(names);
  return names;
}

}  // namespace platform::linux_os
