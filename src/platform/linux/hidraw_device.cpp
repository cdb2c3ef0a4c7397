#include <unistd.h>

#include <cerrno>

#include "platform/common/hid_output_report.h"
#include "platform/linux/internal.h"

namespace platform::linux_os {

HidrawDevice::HidrawDevice(core::EventLoop& loop, UniqueFd fd, HidDeviceInfo info)
    : loop_(loop), fd_(std::move(fd)), info_(std::move(info)) {}

HidrawDevice::~HidrawDevice() {
  // The reader polls the descriptor: it goes before the descriptor is closed.
  reader_.reset();
}

core::Status HidrawDevice::write_report(std::span<const std::uint8_t> report) {
  // The kernel takes any length and any ID and passes them on as they are.
  auto bytes = PaddedOutputReport(report, info_.lengths.output, info_.numbered_reports, info_.path);
  if (!bytes) return bytes.error();
  for (;;) {
    const ssize_t n = ::write(fd_.get(), bytes->data(), bytes->size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return core::error_from_errno("write report", info_.path);
    if (static_cast<std::size_t>(n) != bytes->size()) {
      return core::Error{
          "write report", info_.path, EIO,
          "wrote " + std::to_string(n) + " of " + std::to_string(bytes->size()) + " bytes"};
    }
    return core::Ok{};
  }
}

core::Status HidrawDevice::start_reading(HidReportHandler on_report, HidReadErrorHandler on_error) {
  reader_.reset();
  auto reader = HidrawReader::Start(
      loop_, {fd_.get(), info_.path, info_.numbered_reports, info_.lengths.input},
      std::move(on_report), std::move(on_error));
  if (!reader) return reader.error();
  reader_ = std::move(*reader);
  return core::Ok{};
}

void HidrawDevice::stop_reading() {
  reader_.reset();
}

bool HidrawDevice::reading() const {
  return reader_ && reader_->running();
}

}  // namespace platform::linux_os
