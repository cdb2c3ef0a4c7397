#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>

#include "platform/linux/internal.h"

namespace platform::linux_os {

// What the thread and the loop's side share: the writes to make and the
// outcomes to hand back, under one lock.
struct HidrawWriter::Shared {
  explicit Shared(UniqueFd ready_fd) : ready(std::move(ready_fd)) {}

  std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  std::deque<std::pair<std::vector<std::uint8_t>, HidWriteDone>> writes;
  std::deque<std::pair<core::Status, HidWriteDone>> outcomes;
  UniqueFd ready;  // readable while outcomes wait

  // Loop's thread: hands back each outcome, its handler called without the lock.
  void take() {
    eventfd_t signals = 0;
    [[maybe_unused]] const int done = ::eventfd_read(ready.get(), &signals);
    for (;;) {
      std::unique_lock lock(mutex);
      if (stopping || outcomes.empty()) return;
      auto [status, handler] = std::move(outcomes.front());
      outcomes.pop_front();
      lock.unlock();
      handler(status);
    }
  }
};

namespace {

core::Status WriteWhole(int fd, const std::vector<std::uint8_t>& bytes, const std::string& name) {
  for (;;) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return core::error_from_errno("write report", name);
    if (static_cast<std::size_t>(n) != bytes.size()) {
      return core::Error{
          "write report", name, EIO,
          "wrote " + std::to_string(n) + " of " + std::to_string(bytes.size()) + " bytes"};
    }
    return core::Ok{};
  }
}

}  // namespace

HidrawWriter::HidrawWriter(core::EventLoop& loop, std::shared_ptr<Shared> shared)
    : loop_(loop), shared_(std::move(shared)) {}

core::Result<std::unique_ptr<HidrawWriter>> HidrawWriter::Start(core::EventLoop& loop, int fd,
                                                                std::string name) {
  UniqueFd ready(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!ready.valid()) return core::error_from_errno("start writer", name);
  auto shared = std::make_shared<Shared>(std::move(ready));
  std::unique_ptr<HidrawWriter> writer(new HidrawWriter(loop, shared));
  // The watch holds the shared part, so that a handler may destroy the writer.
  writer->watch_ = loop.watch_readable(shared->ready.get(), [shared] { shared->take(); });
  try {
    writer->thread_ = std::thread(&HidrawWriter::run, writer.get(), fd, name);
  } catch (const std::system_error& e) {
    return core::Error{"start writer", name, e.code().value(), e.what()};
  }
  return writer;
}

HidrawWriter::~HidrawWriter() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
  }
  shared_->wake.notify_all();
  loop_.unwatch(watch_);
  if (thread_.joinable()) thread_.join();
}

void HidrawWriter::write(std::vector<std::uint8_t> bytes, HidWriteDone done) {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->writes.emplace_back(std::move(bytes), std::move(done));
  }
  shared_->wake.notify_all();
}

void HidrawWriter::run(int fd, std::string name) {
  std::unique_lock lock(shared_->mutex);
  for (;;) {
    shared_->wake.wait(lock, [&] { return shared_->stopping || !shared_->writes.empty(); });
    if (shared_->stopping) return;
    auto [bytes, done] = std::move(shared_->writes.front());
    shared_->writes.pop_front();
    lock.unlock();
    core::Status status = WriteWhole(fd, bytes, name);
    lock.lock();
    shared_->outcomes.emplace_back(std::move(status), std::move(done));
    [[maybe_unused]] const int signalled = ::eventfd_write(shared_->ready.get(), 1);
  }
}

}  // namespace platform::linux_os
