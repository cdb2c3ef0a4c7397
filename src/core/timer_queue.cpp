#include "core/timer_queue.h"

namespace core {

void TimerQueue::add(Id id, std::int64_t due, std::function<void()> fn) {
  calls_.emplace(std::make_pair(due, id), std::move(fn));
  due_of_[id] = due;
}

void TimerQueue::cancel(Id id) {
  auto it = due_of_.find(id);
  if (it == due_of_.end()) return;
  calls_.erase({it->second, id});
  due_of_.erase(it);
}

std::optional<TimerQueue::Call> TimerQueue::take_due(std::int64_t time) {
  if (calls_.empty() || calls_.begin()->first.first > time) return std::nullopt;
  auto node = calls_.extract(calls_.begin());
  due_of_.erase(node.key().second);
  return Call{node.key().first, std::move(node.mapped())};
}

std::optional<std::int64_t> TimerQueue::next_due() const {
  if (calls_.empty()) return std::nullopt;
  return calls_.begin()->first.first;
}

}  // namespace core
