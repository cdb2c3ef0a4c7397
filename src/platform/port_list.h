#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What every system's list of serial ports holds to (`SerialSystem::list_ports`).
namespace platform {

inline constexpr std::size_t max_port_name_length = 20;

// Sorts as text without regard to letter case ("COM10" before "COM2").
void SortPortNames(std::vector<std::string>& names);

}  // namespace platform
