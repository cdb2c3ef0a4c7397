#pragma once

#include <functional>
#include <string>

#include "core/event_loop.h"
#include "core/trace.h"

namespace ui {

// A repeating timer on an event loop, with the semantics the download relies on:
// - enabling an enabled timer changes nothing (its countdown goes on);
// - disabling and enabling again starts a new countdown;
// - a new interval while enabled starts a new countdown; the same interval changes nothing;
// - an interval of 0 never fires, even while enabled;
// - it fires every interval while enabled; `on_timer` may change it freely.
class Timer {
 public:
  Timer(core::EventLoop& loop, int interval_ms) : loop_(loop), interval_(interval_ms) {}
  ~Timer() { stop(); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool enabled() const { return enabled_; }
  void set_enabled(bool on);
  int interval() const { return interval_; }
  void set_interval(int ms);

  std::function<void()> on_timer;

  // Tells `trace` (when given) under `name` of every change and every tick.
  void trace_to(core::Trace* trace, std::string name) {
    trace_ = trace;
    name_ = std::move(name);
  }

 private:
  void start();
  void stop();
  void fire();
  void traced(core::TimerAction action) const;

  core::EventLoop& loop_;
  int interval_;
  bool enabled_ = false;
  bool armed_ = false;
  core::EventLoop::Id pending_ = 0;
  core::Trace* trace_ = nullptr;
  std::string name_;
};

}  // namespace ui
