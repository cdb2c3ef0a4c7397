#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/manual_loop.h"
#include "platform/hid_device.h"

class FakeHidDevice;
class FakeHidWatch;

// HID interfaces in memory, for tests on the manual loop. Devices are plugged
// in and out by the test, input reports and read errors are injected, and every
// report written is kept as the device received it (padded by the same rule as
// the real systems). Notices and handlers run at once, on the test's thread.
// Devices and watches may outlive it; they then only fail.
class FakeHid : public platform::HidSystem {
 public:
  struct Device {
    platform::HidDeviceInfo info;
    bool plugged = true;
    int opens = 0;                                  // successful opens
    std::vector<std::vector<std::uint8_t>> writes;  // every report written, in order
  };

  explicit FakeHid(core::ManualLoop& loop) : loop_(loop) {}
  ~FakeHid() override;

  core::Result<std::vector<platform::HidDeviceInfo>> list() override;
  core::Result<std::unique_ptr<platform::HidDevice>> open(
      const platform::HidDeviceInfo& device) override;
  core::Result<std::unique_ptr<platform::HidChangeWatch>> watch_changes(
      std::function<void()> on_change) override;

  // A bridge as the simulated unit makes one: input and output reports of 64
  // data bytes behind their ID, read and write access.
  static platform::HidDeviceInfo Bridge(const std::string& id,
                                        std::u16string product = u"HIDtoUART ZEK");

  // Lists the device and tells every watch, unless `tell` is false. Its id
  // must be new.
  void plug(platform::HidDeviceInfo info, bool tell = true);
  // Takes the device off the list: each of its readers gets one read error (EIO)
  // and ends, then every watch is told unless `tell` is false. Writes fail from
  // now on (ENODEV).
  void unplug(const std::string& id, bool tell = true);
  // Tells every watch that the list changed.
  void notify();
  // The device's access changes without a notice, as udev's does.
  void set_access(const std::string& id, platform::HidAccess access);
  // An input report ([ID][data]) to every reader of the device; how many took it.
  int inject(const std::string& id, const std::vector<std::uint8_t>& report);
  // A read error to every reader of the device, which then ends, or reads on
  // when `ends` is false (the device stayed).
  void fail_reads(const std::string& id, int code, const std::string& text, bool ends = true);

  Device& device(const std::string& id) { return devices_.at(id); }
  bool has_device(const std::string& id) const { return devices_.count(id) != 0; }
  // Readers running on the device now.
  int readers(const std::string& id) const;
  // Every report written to any device, in order, with the device's id.
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> all_writes;
  // Called at each report written, with the device's id, before the write returns.
  std::function<void(const std::string& id, const std::vector<std::uint8_t>& report)> on_write;
  int fail_write_at = -1;  // the report with this index in all_writes is not written
  int watches() const { return static_cast<int>(watches_.size()); }

  // Operations ("list", "open", "write", "watch") that fail with this code and
  // text, as the system would report them.
  std::map<std::string, std::pair<int, std::string>> failing;

  // Writes are told at once, as by a system that never holds one; while this
  // is set they are held instead (the device received them, but the system
  // has not said so) until release_writes.
  bool holding_writes = false;
  // Tells every held write of a device still open its outcome, or `fate` in
  // its place when given; how many were told.
  int release_writes(const core::Status* fate = nullptr);
  std::size_t held_writes() const { return held_.size(); }

 private:
  friend class FakeHidDevice;
  friend class FakeHidWatch;
  std::optional<core::Error> failure(const std::string& operation, const std::string& name) const;

  struct HeldWrite {
    std::weak_ptr<int> device;
    std::function<void(const core::Status* fate)> tell;
  };

  core::ManualLoop& loop_;
  std::vector<HeldWrite> held_;
  std::map<std::string, Device> devices_;
  std::vector<std::string> order_;  // ids in the order plugged in
  std::vector<FakeHidDevice*> handles_;
  std::vector<FakeHidWatch*> watches_;
};
