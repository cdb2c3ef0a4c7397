#include "core/manual_loop.h"

#include <vector>

namespace core {

EventLoop::Id ManualLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = next_id_++;
  queue_.add(id, DueAfter(now_, delay_ms), std::move(fn));
  return id;
}

EventLoop::Id ManualLoop::watch_readable(Waitable handle, std::function<void()> fn) {
  const Id id = next_id_++;
  watches_.emplace(id, std::make_pair(handle, std::move(fn)));
  return id;
}

void ManualLoop::unwatch(Id id) {
  watches_.erase(id);
}

void ManualLoop::advance(std::int64_t ms) {
  const std::int64_t end = DueAfter(now_, ms);
  while (auto call = queue_.take_due(end)) {
    now_ = call->due;
    call->fn();
  }
  now_ = end;
}

int ManualLoop::signal(Waitable handle) {
  std::vector<Id> ids;
  for (const auto& [id, watch] : watches_) {
    if (watch.first == handle) ids.push_back(id);
  }
  int called = 0;
  for (Id id : ids) {
    auto it = watches_.find(id);
    if (it == watches_.end()) continue;  // unwatched by an earlier handler
    auto fn = it->second.second;
    fn();
    ++called;
  }
  return called;
}

std::int64_t ManualLoop::next_due_in() const {
  const auto due = queue_.next_due();
  return due ? *due - now_ : -1;
}

}  // namespace core
