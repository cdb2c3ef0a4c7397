#include "ui/timer.h"

namespace ui {

void Timer::set_enabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  traced(on ? core::TimerAction::enabled : core::TimerAction::disabled);
  if (on) {
    start();
  } else {
    stop();
  }
}

void Timer::set_interval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  traced(core::TimerAction::interval);
  if (enabled_) {
    stop();
    start();
  }
}

void Timer::start() {
  if (interval_ <= 0) return;
  pending_ = loop_.schedule(interval_, [this] { fire(); });
  armed_ = true;
}

void Timer::stop() {
  if (armed_) loop_.cancel(pending_);
  armed_ = false;
}

void Timer::fire() {
  armed_ = false;
  // Re-arm first, so that a handler that disables the timer or changes its
  // interval sees a running countdown to cancel or restart.
  start();
  traced(core::TimerAction::fired);
  if (on_timer) on_timer();
}

void Timer::traced(core::TimerAction action) const {
  if (trace_ != nullptr) trace_->timer(name_, action, interval_);
}

}  // namespace ui
