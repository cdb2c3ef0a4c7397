#include "platform/poll_loop.h"

#include "platform/common/loop_core.h"

// Every system's PollLoop is its core; the constructor, which picks the
// system's wait, and run_ready are in the system's folder.
namespace platform {

PollLoop::~PollLoop() = default;

std::int64_t PollLoop::now() const {
  return SteadyTimers::now_ms();
}

std::int64_t PollLoop::now_us() const {
  return SteadyTimers::now_us();
}

core::EventLoop::Id PollLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  return core_->schedule(delay_ms, std::move(fn));
}

void PollLoop::cancel(Id id) {
  core_->cancel(id);
}

core::EventLoop::Id PollLoop::watch_readable(core::Waitable handle, std::function<void()> fn) {
  return core_->watch(handle, std::move(fn));
}

void PollLoop::unwatch(Id id) {
  core_->unwatch(id);
}

void PollLoop::invoke_and_wait(std::function<void()> fn) {
  core_->invoke_and_wait(std::move(fn));
}

void PollLoop::run() {
  core_->run();
}

void PollLoop::run_once(std::int64_t max_wait_ms) {
  core_->run_once(max_wait_ms);
}

void PollLoop::quit() {
  core_->quit();
}

}  // namespace platform
