#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <span>

#include "clock.h"
#include "message.h"

namespace ecu_sim {

// Bytes on the line, each with the moment it has fully crossed it. Bytes follow
// one another: none is due before the one ahead of it plus the time of one byte.
class TimedByteQueue {
 public:
  // `per_byte` zero: the bytes are due at `not_before`.
  void Push(std::span<const std::uint8_t> bytes, TimePoint not_before, Duration per_byte);
  std::size_t DueCount(TimePoint now) const;
  Bytes Front(std::size_t count) const;
  void Consume(std::size_t count);
  std::optional<TimePoint> NextDue() const;
  bool empty() const { return entries_.empty(); }
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    TimePoint due;
    std::uint8_t byte = 0;
  };

  std::deque<Entry> entries_;
  TimePoint last_due_{};
};

}  // namespace ecu_sim
