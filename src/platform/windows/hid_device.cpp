#include "platform/common/hid_output_report.h"
#include "platform/windows/hid_api.h"
#include "platform/windows/internal.h"

namespace platform::windows_os {

namespace {

// Replies must not be lost while the loop's thread is busy. Windows takes at
// most 512; the larger count is tried first for systems that take more.
void KeepManyInputReports(HANDLE device) {
  if (!::HidD_SetNumInputBuffers(device, 1024)) ::HidD_SetNumInputBuffers(device, 512);
}

}  // namespace

WinHidDevice::WinHidDevice(core::EventLoop& loop, UniqueHandle handle, HidDeviceInfo info)
    : loop_(loop), handle_(std::move(handle)), info_(std::move(info)) {
  KeepManyInputReports(handle_.get());
}

WinHidDevice::~WinHidDevice() {
  cancel_write();
  stop_reading();
}

void WinHidDevice::write_report(std::span<const std::uint8_t> report, HidWriteDone done) {
  core::Result<std::vector<std::uint8_t>> bytes =
      PaddedOutputReport(report, info_.lengths.output, info_.numbered_reports, info_.path);
  if (!bytes) return done(bytes.error());
  auto write = std::make_unique<Write>();
  write->bytes = std::move(*bytes);
  write->done = std::move(done);
  writes_.push_back(std::move(write));
  if (writes_.size() == 1) start_write();
}

void WinHidDevice::start_write() {
  while (!writes_.empty()) {
    Write& write = *writes_.front();
    write.op = OVERLAPPED{};
    write.op.hEvent = write_event_.get();
    if (::WriteFile(handle_.get(), write.bytes.data(), static_cast<DWORD>(write.bytes.size()),
                    nullptr, &write.op) ||
        ::GetLastError() == ERROR_IO_PENDING) {
      write_watch_ =
          loop_.watch_readable(ToWaitable(write_event_.get()), [this] { write_ended(); });
      write_timer_ = loop_.schedule(write_timeout_ms, [this] {
        write_timer_ = 0;
        writes_.front()->timed_out = true;
        ::CancelIoEx(handle_.get(), &writes_.front()->op);
      });
      return;
    }
    // Refused at once: told, and the next one tried. Its handler may end this device.
    const HidWriteDone done = std::move(write.done);
    writes_.pop_front();
    const std::weak_ptr<int> alive = life_;
    done(WinError("write report", info_.path));
    if (alive.expired()) return;
  }
}

// A report goes whole or not at all, so the count says nothing the result
// does not; Wine counts one byte less than Windows (not the report ID).
void WinHidDevice::write_ended() {
  loop_.unwatch(write_watch_);
  loop_.cancel(write_timer_);
  write_watch_ = write_timer_ = 0;
  std::unique_ptr<Write> write = std::move(writes_.front());
  writes_.pop_front();
  DWORD written = 0;
  core::Status status = core::Ok{};
  if (!::GetOverlappedResult(handle_.get(), &write->op, &written, FALSE)) {
    status = write->timed_out ? core::Error{"write report", info_.path, ERROR_TIMEOUT,
                                            "the device did not take the report within " +
                                                std::to_string(write_timeout_ms) + " ms"}
                              : WinError("write report", info_.path);
  }
  const std::weak_ptr<int> alive = life_;
  write->done(status);
  if (!alive.expired()) start_write();
}

// The write on its way writes from its buffer: it must be over before the buffer goes.
void WinHidDevice::cancel_write() {
  if (write_watch_ == 0) return;
  loop_.unwatch(write_watch_);
  loop_.cancel(write_timer_);
  write_watch_ = write_timer_ = 0;
  ::CancelIoEx(handle_.get(), &writes_.front()->op);
  DWORD written = 0;
  ::GetOverlappedResult(handle_.get(), &writes_.front()->op, &written, TRUE);
  writes_.clear();
}

core::Status WinHidDevice::start_reading(HidReportHandler on_report, HidReadErrorHandler on_error) {
  stop_reading();
  WinHidReaderSetup setup{handle_.get(), info_.path, info_.lengths.input};
  auto reader =
      WinHidReader::Start(loop_, std::move(setup), std::move(on_report), std::move(on_error));
  if (!reader) return reader.error();
  reader_ = std::move(*reader);
  return core::Ok{};
}

void WinHidDevice::stop_reading() {
  reader_.reset();
}

bool WinHidDevice::reading() const {
  return reader_ && reader_->running();
}

}  // namespace platform::windows_os
