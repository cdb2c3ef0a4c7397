#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "core/event_loop.h"
#include "core/timer_queue.h"

namespace platform {

// The event loop of the batch front end and the end-to-end tests: poll(2) over
// the watched descriptors with the next timer as its time-out, so a waiting
// program uses no CPU.
class PollLoop : public core::EventLoop {
 public:
  PollLoop();
  ~PollLoop() override;
  PollLoop(const PollLoop&) = delete;
  PollLoop& operator=(const PollLoop&) = delete;

  std::int64_t now() const override;
  Id schedule(std::int64_t delay_ms, std::function<void()> fn) override;
  void cancel(Id id) override;
  Id watch_readable(int fd, std::function<void()> fn) override;
  void unwatch(Id id) override;
  void invoke_and_wait(std::function<void()> fn) override;

  // Runs until `quit` is called.
  void run();
  // Runs one round: waits at most `max_wait_ms` (-1: until something happens),
  // then handles what is ready and due.
  void run_once(std::int64_t max_wait_ms);
  void quit();

 private:
  void run_due_timers();
  void run_handed_over();
  void wake();

  core::TimerQueue timers_;
  std::map<Id, std::pair<int, std::function<void()>>> watches_;
  Id next_id_ = 1;
  bool quit_ = false;
  int wake_read_ = -1;
  int wake_write_ = -1;
  std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable done_cv_;
  std::deque<std::pair<std::function<void()>, bool*>> handed_over_;
};

}  // namespace platform
