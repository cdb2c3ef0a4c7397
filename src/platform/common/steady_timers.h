#pragma once

#include <cstdint>
#include <functional>

#include "core/event_loop.h"
#include "core/timer_queue.h"

namespace platform {

// The timers of a system's loop on the monotonic clock, shared by every
// system's PollLoop: each waits its own way for as long as `wait_for` says.
class SteadyTimers {
 public:
  static std::int64_t now_ms();
  static std::int64_t now_us();

  void add(core::EventLoop::Id id, std::int64_t delay_ms, std::function<void()> fn);
  void cancel(core::EventLoop::Id id);
  // How long the loop may wait: `max_wait_ms` (-1: no limit), or less when a
  // timer falls due sooner; 0 when one is due.
  std::int64_t wait_for(std::int64_t max_wait_ms) const;
  // Runs every call that is due, in order; a call may add and cancel others.
  void run_due();

 private:
  core::TimerQueue queue_;
};

}  // namespace platform
