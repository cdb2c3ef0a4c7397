#pragma once

#include <cstdint>
#include <string>

namespace ecu_sim {

// What the USB HID bridge says it is, and where uhid is found.
struct BridgeIdentity {
  std::string name = "HIDtoUART ZEK";
  std::uint16_t vendor = 0x1209;
  std::uint16_t product = 0x7A45;
  std::string uhid_path = "/dev/uhid";
};

}  // namespace ecu_sim
