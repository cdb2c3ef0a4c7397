#pragma once

#include <cstdint>
#include <functional>

namespace core {

// What a loop can wait on: a file descriptor on Linux, an event's HANDLE on
// Windows. Wide enough for either.
using Waitable = std::intptr_t;

// What the program needs of an event loop. All callbacks run on the loop's
// thread, one at a time.
class EventLoop {
 public:
  using Id = std::uint64_t;

  virtual ~EventLoop() = default;

  // Milliseconds on a monotonic clock.
  virtual std::int64_t now() const = 0;
  // Microseconds on the same clock, for time stamps finer than the timers need.
  // A loop without a finer clock gives its milliseconds.
  virtual std::int64_t now_us() const { return now() * 1000; }
  // Runs `fn` once, `delay_ms` from now (0: as soon as possible, after what is already due).
  virtual Id schedule(std::int64_t delay_ms, std::function<void()> fn) = 0;
  // Forgets a scheduled call; unknown or spent ids are ignored.
  virtual void cancel(Id id) = 0;
  // Calls `fn` whenever `handle` is readable or signalled (or has hung up)
  // until unwatched.
  virtual Id watch_readable(Waitable handle, std::function<void()> fn) = 0;
  virtual void unwatch(Id id) = 0;
  // Runs `fn` on the loop's thread and returns when it has run. From the loop's
  // own thread it runs `fn` at once.
  virtual void invoke_and_wait(std::function<void()> fn) = 0;
};

}  // namespace core
