#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "config/port_record.h"
#include "core/event_loop.h"
#include "core/trace.h"
#include "platform/serial_port.h"

namespace links {

// The window's serial port component (`ComPort1`): a port name and rate, opened
// on demand. Received bytes raise `on_rx_char` on the loop's thread with the
// number queued; a device that goes away raises `on_gone` once and is closed.
// The reason of the latest failure stays in `last_error()`, for whoever reports
// the failure later than the call that met it.
class ComPort {
 public:
  static constexpr int write_timeout_base_ms = 1000;
  static constexpr int write_timeout_per_byte_ms = 100;

  ComPort(core::EventLoop& loop, platform::SerialSystem& system) : loop_(loop), system_(system) {}
  ~ComPort() { close(); }
  ComPort(const ComPort&) = delete;
  ComPort& operator=(const ComPort&) = delete;

  const std::string& port() const { return port_; }
  // On an open port: closes it and opens it again under the new name.
  core::Status set_port(const std::string& name);
  int baud_rate() const { return baud_; }
  // Rates are applied to an open port at once, or at the end of an update group.
  // A port that does not take its rate is closed: it would talk at another.
  core::Status set_baud_rate(int baud);
  void begin_update() { ++updating_; }
  core::Status end_update();

  core::Status open();
  void close();
  bool connected() const { return device_ != nullptr; }

  core::Status write(std::span<const std::uint8_t> bytes);
  core::Result<std::size_t> input_count();
  core::Result<std::size_t> read(std::span<std::uint8_t> into);
  void clear_buffers();

  // The latest failed open, set-up, write or read, until an open succeeds: the
  // failure that keeps the port closed, or the one met since it was opened.
  const std::optional<core::Error>& last_error() const { return last_error_; }
  // The rate the port could not be set to, when that is what last_error() tells.
  std::optional<int> refused_rate() const { return refused_rate_; }

  // Tells `trace` (when given) of every byte written and read, with the port's name.
  void trace_to(core::Trace* trace) { trace_ = trace; }

  std::function<void(int count)> on_rx_char;
  std::function<void(const core::Error&)> on_gone;

 private:
  void readable();
  core::Status apply_rate();
  core::Status refused(core::Status rate);
  core::Error not_open(const std::string& operation) const;
  template <class T>
  core::Result<T> kept(core::Result<T> result);

  core::EventLoop& loop_;
  platform::SerialSystem& system_;
  std::unique_ptr<platform::SerialDevice> device_;
  core::EventLoop::Id watch_ = 0;
  std::string port_{config::default_port_name};
  int baud_ = 115200;
  int updating_ = 0;
  bool rate_pending_ = false;
  std::optional<core::Error> last_error_;
  core::Trace* trace_ = nullptr;
  std::optional<int> refused_rate_;
};

}  // namespace links
