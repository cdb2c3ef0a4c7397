#pragma once

#include <string>
#include <vector>

#include "core/result.h"

namespace platform::posix {

// True when `path` leads (through links, or as another node of the same
// device) to the system console. Looks at names and device numbers only:
// nothing is opened.
bool IsSystemConsole(const std::string& path, const std::vector<std::string>& console_names);

// Opens the port `name` ("COM3", "/dev/ttyUSB0") for this program's sole use
// and leaves it raw 8N1 at 115200 with DTR and RTS low. Refuses the console.
core::Result<int> OpenSerialPort(const std::string& name,
                                 const std::vector<std::string>& console_names);

}  // namespace platform::posix
