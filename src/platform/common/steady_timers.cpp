#include "platform/common/steady_timers.h"

#include <chrono>

namespace platform {

std::int64_t SteadyTimers::now_us() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t SteadyTimers::now_ms() {
  return now_us() / 1000;
}

void SteadyTimers::add(core::EventLoop::Id id, std::int64_t delay_ms, std::function<void()> fn) {
  queue_.add(id, core::DueAfter(now_ms(), delay_ms), std::move(fn));
}

void SteadyTimers::cancel(core::EventLoop::Id id) {
  queue_.cancel(id);
}

std::int64_t SteadyTimers::wait_for(std::int64_t max_wait_ms) const {
  const auto due = queue_.next_due();
  if (!due) return max_wait_ms;
  const std::int64_t until = *due - now_ms();
  const std::int64_t t = until < 0 ? 0 : until;
  return (max_wait_ms < 0 || t < max_wait_ms) ? t : max_wait_ms;
}

void SteadyTimers::run_due() {
  const std::int64_t t = now_ms();
  while (auto call = queue_.take_due(t)) call->fn();
}

}  // namespace platform
