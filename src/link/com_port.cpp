#include "link/com_port.h"

#include <climits>

namespace links {

template <class T>
core::Result<T> ComPort::kept(core::Result<T> result) {
  if (!result) {
    last_error_ = result.error();
    refused_rate_.reset();
  }
  return result;
}

// Keeps a failed rate as the reason the port is closed.
core::Status ComPort::refused(core::Status rate) {
  if (!kept(rate)) refused_rate_ = baud_;
  return rate;
}

core::Status ComPort::set_port(const std::string& name) {
  if (name == port_) return core::Ok{};
  port_ = name;
  if (!connected()) return core::Ok{};
  close();
  return open();
}

core::Status ComPort::set_baud_rate(int baud) {
  baud_ = baud;
  if (!connected()) return core::Ok{};
  if (updating_ > 0) {
    rate_pending_ = true;
    return core::Ok{};
  }
  return apply_rate();
}

core::Status ComPort::end_update() {
  if (updating_ > 0) --updating_;
  if (updating_ > 0 || !rate_pending_) return core::Ok{};
  rate_pending_ = false;
  if (!connected()) return core::Ok{};
  return apply_rate();
}

core::Status ComPort::apply_rate() {
  core::Status rate = refused(device_->set_baud(baud_));
  if (!rate) close();
  return rate;
}

core::Status ComPort::open() {
  if (connected()) return core::Ok{};
  auto device = kept(system_.open(port_));
  if (!device) return device.error();
  core::Status rate = refused((*device)->set_baud(baud_));
  if (!rate) return rate;
  device_ = std::move(*device);
  last_error_.reset();
  refused_rate_.reset();
  rate_pending_ = false;
  watch_ = loop_.watch_readable(device_->readable_handle(), [this] { readable(); });
  return core::Ok{};
}

void ComPort::close() {
  if (!connected()) return;
  loop_.unwatch(watch_);
  watch_ = 0;
  device_.reset();
}

void ComPort::readable() {
  if (!connected()) return;
  core::Result<std::size_t> count = device_->bytes_waiting();
  if (!count) {
    // Copied first: closing destroys the device the error came from.
    const core::Error error = count.error();
    last_error_ = error;
    close();
    if (on_gone) on_gone(error);
    return;
  }
  if (*count == 0 || !on_rx_char) return;
  on_rx_char(*count > INT_MAX ? INT_MAX : static_cast<int>(*count));
}

core::Status ComPort::write(std::span<const std::uint8_t> bytes) {
  if (!connected()) return not_open("write");
  if (trace_ != nullptr) trace_->bytes(core::Direction::sent, port_, bytes);
  const std::size_t per_byte = static_cast<std::size_t>(write_timeout_per_byte_ms) * bytes.size();
  const std::size_t limit = static_cast<std::size_t>(write_timeout_base_ms) + per_byte;
  return kept(device_->write_all(bytes, limit > INT_MAX ? INT_MAX : static_cast<int>(limit)));
}

core::Result<std::size_t> ComPort::input_count() {
  if (!connected()) return not_open("read");
  return kept(device_->bytes_waiting());
}

core::Result<std::size_t> ComPort::read(std::span<std::uint8_t> into) {
  if (!connected()) return not_open("read");
  auto got = kept(device_->read(into));
  if (got && trace_ != nullptr) trace_->bytes(core::Direction::received, port_, into.first(*got));
  return got;
}

void ComPort::clear_buffers() {
  // A failed discard leaves nothing to undo; a gone device shows itself on the
  // next event.
  if (connected()) static_cast<void>(device_->discard());
}

// Not kept in `last_error_`: it would hide the failure that left the port closed.
core::Error ComPort::not_open(const std::string& operation) const {
  return core::Error{operation, port_, 0, "the port is not open"};
}

}  // namespace links
