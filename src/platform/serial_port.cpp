#include "platform/serial_port.h"

#include <string_view>

namespace platform {

std::string ShortPortName(const std::string& name) {
  constexpr std::string_view devices = "/dev/";
  if (name.size() <= devices.size() || name.compare(0, devices.size(), devices) != 0) return name;
  return name.substr(devices.size());
}

}  // namespace platform
