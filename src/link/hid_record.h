#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/result.h"
#include "platform/hid_device.h"

namespace links {

class HidRecord;

// One input report: its ID and the data after it.
using HidDataHandler =
    std::function<void(std::uint8_t report_id, std::span<const std::uint8_t> data)>;
// A read failed; the reader has ended if the device has gone, else it reads on.
using HidDataErrorHandler = std::function<void(HidRecord& device, const core::Error& error)>;

// One HID interface on the device controller's list: what identifies it, and
// the device itself, opened the first time it is needed. Its reader runs while
// it is plugged in, checked out, can be read and written, and has a data
// handler.
class HidRecord {
 public:
  HidRecord(platform::HidSystem& system, platform::HidDeviceInfo info,
            HidDataErrorHandler on_data_error)
      : system_(system), info_(std::move(info)), on_data_error_(std::move(on_data_error)) {}
  HidRecord(const HidRecord&) = delete;
  HidRecord& operator=(const HidRecord&) = delete;

  const platform::HidDeviceInfo& info() const { return info_; }
  // The product string; empty when the device cannot say.
  const std::u16string& product() const { return info_.product; }
  // The report lengths, report ID byte included.
  const platform::HidReportLengths& capabilities() const { return info_.lengths; }
  bool plugged_in() const { return plugged_in_; }
  bool checked_out() const { return checked_out_; }
  // False for a device listed for identification only.
  bool read_write_access() const { return info_.access == platform::HidAccess::read_write; }
  bool reading() const { return device_ && device_->reading(); }

  // Replaces the handler; without one the reader stops, with one it starts
  // when the conditions above hold. Fails when the device cannot be opened or
  // its reader cannot start.
  core::Status set_data_handler(HidDataHandler handler);
  // Writes `report` ([report ID][data]), padded to the output report length,
  // opening the device first when it is closed; `done` gets the outcome on the
  // loop's thread, possibly before this returns (platform::HidDevice). Fails
  // without writing once the device is no longer plugged in.
  void write_report(std::span<const std::uint8_t> report, platform::HidWriteDone done);

  // The latest failed open, write or read, for whoever reports it later.
  const std::optional<core::Error>& last_error() const { return last_error_; }

 private:
  friend class HidController;
  void check_out();
  // The device has gone: closes it, which stops its reader, for good.
  void unplug();

  core::Status open_if_closed();
  core::Status update_reader();
  core::Status kept(core::Status status);

  platform::HidSystem& system_;
  platform::HidDeviceInfo info_;
  HidDataErrorHandler on_data_error_;
  HidDataHandler on_data_;
  std::unique_ptr<platform::HidDevice> device_;
  // The outcomes of the writes on their way, oldest first.
  std::deque<platform::HidWriteDone> writing_;
  bool plugged_in_ = true;
  bool checked_out_ = false;
  std::optional<core::Error> last_error_;
};

}  // namespace links
