// Port names from the values of the system's serial device map, over arbitrary bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/common/port_list.h"
#include "require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto name = platform::PortNameFromValue(bytes);
  const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  const auto length = static_cast<std::size_t>(zero - bytes.begin());
  Require(name.has_value() == (length > 0 && length <= platform::max_port_name_length),
          "a name of 1 to 20 bytes before the first zero");
  if (name) {
    Require(*name == std::string(bytes.begin(), zero), "the bytes as they are");
    std::vector<std::string> names{*name, "COM1"};
    platform::SortPortNames(names);
    Require(names.size() == 2, "sorting keeps every name");
  }
  return 0;
}
