#pragma once

#include "platform/hid_device.h"
#include "platform/serial_port.h"

namespace platform {

// A serial system without ports and HID without devices, for the snapshot
// tools of both views: they list none and open none, so that drawing the window never
// touches a device.
class UnpluggedSerial : public SerialSystem {
 public:
  core::Result<std::unique_ptr<SerialDevice>> open(const std::string& name) override;
  core::Result<std::vector<std::string>> list_ports() override;
};

class UnpluggedHid : public HidSystem {
 public:
  core::Result<std::vector<HidDeviceInfo>> list() override;
  core::Result<std::unique_ptr<HidDevice>> open(const HidDeviceInfo& device) override;
  core::Result<std::unique_ptr<HidChangeWatch>> watch_changes(
      std::function<void()> on_change) override;
};

}  // namespace platform
