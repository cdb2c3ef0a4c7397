#include "link/com_port.h"

#include <climits>

platform::Status ComPort::set_port(const std::string& name) {
  if (name == port_) return platform::Ok{};
  port_ = name;
  if (!connected()) return platform::Ok{};
  close();
  return open();
}

platform::Status ComPort::set_baud_rate(int baud) {
  baud_ = baud;
  if (!connected()) return platform::Ok{};
  if (updating_ > 0) {
    rate_pending_ = true;
    return platform::Ok{};
  }
  return apply_rate();
}

platform::Status ComPort::end_update() {
  if (updating_ > 0) --updating_;
  if (updating_ > 0 || !rate_pending_) return platform::Ok{};
  rate_pending_ = false;
  if (!connected()) return platform::Ok{};
  return apply_rate();
}

platform::Status ComPort::apply_rate() {
  return device_->set_baud(baud_);
}

platform::Status ComPort::open() {
  if (connected()) return platform::Ok{};
  auto device = system_.open(port_);
  if (!device) return device.error();
  platform::Status rate = (*device)->set_baud(baud_);
  if (!rate) return rate;
  device_ = std::move(*device);
  rate_pending_ = false;
  watch_ = loop_.watch_readable(device_->readable_fd(), [this] { readable(); });
  return platform::Ok{};
}

void ComPort::close() {
  if (!connected()) return;
  loop_.unwatch(watch_);
  watch_ = 0;
  device_.reset();
}

void ComPort::readable() {
  if (!connected()) return;
  platform::Result<std::size_t> count = device_->bytes_waiting();
  if (!count) {
    // Copied first: closing destroys the device the error came from.
    const platform::Error error = count.error();
    close();
    if (on_gone) on_gone(error);
    return;
  }
  if (*count == 0 || !on_rx_char) return;
  on_rx_char(*count > INT_MAX ? INT_MAX : static_cast<int>(*count));
}

platform::Status ComPort::write(std::span<const std::uint8_t> bytes) {
  if (!connected()) return not_open("write");
  const std::size_t per_byte = static_cast<std::size_t>(write_timeout_per_byte_ms) * bytes.size();
  const std::size_t limit = static_cast<std::size_t>(write_timeout_base_ms) + per_byte;
  return device_->write_all(bytes, limit > INT_MAX ? INT_MAX : static_cast<int>(limit));
}

platform::Result<std::size_t> ComPort::input_count() {
  if (!connected()) return not_open("read");
  return device_->bytes_waiting();
}

platform::Result<std::size_t> ComPort::read(std::span<std::uint8_t> into) {
  if (!connected()) return not_open("read");
  return device_->read(into);
}

void ComPort::clear_buffers() {
  // A failed discard leaves nothing to undo; a gone device shows itself on the
  // next event.
  if (connected()) static_cast<void>(device_->discard());
}

platform::Error ComPort::not_open(const std::string& operation) const {
  return platform::Error{operation, port_, 0, "the port is not open"};
}
