#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <variant>
#include <vector>

#include "core/result.h"
#include "platform/hid_device.h"

namespace platform {

// Input reports on their way from a system's reader thread to the loop's
// thread, shared by every system's HID reader. The reader hands one over and
// waits until its handler has returned; the loop's thread takes it when the
// system's signal (an eventfd, an event) wakes it. The signal goes through
// the loop, not invoke_and_wait, so that stopping never waits on the loop: a
// handler may stop its own reader, and a reader stopped while a report is on
// its way ends without it. The loop's watch holds this too, so a handler that
// destroys the reader leaves it alive until the handler returns.
class ReportHandOver {
 public:
  using Item = std::variant<std::vector<std::uint8_t>, core::Error>;

  ReportHandOver(HidReportHandler on_report, HidReadErrorHandler on_error)
      : on_report_(std::move(on_report)), on_error_(std::move(on_error)) {}

  // Set once by the system before the reader starts: `signal` wakes the loop's
  // watch, `clear` (called under the lock as the loop takes) quiets it.
  void set_signal(std::function<void()> signal, std::function<void()> clear) {
    signal_ = std::move(signal);
    clear_ = std::move(clear);
  }

  // Reader's thread: false when the reader is being stopped.
  bool hand_over(Item item);
  // Reader's thread: the read error that ends the reader.
  void hand_over_end(core::Error error);
  // Loop's thread, when signalled.
  void take();
  // Owner's thread: no handler runs for what is handed over from now on.
  void stop();
  // Owner's thread, once the reader thread has ended.
  void ended() { running_ = false; }

  // False once the read error has been handed over or the reader stopped.
  bool running() const { return running_; }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  bool handled_ = true;
  std::optional<Item> pending_;
  std::atomic<bool> running_ = true;
  HidReportHandler on_report_;
  HidReadErrorHandler on_error_;
  std::function<void()> signal_;
  std::function<void()> clear_;
};

}  // namespace platform
