#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

constexpr const char* serial_ports_key = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

class ComSystem : public SerialSystem {
 public:
  core::Result<std::unique_ptr<SerialDevice>> open(const std::string& name) override {
    core::Result<UniqueHandle> port = OpenComPort(name);
    if (!port) return port.error();
    return std::unique_ptr<SerialDevice>(new ComDevice(std::move(*port), name));
  }

  core::Result<std::vector<std::string>> list_ports() override {
    return PortsInRegistry(HKEY_LOCAL_MACHINE, serial_ports_key);
  }
};

}  // namespace

}  // namespace platform::windows_os

namespace platform {

std::unique_ptr<SerialSystem> MakeSystemSerial() {
  return std::make_unique<windows_os::ComSystem>();
}

}  // namespace platform
