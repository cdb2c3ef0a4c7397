#include "qt/qt_event_loop.h"

#include <QThread>
#include <algorithm>
#include <cstdint>

namespace qtui {

QtEventLoop::QtEventLoop() = default;

QtEventLoop::~QtEventLoop() {
  // The timers and notifiers are children of the context and go with it.
  timers_.clear();
  watches_.clear();
}

std::int64_t QtEventLoop::now() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

std::int64_t QtEventLoop::now_us() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start_)
      .count();
}

core::EventLoop::Id QtEventLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = next_id_++;
  auto* timer = new QTimer(context_.get());
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, context_.get(), [this, id, timer, fn = std::move(fn)] {
    timers_.erase(id);
    timer->deleteLater();
    fn();
    handled();
  });
  timers_[id] = timer;
  timer->start(static_cast<int>(std::clamp<std::int64_t>(delay_ms, 0, INT32_MAX)));
  return id;
}

void QtEventLoop::cancel(Id id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;
  if (QTimer* timer = it->second) {
    timer->stop();
    timer->deleteLater();
  }
  timers_.erase(it);
}

core::EventLoop::Id QtEventLoop::watch_readable(core::Waitable handle, std::function<void()> fn) {
  const Id id = next_id_++;
  auto* notifier = new QSocketNotifier(handle, QSocketNotifier::Read, context_.get());
  QObject::connect(notifier, &QSocketNotifier::activated, context_.get(),
                   [this, fn = std::move(fn)] {
                     fn();
                     handled();
                   });
  watches_[id] = notifier;
  return id;
}

void QtEventLoop::unwatch(Id id) {
  const auto it = watches_.find(id);
  if (it == watches_.end()) return;
  // The handler being run may be the one unwatching itself: its notifier goes
  // quiet at once and is deleted once control is back in the loop.
  if (QSocketNotifier* notifier = it->second) {
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
  watches_.erase(it);
}

void QtEventLoop::invoke_and_wait(std::function<void()> fn) {
  if (QThread::currentThread() == context_->thread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(
      context_.get(),
      [this, &fn] {
        fn();
        handled();
      },
      Qt::BlockingQueuedConnection);
}

void QtEventLoop::handled() {
  if (after_event) after_event();
}

}  // namespace qtui
