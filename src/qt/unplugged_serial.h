#pragma once

#include "platform/serial_port.h"

namespace qtui {

// A serial system without ports, for the snapshot tool: it lists none and opens
// none, so that rendering the window never touches a device.
class UnpluggedSerial : public platform::SerialSystem {
 public:
  core::Result<std::unique_ptr<platform::SerialDevice>> open(const std::string& name) override;
  core::Result<std::vector<std::string>> list_ports() override;
};

}  // namespace qtui
