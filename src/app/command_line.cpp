#include "app/command_line.h"

#include <initializer_list>
#include <iterator>
#include <string_view>

namespace app {

namespace {

// Whether one of `names` is the first or the second argument, the places "-O" counts in.
bool InFirstTwo(const std::vector<std::string>& args,
                std::initializer_list<std::string_view> names) {
  for (std::size_t i = 0; i < args.size() && i < 2; ++i) {
    for (const std::string_view name : names) {
      if (args[i] == name) return true;
    }
  }
  return false;
}

}  // namespace

bool OpeningScreenWanted(const std::vector<std::string>& args) {
  return !InFirstTwo(args, {"-O"});
}

bool HelpWanted(const std::vector<std::string>& args) {
  return InFirstTwo(args, {"--help", "-h"});
}

bool VersionWanted(const std::vector<std::string>& args) {
  return InFirstTwo(args, {"--version"});
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
