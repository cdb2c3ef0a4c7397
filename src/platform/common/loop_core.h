#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/event_loop.h"
#include "platform/common/steady_timers.h"

namespace platform {

// What every system's PollLoop does alike: timers on the monotonic clock,
// watched handles by id, work handed over from other threads, quitting, and
// the order of a round (wait and call the handles found ready, then the work
// handed over, then the timers due). A system adds two hooks: how its thread
// waits, and how another thread ends that wait.
class LoopCore {
 public:
  using Id = core::EventLoop::Id;
  struct Watch {
    core::Waitable handle;
    std::function<void()> fn;
  };

  // `max_watches`: how many handles the system's wait takes at once.
  explicit LoopCore(std::size_t max_watches = std::numeric_limits<std::size_t>::max())
      : max_watches_(max_watches) {}
  virtual ~LoopCore() = default;
  LoopCore(const LoopCore&) = delete;
  LoopCore& operator=(const LoopCore&) = delete;

  Id schedule(std::int64_t delay_ms, std::function<void()> fn);
  void cancel(Id id) { timers_.cancel(id); }
  // Throws std::length_error beyond max_watches.
  Id watch(core::Waitable handle, std::function<void()> fn);
  void unwatch(Id id) { watches_.erase(id); }
  void invoke_and_wait(std::function<void()> fn);
  void quit();
  void run();
  void run_once(std::int64_t max_wait_ms);
  // The end of every round: the work handed over, then the timers due.
  void finish_round();

 protected:
  // Waits at most `wait_ms` (-1: without limit) until a watched handle is
  // ready, wake() is called or the system has something of its own for this
  // thread; then calls (call_watch) each watch that is ready.
  virtual void wait(std::int64_t wait_ms) = 0;
  // Ends the wait under way, or else the next one; called from any thread.
  virtual void wake() = 0;

  const std::map<Id, Watch>& watches() const { return watches_; }
  // Calls watch `id` unless an earlier handler of this round unwatched it.
  void call_watch(Id id);
  // Ends run() after this round: the system asked to quit in its own way.
  void end_run() { quit_ = true; }

 private:
  void run_handed_over();

  std::size_t max_watches_;
  SteadyTimers timers_;
  std::map<Id, Watch> watches_;
  Id next_id_ = 1;
  bool quit_ = false;
  std::thread::id owner_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::condition_variable done_cv_;
  std::deque<std::pair<std::function<void()>, bool*>> handed_over_;
};

}  // namespace platform
