#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

class WinHidSystem : public HidSystem {
 public:
  explicit WinHidSystem(core::EventLoop& loop) : loop_(loop) {}

  core::Result<std::vector<HidDeviceInfo>> list() override {
    std::vector<HidDeviceInfo> found = ListHidInterfaces();
    for (HidDeviceInfo& info : found) info.id = arrivals_->id_of(info.path);
    return found;
  }

  core::Result<std::unique_ptr<HidDevice>> open(const HidDeviceInfo& device) override {
    // The path may have come back as another device since it was listed.
    if (device.id != arrivals_->id_of(device.path)) {
      return WinError("open", device.path, ERROR_DEVICE_NOT_CONNECTED);
    }
    UniqueHandle handle(::CreateFileA(device.path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr));
    if (!handle.valid()) return WinError("open", device.path);
    return std::unique_ptr<HidDevice>(new WinHidDevice(loop_, std::move(handle), device));
  }

  core::Result<std::unique_ptr<HidChangeWatch>> watch_changes(
      std::function<void()> on_change) override {
    return WatchHidNotices(loop_, arrivals_, std::move(on_change));
  }

 private:
  core::EventLoop& loop_;
  std::shared_ptr<HidArrivals> arrivals_ = std::make_shared<HidArrivals>();
};

}  // namespace

}  // namespace platform::windows_os

namespace platform {

std::unique_ptr<HidSystem> MakeSystemHid(core::EventLoop& loop) {
  return std::make_unique<windows_os::WinHidSystem>(loop);
}

}  // namespace platform
