#include "platform/poll_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "platform/common/steady_timers.h"
#include "platform/linux/internal.h"

namespace platform {

// poll(2) over the watched descriptors with the next timer as its time-out; a
// pipe wakes it when another thread hands work over or `quit` is called.
struct PollLoop::State {
  State() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
      throw std::runtime_error("PollLoop: pipe2 failed");
    }
    wake_read.reset(fds[0]);
    wake_write.reset(fds[1]);
  }

  void wake() {
    const char b = 1;
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] auto n = ::write(wake_write.get(), &b, 1);
  }

  void drain_wake_ups() {
    char buf[64];
    while (::read(wake_read.get(), buf, sizeof buf) > 0) {
    }
  }

  void run_handed_over();

  SteadyTimers timers;
  std::map<Id, std::pair<core::Waitable, std::function<void()>>> watches;
  Id next_id = 1;
  bool quit = false;
  linux_os::UniqueFd wake_read;
  linux_os::UniqueFd wake_write;
  std::thread::id owner = std::this_thread::get_id();
  std::mutex mutex;
  std::condition_variable done_cv;
  std::deque<std::pair<std::function<void()>, bool*>> handed_over;
};

void PollLoop::State::run_handed_over() {
  std::unique_lock lock(mutex);
  while (!handed_over.empty()) {
    auto [fn, done] = std::move(handed_over.front());
    handed_over.pop_front();
    lock.unlock();
    fn();
    lock.lock();
    *done = true;
    done_cv.notify_all();
  }
}

PollLoop::PollLoop() : state_(std::make_unique<State>()) {}

PollLoop::~PollLoop() = default;

std::int64_t PollLoop::now() const {
  return SteadyTimers::now_ms();
}

std::int64_t PollLoop::now_us() const {
  return SteadyTimers::now_us();
}

core::EventLoop::Id PollLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = state_->next_id++;
  state_->timers.add(id, delay_ms, std::move(fn));
  return id;
}

void PollLoop::cancel(Id id) {
  state_->timers.cancel(id);
}

core::EventLoop::Id PollLoop::watch_readable(core::Waitable handle, std::function<void()> fn) {
  const Id id = state_->next_id++;
  state_->watches.emplace(id, std::make_pair(handle, std::move(fn)));
  return id;
}

void PollLoop::unwatch(Id id) {
  state_->watches.erase(id);
}

void PollLoop::invoke_and_wait(std::function<void()> fn) {
  if (std::this_thread::get_id() == state_->owner) {
    fn();
    return;
  }
  bool done = false;
  std::unique_lock lock(state_->mutex);
  state_->handed_over.emplace_back(std::move(fn), &done);
  state_->wake();
  state_->done_cv.wait(lock, [&] { return done; });
}

void PollLoop::quit() {
  state_->quit = true;
  state_->wake();
}

void PollLoop::run() {
  state_->quit = false;
  while (!state_->quit) run_once(-1);
}

// Linux has no window messages here.
void PollLoop::run_ready() {
  run_once(0);
}

void PollLoop::run_once(std::int64_t max_wait_ms) {
  State& s = *state_;
  std::vector<pollfd> fds{{s.wake_read.get(), POLLIN, 0}};
  std::vector<Id> ids;
  for (const auto& [id, w] : s.watches) {
    fds.push_back({static_cast<int>(w.first), POLLIN, 0});
    ids.push_back(id);
  }
  const int n = ::poll(fds.data(), fds.size(), static_cast<int>(s.timers.wait_for(max_wait_ms)));
  if (n > 0) {
    if (fds[0].revents != 0) s.drain_wake_ups();
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      auto it = s.watches.find(ids[i - 1]);
      if (it == s.watches.end()) continue;  // unwatched by an earlier handler this round
      auto fn = it->second.second;
      fn();
    }
  }
  s.run_handed_over();
  s.timers.run_due();
}

}  // namespace platform
