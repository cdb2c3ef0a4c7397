// Port configuration records over arbitrary bytes, and records made from
// arbitrary names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "config/port_record.h"
#include "require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto name = config::ParsePortRecord(bytes);
  const bool valid = size >= config::port_record_size && data[0] <= config::port_name_capacity;
  Require(name.has_value() == valid, "a record is 21 bytes with a length of 20 at most");
  if (name) {
    Require(name->size() == data[0], "name of the stored length");
    Require(*name == std::string(data + 1, data + 1 + data[0]), "name follows the length byte");
    Require(config::ParsePortRecord(config::MakePortRecord(*name)) == name, "round trip");
  }
  const std::string_view any(reinterpret_cast<const char*>(data), size);
  const auto record = config::MakePortRecord(any);
  const auto back = config::ParsePortRecord(record);
  Require(back.has_value() && *back == any.substr(0, config::port_name_capacity), "cut to 20");
  return 0;
}
