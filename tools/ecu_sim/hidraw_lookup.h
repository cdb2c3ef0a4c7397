#pragma once

#include <optional>
#include <string>

namespace ecu_sim {

// Where the kernel put a HID device we made.
struct HidrawNode {
  std::string sysfs_name;  // e.g. "0003:1209:7A45.0001"
  std::string node;        // e.g. "/dev/hidraw0"; empty while no hidraw node is bound
};

// Finds the HID device whose uniq string is `uniq` under /sys/bus/hid/devices.
std::optional<HidrawNode> FindHidDeviceByUniq(const std::string& uniq);
// Finds the hidraw node of a HID device on a USB device with this serial number string.
std::optional<HidrawNode> FindHidrawOnUsbSerial(const std::string& serial);

}  // namespace ecu_sim
