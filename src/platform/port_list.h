#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

// The serial ports the system knows, read from sysfs without opening any device.
namespace platform {

inline constexpr std::size_t max_port_name_length = 20;

// The active console devices named in <sysfs_tty>/console/active; none when the
// file cannot be read.
std::vector<std::string> ReadConsoleNames(const std::string& sysfs_tty);

// The entries of `sysfs_tty` backed by a device, less the console and the
// placeholders of absent on-board UARTs, as "/dev/<name>"; then the names of
// `extra` (colon-separated paths); sorted without regard to letter case.
// Names longer than 20 characters and repeats are left out.
core::Result<std::vector<std::string>> ListPortsUnder(const std::string& sysfs_tty,
                                                      const std::vector<std::string>& console_names,
                                                      std::string_view extra);

// Adds the colon-separated names of `extra` that are not too long, not already
// listed and not the console.
void AddExtraPorts(std::vector<std::string>& names, std::string_view extra,
                   const std::vector<std::string>& console_names);

// Sorts as text without regard to letter case ("COM10" before "COM2").
void SortPortNames(std::vector<std::string>& names);

}  // namespace platform
