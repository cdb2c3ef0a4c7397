#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What every system's list of serial ports holds to (`SerialSystem::list_ports`).
namespace platform {

inline constexpr std::size_t max_port_name_length = 20;

// Sorts as text without regard to letter case ("COM10" before "COM2").
void SortPortNames(std::vector<std::string>& names);

// The port name a registry value of the serial device map holds: its bytes up
// to the first zero (a value need not end in one). Nothing for an empty name or
// one longer than max_port_name_length, which no port list shows.
std::optional<std::string> PortNameFromValue(std::span<const std::uint8_t> data);

}  // namespace platform
