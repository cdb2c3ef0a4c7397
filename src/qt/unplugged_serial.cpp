#include "qt/unplugged_serial.h"

namespace qtui {

core::Result<std::unique_ptr<platform::SerialDevice>> UnpluggedSerial::open(
    const std::string& name) {
  return core::Error{"open", name, 0, "no serial ports while taking snapshots"};
}

core::Result<std::vector<std::string>> UnpluggedSerial::list_ports() {
  return std::vector<std::string>{};
}

}  // namespace qtui
