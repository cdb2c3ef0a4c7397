#include <algorithm>
#include <system_error>

#include "platform/common/hid_read_loop.h"
#include "platform/common/report_handover.h"
#include "platform/windows/hid_api.h"
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

// A read that failed while the device stayed is tried again this long after.
constexpr DWORD retry_pause_ms = 100;

// One overlapped read of an input report, or the stop event, whichever first.
HidRead ReadOne(HANDLE device, HANDLE stop, std::vector<std::uint8_t>& buffer,
                const std::string& name) {
  UniqueHandle done = MakeEvent();
  OVERLAPPED op{};
  op.hEvent = done.get();
  std::fill(buffer.begin(), buffer.end(), 0);
  const auto failed = [&] {
    return HidRead{HidRead::Kind::failed, {}, WinError("read report", name)};
  };
  if (!::ReadFile(device, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &op) &&
      ::GetLastError() != ERROR_IO_PENDING) {
    return failed();
  }
  const HANDLE waits[] = {op.hEvent, stop};
  DWORD got = 0;
  if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
    ::CancelIoEx(device, &op);
    ::GetOverlappedResult(device, &op, &got, TRUE);
    return {HidRead::Kind::stopped, {}, {}};
  }
  if (!::GetOverlappedResult(device, &op, &got, FALSE)) return failed();
  return {
      HidRead::Kind::report, std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + got), {}};
}

// A device that has gone no longer answers on the handle, whatever the read said.
bool Gone(HANDLE device) {
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  return !::HidD_GetAttributes(device, &attributes);
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
  const HANDLE stop = stop_.get();
  const auto read_one = [&]() -> HidRead {
    for (;;) {
      HidRead read = ReadOne(setup.device, stop, buffer, setup.name);
      if (read.kind != HidRead::Kind::report || !read.report.empty()) return read;
    }
  };
  RunHidReadLoop(shared_->handover,
                 {read_one, [&] { return Gone(setup.device); },
                  [&] { return ::WaitForSingleObject(stop, retry_pause_ms) == WAIT_TIMEOUT; }});
}

}  // namespace platform::windows_os
