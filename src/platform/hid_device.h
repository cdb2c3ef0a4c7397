#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/event_loop.h"
#include "core/result.h"

// HID interfaces of the system: the list of those present with what identifies
// them, opening one, output reports, a reader per open device that hands input
// reports to the loop's thread, and notices when interfaces come and go.
//
// Reports travel in one shape whatever the device does: byte 0 is the report
// ID (0 on a device that numbers none of its reports), the data follows.
namespace platform {

// Bytes of the longest report of each kind in that shape, the report ID byte
// included; 0 when the device has no report of that kind.
struct HidReportLengths {
  std::size_t input = 0;
  std::size_t output = 0;
  std::size_t feature = 0;

  bool operator==(const HidReportLengths&) const = default;
};

enum class HidAccess {
  read_write,  // open() will succeed unless the device goes away first
  // Listed for identification only; open() is refused. Either this user may
  // not open it (none), or another program holds it for itself (in_use).
  none,
  in_use,
};

inline constexpr std::size_t max_hid_product_length = 254;  // UTF-16 code units

struct HidDeviceInfo {
  // Names this interface while it stays plugged in; plugged in again it has a
  // new one. On Linux the HID device's sysfs folder, on Windows its path and
  // how often that path has arrived.
  std::string id;
  // What open() opens (/dev/hidraw3).
  std::string path;
  // The USB device's product string, or the device's own name without a USB
  // parent; empty when the device cannot say. At most max_hid_product_length.
  std::u16string product;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  HidReportLengths lengths;
  // The output reports the device declares: the length of each (in the shape
  // above, ID byte included) by report ID, 0 on a device without IDs. Windows
  // tells only the longest, which then stands for each. Nothing when the
  // device's capabilities could not be read.
  std::optional<std::map<std::uint8_t, std::size_t>> output_reports;
  // Whether the reports carry an ID byte on the wire; the shape above hides it.
  bool numbered_reports = false;
  HidAccess access = HidAccess::none;
};

// One input report: [report ID][data], as many bytes as the device sent.
using HidReportHandler = std::function<void(std::span<const std::uint8_t> report)>;
// The outcome of one write of an output report.
using HidWriteDone = std::function<void(const core::Status& written)>;
// A read failed. When the device has gone the reader has ended (reading() is
// false); otherwise it reads again.
using HidReadErrorHandler = std::function<void(const core::Error& error)>;

// One open HID interface. Destroying it stops its reader and closes it.
class HidDevice {
 public:
  virtual ~HidDevice() = default;

  virtual const HidDeviceInfo& info() const = 0;

  // Writes one output report, `report` being [report ID][data], without
  // holding the loop's thread while the system holds the write (a device that
  // does not take it): `done` runs on the loop's thread once the system has
  // taken the report or refused it, possibly before this call returns, and
  // not once the device has been destroyed. Writes go out one at a time, in
  // the order given. A shorter report is padded with zeros to the output
  // length; a longer one is refused, as is a report ID the device cannot take
  // (non-zero on a device without IDs, 0 on one with them). An unplugged
  // device refuses with ENODEV. What bounds a held write: on Linux the
  // kernel's USB time-out (5 s); on Windows a time-out of 1 s, after which the
  // write is cancelled.
  virtual void write_report(std::span<const std::uint8_t> report, HidWriteDone done) = 0;

  // Starts the reader, a thread of its own. Each input report and each read
  // error is handed to the loop's thread and the reader waits until the handler
  // has returned, so handlers run one at a time, in order. After a read error
  // the reader ends if the device has gone (unplugged); else it tries again
  // after a pause, and tells the same error again only after a good read. A
  // reader already running is stopped first.
  virtual core::Status start_reading(HidReportHandler on_report, HidReadErrorHandler on_error) = 0;
  // Stops the reader and waits for it; no handler runs afterwards. Handlers
  // may call this (and may destroy the device).
  virtual void stop_reading() = 0;
  // True from start_reading until stop_reading or the read error that ended it.
  virtual bool reading() const = 0;
};

// Ends the notices of watch_changes when destroyed.
class HidChangeWatch {
 public:
  virtual ~HidChangeWatch() = default;
};

// The system's HID interfaces. All calls and callbacks on the loop's thread;
// the system and its devices must go before the loop does.
class HidSystem {
 public:
  virtual ~HidSystem() = default;

  // The interfaces present now. Empty on a system without HID support; an
  // interface whose description cannot be read is left out, and so is one
  // that has just come until its notice (below) is due.
  virtual core::Result<std::vector<HidDeviceInfo>> list() = 0;
  // Opens `device` for reading and writing; refuses a device that has been
  // replaced by another under the same path since it was listed.
  virtual core::Result<std::unique_ptr<HidDevice>> open(const HidDeviceInfo& device) = 0;
  // Calls `on_change` after interfaces were added or removed, or when notices
  // may have been lost: time to call list() again. A new interface is
  // announced once it can be opened, or after about a second when it cannot.
  virtual core::Result<std::unique_ptr<HidChangeWatch>> watch_changes(
      std::function<void()> on_change) = 0;
};

// The operating system's HID interfaces.
std::unique_ptr<HidSystem> MakeSystemHid(core::EventLoop& loop);

}  // namespace platform
