#include "win32/unplugged.h"

namespace win32ui {

core::Result<std::unique_ptr<platform::SerialDevice>> UnpluggedSerial::open(
    const std::string& name) {
  return core::Error{"open", name, 0, "no serial ports while taking snapshots"};
}

core::Result<std::vector<std::string>> UnpluggedSerial::list_ports() {
  return std::vector<std::string>{};
}

core::Result<std::vector<platform::HidDeviceInfo>> UnpluggedHid::list() {
  return std::vector<platform::HidDeviceInfo>{};
}

core::Result<std::unique_ptr<platform::HidDevice>> UnpluggedHid::open(
    const platform::HidDeviceInfo& device) {
  return core::Error{"open", device.path, 0, "no HID devices while taking snapshots"};
}

core::Result<std::unique_ptr<platform::HidChangeWatch>> UnpluggedHid::watch_changes(
    std::function<void()> /*on_change*/) {
  return core::Error{"watch HID devices", "", 0, "no HID devices while taking snapshots"};
}

}  // namespace win32ui
