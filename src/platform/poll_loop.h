#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/event_loop.h"

namespace platform {

class LoopCore;

// The event loop of this system, for the batch front end and the end-to-end
// tests. A waiting program uses no CPU. On Linux it waits with poll(2) on file
// descriptors; on Windows with MsgWaitForMultipleObjectsEx on handles (events
// that stay signalled while there is something to do), and it also dispatches
// the window messages of its thread, so a window can share it: WM_QUIT ends
// `run` like `quit` does.
class PollLoop : public core::EventLoop {
 public:
  PollLoop();
  ~PollLoop() override;
  PollLoop(const PollLoop&) = delete;
  PollLoop& operator=(const PollLoop&) = delete;

  std::int64_t now() const override;
  std::int64_t now_us() const override;
  Id schedule(std::int64_t delay_ms, std::function<void()> fn) override;
  void cancel(Id id) override;
  Id watch_readable(core::Waitable handle, std::function<void()> fn) override;
  void unwatch(Id id) override;
  void invoke_and_wait(std::function<void()> fn) override;

  // Runs until `quit` is called.
  void run();
  // Runs one round: waits at most `max_wait_ms` (-1: until something happens),
  // then handles what is ready and due.
  void run_once(std::int64_t max_wait_ms);
  // Handles what is ready and due without waiting and without taking window
  // messages: for a modal dialog's own message loop, which takes them itself.
  void run_ready();
  void quit();

 private:
  // What every system's loop shares, with the system's own wait; its handles
  // stay out of this header.
  std::unique_ptr<LoopCore> core_;
};

}  // namespace platform
