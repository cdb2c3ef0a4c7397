#include <optional>
#include <string>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

constexpr const char* own_folder = "zekflash/";

// An absolute path from the variable `name`, with a trailing separator.
std::optional<std::string> AbsoluteFolder(SettingsFacts& facts, const std::string& name) {
  std::optional<std::string> value = facts.variable(name);
  if (!value || value->empty() || value->front() != '/') return std::nullopt;
  if (value->back() != '/') *value += '/';
  return value;
}

}  // namespace

std::string SettingsFilePath(const std::string& program_folder, const std::string& name,
                             SettingsFacts& facts) {
  const std::string beside = program_folder + name;
  if (facts.exists(beside) || facts.writable(program_folder.empty() ? "." : program_folder)) {
    return beside;
  }
  if (auto config = AbsoluteFolder(facts, "XDG_CONFIG_HOME")) return *config + own_folder + name;
  if (auto home = AbsoluteFolder(facts, "HOME")) return *home + ".config/" + own_folder + name;
  return beside;
}

}  // namespace platform::linux_os
