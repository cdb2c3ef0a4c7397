#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

class HidrawSystem : public HidSystem {
 public:
  HidrawSystem(core::EventLoop& loop, std::string sysfs, std::string dev)
      : loop_(loop), sysfs_(std::move(sysfs)), dev_(std::move(dev)) {}

  core::Result<std::vector<HidDeviceInfo>> list() override {
    return ListHidraw(sysfs_, dev_, *settling_);
  }

  core::Result<std::unique_ptr<HidDevice>> open(const HidDeviceInfo& device) override {
    UniqueFd fd(::open(device.path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return core::error_from_errno("open", device.path);
    // A node's number goes to the next device plugged in: the node must still
    // belong to the device that was listed.
    const std::string node = device.path.substr(device.path.rfind('/') + 1);
    if (HidDeviceFolder(sysfs_, node) != device.id) {
      return core::Error{"open", device.path, ENODEV, std::strerror(ENODEV)};
    }
    return std::unique_ptr<HidDevice>(new HidrawDevice(loop_, std::move(fd), device));
  }

  core::Result<std::unique_ptr<HidChangeWatch>> watch_changes(
      std::function<void()> on_change) override {
    return WatchHidraw(loop_, dev_, settling_, std::move(on_change));
  }

 private:
  core::EventLoop& loop_;
  std::string sysfs_;
  std::string dev_;
  std::shared_ptr<SettlingNodes> settling_ = std::make_shared<SettlingNodes>();
};

}  // namespace

std::unique_ptr<HidSystem> MakeHidrawSystem(core::EventLoop& loop, std::string sysfs,
                                            std::string dev) {
  return std::make_unique<HidrawSystem>(loop, std::move(sysfs), std::move(dev));
}

}  // namespace platform::linux_os

namespace platform {

std::unique_ptr<HidSystem> MakeSystemHid(core::EventLoop& loop) {
  return linux_os::MakeHidrawSystem(loop, "/sys", "/dev");
}

}  // namespace platform
