#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <variant>

#include "platform/linux/internal.h"

namespace platform::linux_os {

using Item = std::variant<std::vector<std::uint8_t>, core::Error>;

// What the thread and the loop's side share. The loop's watch holds it too, so
// a handler that destroys the reader leaves it alive until the handler returns.
struct HidrawReader::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool stopping = false;
  bool handled = true;
  std::optional<Item> pending;
  std::atomic<bool> running = true;
  HidReportHandler on_report;
  HidReadErrorHandler on_error;
  UniqueFd ready;  // eventfd: something is pending
};

namespace {

// On the loop's thread, when the reader has handed something over.
void TakeHandedOver(const std::shared_ptr<HidrawReader::Shared>& shared) {
  eventfd_t signals = 0;
  [[maybe_unused]] const int drained = ::eventfd_read(shared->ready.get(), &signals);
  std::optional<Item> item;
  {
    std::lock_guard lock(shared->mutex);
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
bool HandOver(HidrawReader::Shared& shared, Item item) {
  {
    std::lock_guard lock(shared.mutex);
    if (shared.stopping) return false;
    shared.pending = std::move(item);
    shared.handled = false;
  }
  [[maybe_unused]] const int signalled = ::eventfd_write(shared.ready.get(), 1);
  std::unique_lock lock(shared.mutex);
  shared.changed.wait(lock, [&] { return shared.handled || shared.stopping; });
  return !shared.stopping;
}

core::Error GoneError(const std::string& name) {
  // A hidraw node of a removed device reads EIO; end of file means the same.
  return core::Error{"read report", name, EIO, std::strerror(EIO)};
}

}  // namespace

HidrawReader::HidrawReader(core::EventLoop& loop, std::shared_ptr<Shared> shared, UniqueFd stop)
    : loop_(loop), shared_(std::move(shared)), stop_(std::move(stop)) {}

core::Result<std::unique_ptr<HidrawReader>> HidrawReader::Start(core::EventLoop& loop,
                                                                HidrawReaderSetup setup,
                                                                HidReportHandler on_report,
                                                                HidReadErrorHandler on_error) {
  UniqueFd ready(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  UniqueFd stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!ready.valid() || !stop.valid()) return core::error_from_errno("start reader", setup.name);
  auto shared = std::make_shared<Shared>();
  shared->ready = std::move(ready);
  shared->on_report = std::move(on_report);
  shared->on_error = std::move(on_error);
  std::unique_ptr<HidrawReader> reader(new HidrawReader(loop, shared, std::move(stop)));
  reader->watch_ = loop.watch_readable(shared->ready.get(), [shared] { TakeHandedOver(shared); });
  try {
    reader->thread_ = std::thread(&HidrawReader::run, reader.get(), std::move(setup));
  } catch (const std::system_error& e) {
    return core::Error{"start reader", setup.name, e.code().value(), e.what()};
  }
  return reader;
}

HidrawReader::~HidrawReader() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
  }
  shared_->changed.notify_all();
  [[maybe_unused]] const int signalled = ::eventfd_write(stop_.get(), 1);
  loop_.unwatch(watch_);
  if (thread_.joinable()) thread_.join();
  shared_->running = false;
}

bool HidrawReader::running() const {
  return shared_->running;
}

void HidrawReader::run(HidrawReaderSetup setup) {
  // Reads on a node without report IDs lack the ID byte: they land after a 0
  // that stays in place.
  const std::size_t skip = setup.numbered_reports ? 0 : 1;
  std::vector<std::uint8_t> buffer(std::max<std::size_t>(setup.input_length, 2), 0);
  pollfd fds[2] = {{setup.fd, POLLIN, 0}, {stop_.get(), POLLIN, 0}};
  for (;;) {
    fds[0].revents = fds[1].revents = 0;
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (fds[1].revents != 0) return;
    ssize_t n = -1;
    if (ready > 0) n = ::read(setup.fd, buffer.data() + skip, buffer.size() - skip);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) {
      core::Error error =
          n < 0 ? core::error_from_errno("read report", setup.name) : GoneError(setup.name);
      shared_->running = false;
      HandOver(*shared_, std::move(error));
      return;
    }
    std::vector<std::uint8_t> report(buffer.begin(),
                                     buffer.begin() + static_cast<std::ptrdiff_t>(skip + n));
    if (!HandOver(*shared_, std::move(report))) return;
  }
}

}  // namespace platform::linux_os
