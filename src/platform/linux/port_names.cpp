#include <cctype>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

bool StartsWithCom(std::string_view s) {
  if (s.size() < 3) return false;
  for (std::size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(s[i])) != "COM"[i]) return false;
  }
  return true;
}

}  // namespace

std::string DevicePathForPort(std::string_view name) {
  if (!StartsWithCom(name)) return std::string(name);
  const std::string_view digits = name.substr(3);
  // Five digits at most keeps the number far from overflow; a leading zero
  // ("COM01") is no name Windows would give a port either.
  if (!IsDigits(digits) || digits.size() > 5 || digits[0] == '0') return std::string(name);
  const long n = std::stol(std::string(digits));
  return "/dev/ttyS" + std::to_string(n - 1);
}

std::optional<std::string> PortDevicePath(std::string_view name) {
  std::string path = DevicePathForPort(name);
  if (path.empty() || path[0] != '/') return std::nullopt;
  return path;
}

std::vector<std::string> ParseConsoleNames(std::string_view text) {
  std::vector<std::string> names;
  std::string word;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c)) != 0) {
      if (!word.empty()) names.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) names.push_back(word);
  return names;
}

bool IsConsoleName(std::string_view path, const std::vector<std::string>& console_names) {
  if (path == "/dev/console" || path == "/dev/tty0") return true;
  for (const std::string& c : console_names) {
    if (!c.empty() && path == "/dev/" + c) return true;
  }
  return false;
}

}  // namespace platform::linux_os
