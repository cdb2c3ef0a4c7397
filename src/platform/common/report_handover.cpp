#include "platform/common/report_handover.h"

namespace platform {

bool ReportHandOver::hand_over(Item item) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    pending_ = std::move(item);
    handled_ = false;
    signal_();
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return handled_ || stopping_; });
  return !stopping_;
}

void ReportHandOver::hand_over_end(core::Error error) {
  running_ = false;
  hand_over(std::move(error));
}

void ReportHandOver::take() {
  std::optional<Item> item;
  {
    std::lock_guard lock(mutex_);
    clear_();
    if (!stopping_) item = std::move(pending_);
    pending_.reset();
  }
  if (!item) return;
  if (const auto* report = std::get_if<std::vector<std::uint8_t>>(&*item)) {
    on_report_(*report);
  } else {
    on_error_(std::get<core::Error>(*item));
  }
  {
    std::lock_guard lock(mutex_);
    handled_ = true;
  }
  changed_.notify_all();
}

void ReportHandOver::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
}

}  // namespace platform
