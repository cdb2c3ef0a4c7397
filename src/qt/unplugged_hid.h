#pragma once

#include "platform/hid_device.h"

namespace qtui {

// HID without devices, for the snapshot tool: it lists none, opens none and
// sends no notices, so that rendering the window never touches a device.
class UnpluggedHid : public platform::HidSystem {
 public:
  core::Result<std::vector<platform::HidDeviceInfo>> list() override;
  core::Result<std::unique_ptr<platform::HidDevice>> open(
      const platform::HidDeviceInfo& device) override;
  core::Result<std::unique_ptr<platform::HidChangeWatch>> watch_changes(
      std::function<void()> on_change) override;
};

}  // namespace qtui
