#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How port names become device paths, and which devices are the system console.
// Pure text rules, so they can be checked without touching a device.
namespace platform {

// "COMn" (n >= 1, any letter case) is the n-th on-board port, /dev/ttyS(n-1);
// any other name is taken as it stands.
std::string DevicePathForPort(std::string_view name);

// The device path `open` uses for `name`, or nothing when the name names no
// device: only absolute paths are accepted, so a stray name such as "COM0" can
// never open a file in the current folder.
std::optional<std::string> PortDevicePath(std::string_view name);

// The names in /sys/class/tty/console/active ("ttyS0 tty0").
std::vector<std::string> ParseConsoleNames(std::string_view text);

// True when `path` (symbolic links already resolved) is /dev/console, /dev/tty0
// or one of the active console devices named in `console_names`.
bool IsConsoleName(std::string_view path, const std::vector<std::string>& console_names);

}  // namespace platform
