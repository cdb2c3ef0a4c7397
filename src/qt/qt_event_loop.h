#pragma once

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>

#include "core/event_loop.h"

namespace qtui {

// The program's event loop over Qt's: precise single-shot timers, socket
// notifiers for readable descriptors, and blocking hand-over from other threads.
// Construct it on the user-interface thread, after the application object.
class QtEventLoop : public core::EventLoop {
 public:
  QtEventLoop();
  ~QtEventLoop() override;
  QtEventLoop(const QtEventLoop&) = delete;
  QtEventLoop& operator=(const QtEventLoop&) = delete;

  std::int64_t now() const override;
  std::int64_t now_us() const override;
  Id schedule(std::int64_t delay_ms, std::function<void()> fn) override;
  void cancel(Id id) override;
  Id watch_readable(core::Waitable handle, std::function<void()> fn) override;
  void unwatch(Id id) override;
  void invoke_and_wait(std::function<void()> fn) override;

  // Runs after every call the loop made (a timer, a readable descriptor, a
  // hand-over), so that the window can follow what the call changed.
  std::function<void()> after_event;

 private:
  void handled();

  std::unique_ptr<QObject> context_ = std::make_unique<QObject>();
  std::map<Id, QPointer<QTimer>> timers_;
  std::map<Id, QPointer<QSocketNotifier>> watches_;
  Id next_id_ = 1;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace qtui
