#include "timed_byte_queue.h"

#include <algorithm>

namespace ecu_sim {

void TimedByteQueue::Push(std::span<const std::uint8_t> bytes, TimePoint not_before,
                          Duration per_byte) {
  for (std::uint8_t byte : bytes) {
    last_due_ = std::max(not_before, last_due_) + per_byte;
    entries_.push_back({last_due_, byte});
  }
}

std::size_t TimedByteQueue::DueCount(TimePoint now) const {
  std::size_t count = 0;
  while (count < entries_.size() && entries_[count].due <= now) ++count;
  return count;
}

Bytes TimedByteQueue::Front(std::size_t count) const {
  Bytes bytes;
  count = std::min(count, entries_.size());
  bytes.reserve(count);
  for (std::size_t i = 0; i < count; ++i) bytes.push_back(entries_[i].byte);
  return bytes;
}

void TimedByteQueue::Consume(std::size_t count) {
  entries_.erase(entries_.begin(),
                 entries_.begin() + static_cast<std::ptrdiff_t>(std::min(count, entries_.size())));
}

std::optional<TimePoint> TimedByteQueue::NextDue() const {
  if (entries_.empty()) return std::nullopt;
  return entries_.front().due;
}

}  // namespace ecu_sim
