#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

constexpr const char* extra_ports_variable = "ZEKFLASH_PORTS";

class TtySystem : public SerialSystem {
 public:
  TtySystem(std::string sysfs_tty, std::shared_ptr<LineCalls> calls)
      : sysfs_tty_(std::move(sysfs_tty)), calls_(std::move(calls)) {}

  core::Result<std::unique_ptr<SerialDevice>> open(const std::string& name) override {
    // Read at every open: the console can be moved while we run.
    core::Result<UniqueFd> fd = OpenSerialPort(name, ReadConsoleNames(sysfs_tty_), *calls_);
    if (!fd) return fd.error();
    return std::unique_ptr<SerialDevice>(new TtyDevice(std::move(*fd), name, calls_));
  }

  core::Result<std::vector<std::string>> list_ports() override {
    const char* extra = std::getenv(extra_ports_variable);
    return ListPortsUnder(sysfs_tty_, ReadConsoleNames(sysfs_tty_), extra ? extra : "");
  }

 private:
  std::string sysfs_tty_;
  std::shared_ptr<LineCalls> calls_;
};

}  // namespace

std::unique_ptr<SerialSystem> MakeTtySystem(std::string sysfs_tty,
                                            std::shared_ptr<LineCalls> calls) {
  return std::make_unique<TtySystem>(std::move(sysfs_tty), std::move(calls));
}

}  // namespace platform::linux_os

namespace platform {

std::unique_ptr<SerialSystem> MakeSystemSerial() {
  return linux_os::MakeTtySystem("/sys/class/tty");
}

}  // namespace platform
