#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/linux/internal.h"

namespace platform::linux_os {

TtyDevice::~TtyDevice() {
  // Without the flush a real UART's close waits for unsent bytes to drain, up
  // to half a minute with the far end silent.
  ::tcflush(fd_.get(), TCIOFLUSH);
  ::ioctl(fd_.get(), TIOCNXCL);
}

core::Status TtyDevice::set_baud(int baud) {
  return SetLineBaud(*calls_, fd_.get(), baud, name_);
}

core::Error TtyDevice::gone_error(const std::string& operation) const {
  return core::Error{operation, name_, EIO, "the device went away (hung up or unplugged)"};
}

core::Status TtyDevice::wait_writable(int timeout_ms, std::size_t written, std::size_t total) {
  pollfd p{fd_.get(), POLLOUT, 0};
  const int n = ::poll(&p, 1, timeout_ms < 0 ? 0 : timeout_ms);
  if (n < 0 && errno != EINTR) return core::error_from_errno("write", name_);
  if (n == 0) {
    return core::Error{"write", name_, ETIMEDOUT,
                       std::string(std::strerror(ETIMEDOUT)) + " after " + std::to_string(written) +
                           " of " + std::to_string(total) + " bytes"};
  }
  if ((p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return gone_error("write");
  return core::Ok{};
}

core::Status TtyDevice::write_all(std::span<const std::uint8_t> bytes, int timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_.get(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
      return core::error_from_errno("write", name_);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    core::Status ready = wait_writable(static_cast<int>(left.count()), done, bytes.size());
    if (!ready) return ready;
  }
  return core::Ok{};
}

core::Result<std::size_t> TtyDevice::queued_in_driver() {
  int count = 0;
  if (::ioctl(fd_.get(), FIONREAD, &count) != 0) return core::error_from_errno("read", name_);
  return static_cast<std::size_t>(count < 0 ? 0 : count);
}

// Nothing queued although the loop woke us: either a hang-up, or an end of
// file the queue count does not show. Left unanswered, either would wake the
// loop again at once, for ever.
core::Status TtyDevice::check_hang_up() {
  pollfd p{fd_.get(), POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return core::Ok{};
  if ((p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return gone_error("read");
  if ((p.revents & POLLIN) == 0) return core::Ok{};
  std::uint8_t byte = 0;
  const ssize_t n = ::read(fd_.get(), &byte, 1);
  if (n == 1) held_.push_back(byte);
  if (n == 0) return gone_error("read");
  if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
    return core::error_from_errno("read", name_);
  }
  return core::Ok{};
}

core::Result<std::size_t> TtyDevice::bytes_waiting() {
  core::Result<std::size_t> queued = queued_in_driver();
  if (!queued) return queued;
  if (*queued == 0 && held_.empty()) {
    core::Status s = check_hang_up();
    if (!s) return s.error();
    if (held_.empty()) return std::size_t{0};
    queued = queued_in_driver();
    if (!queued) return queued;
  }
  return *queued + held_.size();
}

core::Result<std::size_t> TtyDevice::read(std::span<std::uint8_t> into) {
  std::size_t done = std::min(into.size(), held_.size());
  std::copy_n(held_.begin(), done, into.begin());
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(done));
  while (done < into.size()) {
    const ssize_t n = ::read(fd_.get(), into.data() + done, into.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    // What was read before the end is still delivered; the next call reports it.
    if (done > 0) break;
    if (n == 0) return gone_error("read");
    return core::error_from_errno("read", name_);
  }
  return done;
}

core::Status TtyDevice::discard() {
  held_.clear();
  if (::tcflush(fd_.get(), TCIOFLUSH) != 0) return core::error_from_errno("discard", name_);
  return core::Ok{};
}

}  // namespace platform::linux_os
