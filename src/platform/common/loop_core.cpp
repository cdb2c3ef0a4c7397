#include "platform/common/loop_core.h"

#include <stdexcept>

namespace platform {

LoopCore::Id LoopCore::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = next_id_++;
  timers_.add(id, delay_ms, std::move(fn));
  return id;
}

LoopCore::Id LoopCore::watch(core::Waitable handle, std::function<void()> fn) {
  if (watches_.size() >= max_watches_) {
    throw std::length_error("PollLoop: too many handles to wait on");
  }
  const Id id = next_id_++;
  watches_.emplace(id, Watch{handle, std::move(fn)});
  return id;
}

void LoopCore::invoke_and_wait(std::function<void()> fn) {
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

void LoopCore::quit() {
  quit_ = true;
  wake();
}

void LoopCore::run() {
  quit_ = false;
  while (!quit_) run_once(-1);
}

void LoopCore::run_once(std::int64_t max_wait_ms) {
  wait(timers_.wait_for(max_wait_ms));
  finish_round();
}

void LoopCore::finish_round() {
  run_handed_over();
  timers_.run_due();
}

void LoopCore::call_watch(Id id) {
  const auto it = watches_.find(id);
  if (it == watches_.end()) return;
  // A copy: the handler may unwatch itself.
  auto fn = it->second.fn;
  fn();
}

void LoopCore::run_handed_over() {
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
