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

constexpr DWORD write_timeout_ms = 1000;

}  // namespace

WinHidDevice::WinHidDevice(core::EventLoop& loop, UniqueHandle handle, HidDeviceInfo info)
    : loop_(loop), handle_(std::move(handle)), info_(std::move(info)) {
  KeepManyInputReports(handle_.get());
}

WinHidDevice::~WinHidDevice() {
  stop_reading();
}

core::Status WinHidDevice::write_report(std::span<const std::uint8_t> report) {
  core::Result<std::vector<std::uint8_t>> bytes =
      PaddedOutputReport(report, info_.lengths.output, info_.numbered_reports, info_.path);
  if (!bytes) return bytes.error();
  OVERLAPPED op{};
  op.hEvent = write_event_.get();
  const DWORD size = static_cast<DWORD>(bytes->size());
  if (!::WriteFile(handle_.get(), bytes->data(), size, nullptr, &op) &&
      ::GetLastError() != ERROR_IO_PENDING) {
    return WinError("write report", info_.path);
  }
  if (::WaitForSingleObject(op.hEvent, write_timeout_ms) != WAIT_OBJECT_0) {
    ::CancelIoEx(handle_.get(), &op);
  }
  DWORD written = 0;
  if (!::GetOverlappedResult(handle_.get(), &op, &written, TRUE)) {
    return WinError("write report", info_.path);
  }
  if (written != size) {
    return core::Error{
        "write report", info_.path, ERROR_WRITE_FAULT,
        "wrote " + std::to_string(written) + " of " + std::to_string(size) + " bytes"};
  }
  return core::Ok{};
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
