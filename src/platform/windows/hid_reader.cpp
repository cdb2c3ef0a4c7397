#include <algorithm>
#include <system_error>

#include "platform/common/report_handover.h"
#include "platform/windows/internal.h"

namespace platform::windows_os {

// What the thread and the loop's side share: the hand-over and its event.
struct WinHidReader::Shared {
  Shared(HidReportHandler on_report, HidReadErrorHandler on_error)
      : handover(std::move(on_report), std::move(on_error)) {
    HANDLE event = ready.get();
    handover.set_signal([event] { ::SetEvent(event); }, [event] { ::ResetEvent(event); });
  }
  UniqueHandle ready = MakeEvent();  // manual reset: something is pending
  ReportHandOver handover;
};

namespace {

enum class ReadEnd { report, stopped, failed };

// One overlapped read of an input report, or the stop event, whichever first.
ReadEnd ReadOne(HANDLE device, HANDLE stop, std::vector<std::uint8_t>& buffer, DWORD& got) {
  UniqueHandle done = MakeEvent();
  OVERLAPPED op{};
  op.hEvent = done.get();
  std::fill(buffer.begin(), buffer.end(), 0);
  if (!::ReadFile(device, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &op) &&
      ::GetLastError() != ERROR_IO_PENDING) {
    return ReadEnd::failed;
  }
  const HANDLE waits[] = {op.hEvent, stop};
  if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
    ::CancelIoEx(device, &op);
    ::GetOverlappedResult(device, &op, &got, TRUE);
    return ReadEnd::stopped;
  }
  return ::GetOverlappedResult(device, &op, &got, FALSE) ? ReadEnd::report : ReadEnd::failed;
}

}  // namespace

WinHidReader::WinHidReader(core::EventLoop& loop, std::shared_ptr<Shared> shared)
    : loop_(loop), shared_(std::move(shared)) {}

core::Result<std::unique_ptr<WinHidReader>> WinHidReader::Start(core::EventLoop& loop,
                                                                WinHidReaderSetup setup,
                                                                HidReportHandler on_report,
                                                                HidReadErrorHandler on_error) {
  auto shared = std::make_shared<Shared>(std::move(on_report), std::move(on_error));
  std::unique_ptr<WinHidReader> reader(new WinHidReader(loop, shared));
  reader->watch_ =
      loop.watch_readable(ToWaitable(shared->ready.get()), [shared] { shared->handover.take(); });
  try {
    reader->thread_ = std::thread(&WinHidReader::run, reader.get(), std::move(setup));
  } catch (const std::system_error& e) {
    return core::Error{"start reader", setup.name, e.code().value(), e.what()};
  }
  return reader;
}

WinHidReader::~WinHidReader() {
  shared_->handover.stop();
  ::SetEvent(stop_.get());
  loop_.unwatch(watch_);
  if (thread_.joinable()) thread_.join();
  shared_->handover.ended();
}

bool WinHidReader::running() const {
  return shared_->handover.running();
}

void WinHidReader::run(WinHidReaderSetup setup) {
  std::vector<std::uint8_t> buffer(std::max<std::size_t>(setup.input_length, 2), 0);
  for (;;) {
    DWORD got = 0;
    const ReadEnd end = ReadOne(setup.device, stop_.get(), buffer, got);
    if (end == ReadEnd::stopped) return;
    if (end == ReadEnd::failed) {
      // The device was unplugged or broke: the reader ends, as on Linux.
      core::Error error = WinError("read report", setup.name);
      shared_->handover.hand_over_end(std::move(error));
      return;
    }
    if (got == 0) continue;
    std::vector<std::uint8_t> report(buffer.begin(), buffer.begin() + got);
    if (!shared_->handover.hand_over(std::move(report))) return;
  }
}

}  // namespace platform::windows_os
