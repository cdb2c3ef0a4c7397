#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "platform/poll_loop.h"

namespace platform {

PollLoop::PollLoop() : owner_(std::this_thread::get_id()) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("PollLoop: pipe2 failed");
  wake_read_ = fds[0];
  wake_write_ = fds[1];
}

PollLoop::~PollLoop() {
  ::close(wake_read_);
  ::close(wake_write_);
}

std::int64_t PollLoop::now() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

core::EventLoop::Id PollLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = next_id_++;
  timers_.add(id, core::DueAfter(now(), delay_ms), std::move(fn));
  return id;
}

void PollLoop::cancel(Id id) {
  timers_.cancel(id);
}

core::EventLoop::Id PollLoop::watch_readable(int fd, std::function<void()> fn) {
  const Id id = next_id_++;
  watches_.emplace(id, std::make_pair(fd, std::move(fn)));
  return id;
}

void PollLoop::unwatch(Id id) {
  watches_.erase(id);
}

void PollLoop::invoke_and_wait(std::function<void()> fn) {
  if (std::this_thread::get_id() == owner_) {
    fn();
    return;
  }
  bool done = false;
  std::unique_lock lock(mutex_);
  handed_over_.emplace_back(std::move(fn), &done);
  wake();
  done_cv_.wait(lock, [&] { return done; });
}

void PollLoop::wake() {
  const char b = 1;
  // A full pipe already holds a wake-up, so a failed write loses nothing.
  [[maybe_unused]] auto n = ::write(wake_write_, &b, 1);
}

void PollLoop::quit() {
  quit_ = true;
  wake();
}

void PollLoop::run() {
  quit_ = false;
  while (!quit_) run_once(-1);
}

void PollLoop::run_once(std::int64_t max_wait_ms) {
  std::int64_t wait = max_wait_ms;
  if (const auto due = timers_.next_due()) {
    const std::int64_t until = *due - now();
    const std::int64_t t = until < 0 ? 0 : until;
    wait = (wait < 0 || t < wait) ? t : wait;
  }
  std::vector<pollfd> fds{{wake_read_, POLLIN, 0}};
  std::vector<Id> ids;
  for (const auto& [id, w] : watches_) {
    fds.push_back({w.first, POLLIN, 0});
    ids.push_back(id);
  }
  const int n = ::poll(fds.data(), fds.size(), static_cast<int>(wait));
  if (n > 0) {
    if (fds[0].revents != 0) {
      char buf[64];
      while (::read(wake_read_, buf, sizeof buf) > 0) {
      }
    }
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      auto it = watches_.find(ids[i - 1]);
      if (it == watches_.end()) continue;  // unwatched by an earlier handler this round
      auto fn = it->second.second;
      fn();
    }
  }
  run_handed_over();
  run_due_timers();
}

void PollLoop::run_due_timers() {
  const std::int64_t t = now();
  while (auto call = timers_.take_due(t)) call->fn();
}

void PollLoop::run_handed_over() {
  std::unique_lock lock(mutex_);
  while (!handed_over_.empty()) {
    auto [fn, done] = std::move(handed_over_.front());
    handed_over_.pop_front();
    lock.unlock();
    fn();
    lock.lock();
    *done = true;
    done_cv_.notify_all();
  }
}

}  // namespace platform
