#include "platform/common/port_list.h"

#include <algorithm>
#include <cctype>

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

std::optional<std::string> PortNameFromValue(std::span<const std::uint8_t> data) {
  const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  const auto length = static_cast<std::size_t>(end - data.begin());
  if (length == 0 || length > max_port_name_length) return std::nullopt;
  return std::string(data.begin(), end);
}

}  // namespace platform
