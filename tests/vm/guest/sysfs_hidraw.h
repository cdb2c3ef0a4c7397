#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vm_guest {

// One hidraw node as sysfs describes it.
struct HidrawEntry {
  std::string node;         // /dev/hidrawN
  std::string device;       // the HID device's sysfs name, e.g. 0003:1209:7A45.0001
  std::string name;         // HID_NAME: for uhid the product string, there being no USB parent
  std::string usb_product;  // the USB device's product string; empty without a USB parent
  std::vector<std::uint8_t> descriptor;
};

std::vector<HidrawEntry> ListHidraw();
// The entries whose `field` (the name, the USB product string) is exactly `value`.
std::vector<HidrawEntry> HidrawWhere(std::string HidrawEntry::*field, const std::string& value);

}  // namespace vm_guest
