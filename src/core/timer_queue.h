#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "core/event_loop.h"

namespace core {

// The scheduled calls of an event loop, kept by due time. Calls due at the same
// time run in the order they were added, which is what makes a zero delay mean
// "after what is already due".
class TimerQueue {
 public:
  using Id = EventLoop::Id;

  struct Call {
    std::int64_t due = 0;
    std::function<void()> fn;
  };

  // Adds `fn`, to run at `due`, under an id the loop has not used before.
  void add(Id id, std::int64_t due, std::function<void()> fn);
  // Forgets a pending call; unknown or spent ids are ignored.
  void cancel(Id id);
  // Takes out the earliest call if it is due at or before `time`; the caller
  // runs it, so that it may add and cancel calls meanwhile.
  std::optional<Call> take_due(std::int64_t time);
  // The due time of the earliest call, if any is pending.
  std::optional<std::int64_t> next_due() const;
  std::size_t size() const { return calls_.size(); }

 private:
  std::map<std::pair<std::int64_t, Id>, std::function<void()>> calls_;
  std::map<Id, std::int64_t> due_of_;
};

// The due time of a call scheduled `delay_ms` after `now`; a negative delay
// counts as none.
inline std::int64_t DueAfter(std::int64_t now, std::int64_t delay_ms) {
  return now + (delay_ms < 0 ? 0 : delay_ms);
}

}  // namespace core
