#include "app/command_line.h"

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

}  // namespace app
