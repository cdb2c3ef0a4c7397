#include "qt/unplugged_hid.h"

namespace qtui {

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

}  // namespace qtui
