#include "app/command_line.h"

#include <iterator>
#include <string_view>

namespace app {

bool OpeningScreenWanted(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size() && i < 2; ++i) {
    if (args[i] == "-O") return false;
  }
  return true;
}

bool HelpWanted(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size() && i < 2; ++i) {
    if (args[i] == "--help" || args[i] == "-h") return true;
  }
  return false;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

std::optional<std::string> TakeTraceFile(std::vector<std::string>& args) {
  static constexpr std::string_view option = "--trace";
  for (auto it = args.begin(); it != args.end(); ++it) {
    const std::string_view arg = *it;
    if (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=') {
      std::string file(arg.substr(option.size() + 1));
      args.erase(it);
      return file;
    }
    if (arg != option) continue;
    std::string file = std::next(it) != args.end() ? *std::next(it) : std::string();
    args.erase(it, std::next(it) != args.end() ? std::next(it, 2) : std::next(it));
    return file;
  }
  return std::nullopt;
}

}  // namespace app
