#include "ui/manual_loop.h"

#include <vector>

namespace ui {

EventLoop::Id ManualLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = next_id_++;
  const std::int64_t due = now_ + (delay_ms < 0 ? 0 : delay_ms);
  queue_.emplace(std::make_pair(due, id), std::move(fn));
  due_of_[id] = due;
  return id;
}

void ManualLoop::cancel(Id id) {
  auto it = due_of_.find(id);
  if (it == due_of_.end()) return;
  queue_.erase({it->second, id});
  due_of_.erase(it);
}

EventLoop::Id ManualLoop::watch_readable(int fd, std::function<void()> fn) {
  const Id id = next_id_++;
  watches_.emplace(id, std::make_pair(fd, std::move(fn)));
  return id;
}

void ManualLoop::unwatch(Id id) {
  watches_.erase(id);
}

void ManualLoop::advance(std::int64_t ms) {
  const std::int64_t end = now_ + (ms < 0 ? 0 : ms);
  while (!queue_.empty() && queue_.begin()->first.first <= end) {
    auto node = queue_.extract(queue_.begin());
    due_of_.erase(node.key().second);
    now_ = node.key().first;
    node.mapped()();
  }
  now_ = end;
}

int ManualLoop::signal(int fd) {
  std::vector<Id> ids;
  for (const auto& [id, watch] : watches_) {
    if (watch.first == fd) ids.push_back(id);
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
  if (queue_.empty()) return -1;
  return queue_.begin()->first.first - now_;
}

}  // namespace ui
