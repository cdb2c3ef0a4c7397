#pragma once

#include "platform/hid_device.h"
#include "platform/serial_port.h"

namespace win32ui {

// A serial system without ports and HID without devices, for the snapshot
// tool: they list none and open none, so that drawing the window never
// touches a device.
class UnpluggedSerial : public platform::SerialSystem {
 public:
  core::Result<std::unique_ptr<platform::SerialDevice>> open(const std::string& name) override;
  core::Result<std::vector<std::string>> list_ports() override;
};

class UnpluggedHid : public platform::HidSystem {
 public:
  core::Result<std::vector<platform::HidDeviceInfo>> list() override;
  core::Result<std::unique_ptr<platform::HidDevice>> open(
      const platform::HidDeviceInfo& device) override;
  core::Result<std::unique_ptr<platform::HidChangeWatch>> watch_changes(
      std::function<void()> on_change) override;
};

}  // namespace win32ui
