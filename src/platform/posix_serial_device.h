#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace platform::posix {

// An open, configured terminal descriptor. Owns the descriptor: discards both
// queues and gives up exclusive use before closing it.
class PosixSerialDevice : public SerialDevice {
 public:
  PosixSerialDevice(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  ~PosixSerialDevice() override;
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  core::Status set_baud(int baud) override;
  core::Status write_all(std::span<const std::uint8_t> bytes, int timeout_ms) override;
  core::Result<std::size_t> bytes_waiting() override;
  core::Result<std::size_t> read(std::span<std::uint8_t> into) override;
  core::Status discard() override;
  int readable_fd() const override { return fd_; }

 private:
  core::Result<std::size_t> queued_in_driver();
  core::Status check_hang_up();
  core::Status wait_writable(int timeout_ms, std::size_t written, std::size_t total);
  core::Error gone_error(const std::string& operation) const;

  int fd_ = -1;
  std::string name_;
  // A byte taken from the driver to tell data from end-of-file; handed out
  // first by the next read.
  std::vector<std::uint8_t> held_;
};

}  // namespace platform::posix
