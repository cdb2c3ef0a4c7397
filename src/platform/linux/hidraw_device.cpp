#include <unistd.h>

#include <cerrno>

#include "platform/common/hid_output_report.h"
#include "platform/linux/internal.h"

namespace platform::linux_os {

HidrawDevice::HidrawDevice(core::EventLoop& loop, UniqueFd fd, HidDeviceInfo info)
    : loop_(loop), fd_(std::move(fd)), info_(std::move(info)) {}

HidrawDevice::~HidrawDevice() {
  // Both threads use the descriptor: they go before it is closed.
  writer_.reset();
  reader_.reset();
}

void HidrawDevice::write_report(std::span<const std::uint8_t> report, HidWriteDone done) {
  // The kernel takes any length and any ID and passes them on as they are.
  auto bytes = PaddedOutputReport(report, info_.lengths.output, info_.numbered_reports, info_.path);
  if (!bytes) return done(bytes.error());
  if (!writer_) {
    auto writer = HidrawWriter::Start(loop_, fd_.get(), info_.path);
    if (!writer) return done(writer.error());
    writer_ = std::move(*writer);
  }
  writer_->write(std::move(*bytes), std::move(done));
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
