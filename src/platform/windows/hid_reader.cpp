#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <variant>

#include "platform/windows/internal.h"

namespace platform::windows_os {

using Item = std::variant<std::vector<std::uint8_t>, core::Error>;

// What the thread and the loop's side share. The loop's watch holds it too, so
// a handler that destroys the reader leaves it alive until the handler returns.
struct WinHidReader::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool stopping = false;
  bool handled = true;
  std::optional<Item> pending;
  std::atomic<bool> running = true;
  HidReportHandler on_report;
  HidReadErrorHandler on_error;
  UniqueHandle ready = MakeEvent();  // manual reset: something is pending
};

namespace {

// On the loop's thread, when the reader has handed something over.
void TakeHandedOver(const std::shared_ptr<WinHidReader::Shared>& shared) {
  std::optional<Item> item;
  {
    std::lock_guard lock(shared->mutex);
    ::ResetEvent(shared->ready.get());
    if (!shared->stopping) item = std::move(shared->pending);
    shared->pending.reset();
  }
  if (!item) return;
  if (const auto* report = std::get_if<std::vector<std::uint8_t>>(&*item)) {
    shared->on_report(*report);
  } else {
    shared->on_error(std::get<core::Error>(*item));
  }
  {
    std::lock_guard lock(shared->mutex);
    shared->handled = true;
  }
  shared->changed.notify_all();
}

// On the reader's thread: waits until the handler has returned. False when the
// reader is being stopped.
bool HandOver(WinHidReader::Shared& shared, Item item) {
  {
    std::lock_guard lock(shared.mutex);
    if (shared.stopping) return false;
    shared.pending = std::move(item);
    shared.handled = false;
    ::SetEvent(shared.ready.get());
  }
  std::unique_lock lock(shared.mutex);
  shared.changed.wait(lock, [&] { return shared.handled || shared.stopping; });
  return !shared.stopping;
}

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
  auto shared = std::make_shared<Shared>();
  shared->on_report = std::move(on_report);
  shared->on_error = std::move(on_error);
  std::unique_ptr<WinHidReader> reader(new WinHidReader(loop, shared));
  reader->watch_ =
      loop.watch_readable(ToWaitable(shared->ready.get()), [shared] { TakeHandedOver(shared); });
  try {
    reader->thread_ = std::thread(&WinHidReader::run, reader.get(), std::move(setup));
  } catch (const std::system_error& e) {
    return core::Error{"start reader", setup.name, e.code().value(), e.what()};
  }
  return reader;
}

WinHidReader::~WinHidReader() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
  }
  shared_->changed.notify_all();
  ::SetEvent(stop_.get());
  loop_.unwatch(watch_);
  if (thread_.joinable()) thread_.join();
  shared_->running = false;
}

bool WinHidReader::running() const {
  return shared_->running;
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
      shared_->running = false;
      HandOver(*shared_, std::move(error));
      return;
    }
    if (got == 0) continue;
    std::vector<std::uint8_t> report(buffer.begin(), buffer.begin() + got);
    if (!HandOver(*shared_, std::move(report))) return;
  }
}

}  // namespace platform::windows_os
