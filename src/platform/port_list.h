#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What every system's list of serial ports holds to (`SerialSystem::list_ports`).
namespace platform {

inline constexpr std::size_t max_port_name_length = 20;

// Sorts as text without regard to letter case ("COM10" before "COM2").
void SortPortNames(std::vector<std::string>& names);

// A port's name as a narrow field shows it: a device path without its "/dev/"
// ("ttyUSB0"); other names as they are. Only for showing: the files and the
// port search keep the whole name.
std::string ShortPortName(const std::string& name);

}  // namespace platform
