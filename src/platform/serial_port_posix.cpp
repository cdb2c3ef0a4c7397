#include <cstdlib>
#include <utility>

#include "platform/port_list.h"
#include "platform/posix_serial.h"
#include "platform/posix_serial_device.h"
#include "platform/posix_serial_open.h"
#include "platform/system_serial.h"

namespace platform {

namespace {

constexpr const char* extra_ports_variable = "ZEKFLASH_PORTS";

class PosixSerialSystem : public SerialSystem {
 public:
  explicit PosixSerialSystem(std::string sysfs_tty) : sysfs_tty_(std::move(sysfs_tty)) {}

  core::Result<std::unique_ptr<SerialDevice>> open(const std::string& name) override {
    // Read at every open: the console can be moved while we run.
    core::Result<int> fd = posix::OpenSerialPort(name, ReadConsoleNames(sysfs_tty_));
    if (!fd) return fd.error();
    return std::unique_ptr<SerialDevice>(new posix::PosixSerialDevice(*fd, name));
  }

  core::Result<std::vector<std::string>> list_ports() override {
    const char* extra = std::getenv(extra_ports_variable);
    return ListPortsUnder(sysfs_tty_, ReadConsoleNames(sysfs_tty_), extra ? extra : "");
  }

 private:
  std::string sysfs_tty_;
};

}  // namespace

std::unique_ptr<SerialSystem> MakePosixSerial(std::string sysfs_tty) {
  return std::make_unique<PosixSerialSystem>(std::move(sysfs_tty));
}

std::unique_ptr<SerialSystem> MakeSystemSerial() {
  return MakePosixSerial("/sys/class/tty");
}

}  // namespace platform
