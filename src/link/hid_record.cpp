#include "link/hid_record.h"

namespace links {

core::Status HidRecord::set_data_handler(HidDataHandler handler) {
  on_data_ = std::move(handler);
  return update_reader();
}

void HidRecord::write_report(std::span<const std::uint8_t> report, platform::HidWriteDone done) {
  if (!plugged_in_) {
    return done(
        kept(core::Error{"write report", info_.path, 0, "the device is no longer plugged in"}));
  }
  if (auto opened = open_if_closed(); !opened) return done(opened);
  // The device tells its outcomes in order; the record outlives it (it stays
  // listed once checked out) and tells those the device took with it.
  writing_.push_back(std::move(done));
  device_->write_report(report, [this](const core::Status& written) {
    if (writing_.empty()) return;
    const platform::HidWriteDone done = std::move(writing_.front());
    writing_.pop_front();
    done(kept(written));
  });
}

void HidRecord::check_out() {
  checked_out_ = true;
  // What cannot start now stays as it is; the program asks again when it
  // attaches its handler.
  static_cast<void>(update_reader());
}

void HidRecord::unplug() {
  plugged_in_ = false;
  device_.reset();
  auto dropped = std::move(writing_);
  writing_.clear();
  for (const auto& done : dropped) {
    done(kept(core::Error{"write report", info_.path, 0, "the device is no longer plugged in"}));
  }
}

core::Status HidRecord::open_if_closed() {
  if (device_) return core::Ok{};
  auto opened = system_.open(info_);
  if (!opened) return kept(opened.error());
  device_ = std::move(*opened);
  return core::Ok{};
}

core::Status HidRecord::update_reader() {
  const bool wanted = plugged_in_ && checked_out_ && read_write_access() && on_data_;
  if (!wanted) {
    if (device_) device_->stop_reading();
    return core::Ok{};
  }
  if (reading()) return core::Ok{};
  if (auto opened = open_if_closed(); !opened) return opened;
  // After a read error the reader ends only if the device has gone; a device
  // that stays is read again, so that its replies are not lost until a replug.
  return kept(device_->start_reading(
      [this](std::span<const std::uint8_t> report) {
        if (report.empty() || !on_data_) return;
        const auto handler = on_data_;  // the handler may replace itself
        handler(report[0], report.subspan(1));
      },
      [this](const core::Error& error) {
        last_error_ = error;
        if (on_data_error_) on_data_error_(*this, error);
      }));
}

core::Status HidRecord::kept(core::Status status) {
  if (!status) last_error_ = status.error();
  return status;
}

}  // namespace links
