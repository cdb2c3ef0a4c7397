#include "bridge_session.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace vm_platform {

BridgeSession::BridgeSession(platform::PollLoop& loop, std::unique_ptr<platform::HidDevice> device)
    : loop_(loop), device_(std::move(device)) {
  const auto loop_thread = std::this_thread::get_id();
  const auto started = device_->start_reading(
      [this, loop_thread](std::span<const std::uint8_t> report) {
        on_loop_thread_ &= std::this_thread::get_id() == loop_thread;
        if (report.size() < 2) return;
        const std::size_t n = std::min<std::size_t>(report[1], report.size() - 2);
        received_.insert(received_.end(), report.begin() + 2, report.begin() + 2 + n);
      },
      [this, loop_thread](const core::Error& error) {
        on_loop_thread_ &= std::this_thread::get_id() == loop_thread;
        errors_.push_back(error);
      });
  if (!started) errors_.push_back(started.error());
}

BridgeSession::~BridgeSession() = default;

core::Status BridgeSession::send(const Bytes& request) {
  received_.clear();
  Bytes report{2, static_cast<std::uint8_t>(request.size())};
  report.insert(report.end(), request.begin(), request.end());
  // The layer pads it to 65 bytes; a hidraw write ends at once on uhid.
  std::optional<core::Status> written;
  device_->write_report(report, [&](const core::Status& s) { written = s; });
  RunUntil(
      loop_, [&] { return written.has_value(); }, 2000);
  if (!written) return core::Error{"write report", "bridge", 0, "no outcome within 2 s"};
  return *written;
}

Bytes BridgeSession::receive(std::size_t count, int timeout_ms) {
  RunUntil(
      loop_, [&] { return received_.size() >= count || !errors_.empty(); }, timeout_ms);
  return received_;
}

bool BridgeSession::wait_read_error(int timeout_ms) {
  return RunUntil(
      loop_, [&] { return !errors_.empty(); }, timeout_ms);
}

// Enough for the checks' messages: ASCII as it is, anything else as '?'.
std::string Utf8(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace vm_platform
