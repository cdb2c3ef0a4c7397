#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "config/port_record.h"
#include "platform/serial_port.h"
#include "ui/event_loop.h"

// The window's serial port component (`ComPort1`): a port name and rate, opened
// on demand. Received bytes raise `on_rx_char` on the loop's thread with the
// number queued; a device that goes away raises `on_gone` once and is closed.
class ComPort {
 public:
  static constexpr int write_timeout_base_ms = 1000;
  static constexpr int write_timeout_per_byte_ms = 100;

  ComPort(ui::EventLoop& loop, platform::SerialSystem& system) : loop_(loop), system_(system) {}
  ~ComPort() { close(); }
  ComPort(const ComPort&) = delete;
  ComPort& operator=(const ComPort&) = delete;

  const std::string& port() const { return port_; }
  // On an open port: closes it and opens it again under the new name.
  platform::Status set_port(const std::string& name);
  int baud_rate() const { return baud_; }
  // Rates are applied to an open port at once, or at the end of an update group.
  platform::Status set_baud_rate(int baud);
  void begin_update() { ++updating_; }
  platform::Status end_update();

  platform::Status open();
  void close();
  bool connected() const { return device_ != nullptr; }

  platform::Status write(std::span<const std::uint8_t> bytes);
  platform::Result<std::size_t> input_count();
  platform::Result<std::size_t> read(std::span<std::uint8_t> into);
  void clear_buffers();

  std::function<void(int count)> on_rx_char;
  std::function<void(const platform::Error&)> on_gone;

 private:
  void readable();
  platform::Status apply_rate();
  platform::Error not_open(const std::string& operation) const;

  ui::EventLoop& loop_;
  platform::SerialSystem& system_;
  std::unique_ptr<platform::SerialDevice> device_;
  ui::EventLoop::Id watch_ = 0;
  std::string port_{config::default_port_name};
  int baud_ = 115200;
  int updating_ = 0;
  bool rate_pending_ = false;
};
