#pragma once

#include <chrono>

namespace ecu_sim {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;
using Duration = Clock::duration;

inline Duration Millis(long long ms) {
  return std::chrono::milliseconds(ms);
}

// Time one byte takes on the line: a start bit, 8 data bits and a stop bit.
inline Duration ByteTime(unsigned baud) {
  if (baud == 0) return Duration::zero();
  return std::chrono::duration_cast<Duration>(std::chrono::nanoseconds(10'000'000'000LL / baud));
}

}  // namespace ecu_sim
