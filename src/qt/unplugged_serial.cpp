#include "qt/unplugged_serial.h"

namespace qtui {

platform::Result<std::unique_ptr<platform::SerialDevice>> UnpluggedSerial::open(
    const std::string& name) {
  return platform::Error{"open", name, 0, "no serial ports while taking snapshots"};
}

platform::Result<std::vector<std::string>> UnpluggedSerial::list_ports() {
  return std::vector<std::string>{};
}

}  // namespace qtui
