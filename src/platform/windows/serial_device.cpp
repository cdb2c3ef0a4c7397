#include <algorithm>

#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

core::Error GoneError(const std::string& operation, const std::string& name, DWORD code) {
  core::Error e = WinError(operation, name, code);
  e.text = "the device went away (" + e.text + ")";
  return e;
}

}  // namespace

bool EndedEmptyEarly(DWORD got, std::chrono::milliseconds waited) {
  return got == 0 && waited.count() < static_cast<long long>(read_wait_ms) / 2;
}

ComDevice::ComDevice(UniqueHandle port, std::string name)
    : port_(std::move(port)), name_(std::move(name)) {
  start_read();
}

ComDevice::~ComDevice() {
  // The read in flight writes into this object: it must be over before we go.
  cancel_read();
  ::PurgeComm(port_.get(), PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_TXABORT);
}

void ComDevice::start_read() {
  if (read_pending_ || gone_) return;
  read_op_ = OVERLAPPED{};
  read_op_.hEvent = read_event_.get();
  read_started_ = Clock::now();
  // Resets the event; it is set again when the read ends, at once or later.
  if (::ReadFile(port_.get(), &read_byte_, 1, nullptr, &read_op_)) {
    read_pending_ = true;
    return;
  }
  const DWORD code = ::GetLastError();
  if (code == ERROR_IO_PENDING) {
    read_pending_ = true;
    return;
  }
  gone_ = GoneError("read", name_, code);
  ::SetEvent(read_event_.get());
}

void ComDevice::take_completed(DWORD got) {
  read_pending_ = false;
  if (got > 0) {
    held_.push_back(read_byte_);
    return;
  }
  const auto waited =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - read_started_);
  if (EndedEmptyEarly(got, waited)) gone_ = GoneError("read", name_, ERROR_HANDLE_EOF);
}

void ComDevice::collect_read() {
  if (!read_pending_) return;
  DWORD got = 0;
  if (::GetOverlappedResult(port_.get(), &read_op_, &got, FALSE)) {
    take_completed(got);
    return;
  }
  const DWORD code = ::GetLastError();
  if (code == ERROR_IO_INCOMPLETE) return;
  if (code == ERROR_TIMEOUT || code == ERROR_OPERATION_ABORTED) {
    take_completed(0);
    return;
  }
  read_pending_ = false;
  gone_ = GoneError("read", name_, code);
}

void ComDevice::cancel_read() {
  if (!read_pending_) return;
  ::CancelIoEx(port_.get(), &read_op_);
  DWORD got = 0;
  ::GetOverlappedResult(port_.get(), &read_op_, &got, TRUE);
  read_pending_ = false;
  // A byte the read took before it was cancelled is still a received byte.
  if (got > 0) held_.push_back(read_byte_);
}

// The driver holds the bytes, so the read ends at once, without the wait for
// silence after them.
bool ComDevice::read_queued(std::size_t count) {
  while (count > 0 && !gone_) {
    OVERLAPPED op{};
    op.hEvent = queued_event_.get();
    const DWORD want = static_cast<DWORD>(std::min(count, read_buffer_.size()));
    if (!::ReadFile(port_.get(), read_buffer_.data(), want, nullptr, &op) &&
        ::GetLastError() != ERROR_IO_PENDING) {
      gone_ = GoneError("read", name_, ::GetLastError());
      return false;
    }
    DWORD got = 0;
    if (!::GetOverlappedResult(port_.get(), &op, &got, TRUE) && ::GetLastError() != ERROR_TIMEOUT) {
      gone_ = GoneError("read", name_, ::GetLastError());
      return false;
    }
    held_.insert(held_.end(), read_buffer_.begin(), read_buffer_.begin() + got);
    if (got == 0) return true;
    count -= got;
  }
  return !gone_;
}

core::Result<std::size_t> ComDevice::queued_in_driver() {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!::ClearCommError(port_.get(), &errors, &stat)) {
    gone_ = GoneError("read", name_, ::GetLastError());
    return *gone_;
  }
  return static_cast<std::size_t>(stat.cbInQue);
}

core::Result<std::size_t> ComDevice::bytes_waiting() {
  collect_read();
  if (held_.empty() && gone_) return *gone_;
  if (held_.empty()) start_read();
  core::Result<std::size_t> queued = queued_in_driver();
  if (!queued) return held_.empty() ? queued : core::Result<std::size_t>(held_.size());
  return held_.size() + *queued;
}

core::Result<std::size_t> ComDevice::read(std::span<std::uint8_t> into) {
  collect_read();
  if (held_.size() < into.size() && !gone_) {
    // The waiting read goes first, so that no byte overtakes the one it may
    // have taken meanwhile.
    cancel_read();
    core::Result<std::size_t> queued = queued_in_driver();
    if (queued && *queued > 0) read_queued(std::min(*queued, into.size() - held_.size()));
  }
  const std::size_t done = std::min(into.size(), held_.size());
  std::copy_n(held_.begin(), done, into.begin());
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(done));
  // What was read before the end is still delivered; the next call reports it.
  if (done == 0 && gone_) return *gone_;
  if (held_.empty()) start_read();
  return done;
}

core::Status ComDevice::discard() {
  cancel_read();
  held_.clear();
  if (!::PurgeComm(port_.get(), PURGE_RXCLEAR | PURGE_TXCLEAR)) {
    return WinError("discard", name_);
  }
  start_read();
  return core::Ok{};
}

core::Status ComDevice::set_baud(int baud) {
  if (baud <= 0)
    return core::Error{"set baud rate", name_, ERROR_INVALID_PARAMETER, "unsupported baud rate"};
  return SetComLine(port_.get(), static_cast<DWORD>(baud), name_);
}

core::Status ComDevice::write_all(std::span<const std::uint8_t> bytes, int timeout_ms) {
  if (bytes.empty()) return core::Ok{};
  OVERLAPPED op{};
  op.hEvent = write_event_.get();
  const DWORD size = static_cast<DWORD>(bytes.size());
  if (!::WriteFile(port_.get(), bytes.data(), size, nullptr, &op)) {
    const DWORD code = ::GetLastError();
    if (code != ERROR_IO_PENDING) return GoneError("write", name_, code);
  }
  const DWORD waited = ::WaitForSingleObject(op.hEvent, timeout_ms < 0 ? 0 : timeout_ms);
  if (waited != WAIT_OBJECT_0) ::CancelIoEx(port_.get(), &op);
  DWORD written = 0;
  const bool ok = ::GetOverlappedResult(port_.get(), &op, &written, TRUE);
  if (written == size) return core::Ok{};
  if (!ok && waited == WAIT_OBJECT_0) return GoneError("write", name_, ::GetLastError());
  return core::Error{
      "write", name_, ERROR_TIMEOUT,
      "timed out after " + std::to_string(written) + " of " + std::to_string(size) + " bytes"};
}

}  // namespace platform::windows_os
