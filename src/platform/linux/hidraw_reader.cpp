#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/common/hid_read_loop.h"
#include "platform/common/report_handover.h"
#include "platform/linux/internal.h"

namespace platform::linux_os {

// What the thread and the loop's side share: the hand-over and its eventfd.
struct HidrawReader::Shared {
  Shared(HidReportHandler on_report, HidReadErrorHandler on_error, UniqueFd ready_fd)
      : handover(std::move(on_report), std::move(on_error)), ready(std::move(ready_fd)) {
    const int fd = ready.get();
    handover.set_signal([fd] { [[maybe_unused]] const int done = ::eventfd_write(fd, 1); },
                        [fd] {
                          eventfd_t signals = 0;
                          [[maybe_unused]] const int done = ::eventfd_read(fd, &signals);
                        });
  }
  ReportHandOver handover;
  UniqueFd ready;
};

namespace {

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
  auto shared =
      std::make_shared<Shared>(std::move(on_report), std::move(on_error), std::move(ready));
  std::unique_ptr<HidrawReader> reader(new HidrawReader(loop, shared, std::move(stop)));
  reader->watch_ = loop.watch_readable(shared->ready.get(), [shared] { shared->handover.take(); });
  try {
    reader->thread_ = std::thread(&HidrawReader::run, reader.get(), std::move(setup));
  } catch (const std::system_error& e) {
    return core::Error{"start reader", setup.name, e.code().value(), e.what()};
  }
  return reader;
}

HidrawReader::~HidrawReader() {
  shared_->handover.stop();
  [[maybe_unused]] const int signalled = ::eventfd_write(stop_.get(), 1);
  loop_.unwatch(watch_);
  if (thread_.joinable()) thread_.join();
  shared_->handover.ended();
}

bool HidrawReader::running() const {
  return shared_->handover.running();
}

void HidrawReader::run(HidrawReaderSetup setup) {
  // Reads on a node without report IDs lack the ID byte: they land after a 0
  // that stays in place.
  const std::size_t skip = setup.numbered_reports ? 0 : 1;
  std::vector<std::uint8_t> buffer(std::max<std::size_t>(setup.input_length, 2), 0);
  pollfd fds[2] = {{setup.fd, POLLIN, 0}, {stop_.get(), POLLIN, 0}};
  const auto read_one = [&]() -> HidRead {
    for (;;) {
      fds[0].revents = fds[1].revents = 0;
      const int ready = ::poll(fds, 2, -1);
      if (ready < 0 && errno == EINTR) continue;
      if (fds[1].revents != 0) return {HidRead::Kind::stopped, {}, {}};
      ssize_t n = -1;
      if (ready > 0) n = ::read(setup.fd, buffer.data() + skip, buffer.size() - skip);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n < 0)
        return {HidRead::Kind::failed, {}, core::error_from_errno("read report", setup.name)};
      if (n == 0) return {HidRead::Kind::failed, {}, GoneError(setup.name)};
      return {HidRead::Kind::report,
              std::vector<std::uint8_t>(buffer.begin(),
                                        buffer.begin() + static_cast<std::ptrdiff_t>(skip + n)),
              {}};
    }
  };
  // A node reads an error only once its device has gone.
  RunHidReadLoop(shared_->handover, {read_one, [] { return true; }, [] { return false; }});
}

}  // namespace platform::linux_os
