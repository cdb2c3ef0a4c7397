#include "platform/poll_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

#include "platform/common/loop_core.h"
#include "platform/linux/internal.h"

namespace platform {

namespace {

// poll(2) over the watched descriptors; a pipe wakes it when another thread
// hands work over or `quit` is called.
class PollWait : public LoopCore {
 public:
  PollWait() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
      throw std::runtime_error("PollLoop: pipe2 failed");
    }
    wake_read_.reset(fds[0]);
    wake_write_.reset(fds[1]);
  }

 private:
  void wait(std::int64_t wait_ms) override {
    std::vector<pollfd> fds{{wake_read_.get(), POLLIN, 0}};
    std::vector<Id> ids;
    for (const auto& [id, watch] : watches()) {
      fds.push_back({static_cast<int>(watch.handle), POLLIN, 0});
      ids.push_back(id);
    }
    if (::poll(fds.data(), fds.size(), static_cast<int>(wait_ms)) <= 0) return;
    if (fds[0].revents != 0) drain_wake_ups();
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents != 0) call_watch(ids[i - 1]);
    }
  }

  void wake() override {
    const char b = 1;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] auto n = ::write(wake_write_.get(), &b, 1);
  }

  void drain_wake_ups() {
    char buf[64];
    while (::read(wake_read_.get(), buf, sizeof buf) > 0) {
    }
  }

  linux_os::UniqueFd wake_read_;
  linux_os::UniqueFd wake_write_;
};

}  // namespace

PollLoop::PollLoop() : core_(std::make_unique<PollWait>()) {}

// Linux has no window messages here.
void PollLoop::run_ready() {
  run_once(0);
}

}  // namespace platform
