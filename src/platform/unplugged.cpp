#include "platform/unplugged.h"

namespace platform {

core::Result<std::unique_ptr<SerialDevice>> UnpluggedSerial::open(const std::string& name) {
  return core::Error{"open", name, 0, "no serial ports while taking snapshots"};
}

core::Result<std::vector<std::string>> UnpluggedSerial::list_ports() {
  return std::vector<std::string>{};
}

core::Result<std::vector<HidDeviceInfo>> UnpluggedHid::list() {
  return std::vector<HidDeviceInfo>{};
}

core::Result<std::unique_ptr<HidDevice>> UnpluggedHid::open(const HidDeviceInfo& device) {
  return core::Error{"open", device.path, 0, "no HID devices while taking snapshots"};
}

core::Result<std::unique_ptr<HidChangeWatch>> UnpluggedHid::watch_changes(
    std::function<void()> /*on_change*/) {
  return core::Error{"watch HID devices", "", 0, "no HID devices while taking snapshots"};
}

}  // namespace platform
