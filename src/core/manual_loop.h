#pragma once

#include <map>
#include <utility>

#include "core/event_loop.h"
#include "core/timer_queue.h"

namespace core {

// Virtual time for tests: nothing happens until `advance` moves the clock, and
// then everything that falls due runs in time order (ties in the order they
// were scheduled). Readable descriptors are signalled by hand with `signal`.
class ManualLoop : public EventLoop {
 public:
  std::int64_t now() const override { return now_; }
  Id schedule(std::int64_t delay_ms, std::function<void()> fn) override;
  void cancel(Id id) override { queue_.cancel(id); }
  Id watch_readable(Waitable handle, std::function<void()> fn) override;
  void unwatch(Id id) override;
  void invoke_and_wait(std::function<void()> fn) override { fn(); }

  // Moves the clock `ms` forward, running what falls due on the way.
  void advance(std::int64_t ms);
  // Runs what is due now (calls scheduled with delay 0).
  void run_due() { advance(0); }
  // Calls the handler of every watch on `handle`. Returns how many there were.
  int signal(Waitable handle);
  // Time until the next scheduled call, or -1 when none is pending.
  std::int64_t next_due_in() const;
  std::size_t pending() const { return queue_.size(); }

 private:
  std::int64_t now_ = 0;
  Id next_id_ = 1;
  TimerQueue queue_;
  std::map<Id, std::pair<Waitable, std::function<void()>>> watches_;
};

}  // namespace core
