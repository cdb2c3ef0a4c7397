#include "platform/port_list.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace platform {

namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  const bool less = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); });
  if (less) return true;
  const bool greater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(),
      [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); });
  // Names equal but for case still get one fixed order.
  return !greater && a < b;
}

}  // namespace

void SortPortNames(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), LessIgnoringCase);
}

std::string ShortPortName(const std::string& name) {
  constexpr std::string_view devices = "/dev/";
  if (name.size() <= devices.size() || name.compare(0, devices.size(), devices) != 0) return name;
  return name.substr(devices.size());
}

}  // namespace platform
