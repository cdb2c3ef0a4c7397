#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/result.h"
#include "platform/common/report_handover.h"

namespace platform {

// One read of a system's HID reader: a report, the stop asked for, or a failure.
struct HidRead {
  enum class Kind { report, stopped, failed };
  Kind kind = Kind::stopped;
  std::vector<std::uint8_t> report;  // [report ID][data], for a report
  std::optional<core::Error> error;  // for a failure
};

// What a system's reader does; each runs on the reader's thread.
struct HidReadHooks {
  // One read: waits until a report comes, the read fails or the stop is asked for.
  std::function<HidRead()> read;
  // After a failed read: whether the device has gone.
  std::function<bool()> gone;
  // Waits before a failed read is tried again; false when the stop came meanwhile.
  std::function<bool()> pause;
};

// The reader's thread, shared by every system: hands each report over, and
// ends with the failure once the device has gone. A read that fails while the
// device stays (a resume from sleep, a USB reset that keeps the interface) is
// handed over too and tried again after the pause, so that the device is not
// lost until a replug; the same failure again is handed over only after a
// read has succeeded in between, so that one that lasts is told once.
void RunHidReadLoop(ReportHandOver& handover, const HidReadHooks& hooks);

}  // namespace platform
