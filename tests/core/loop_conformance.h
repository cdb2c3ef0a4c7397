#pragma once

// The promises every core::EventLoop keeps, held by one suite over each loop:
// the manual loop here, each system's PollLoop and the Qt loop in their own
// tests, each through a driver that lets its loop run and makes handles readable.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "core/event_loop.h"

// A handle a loop can watch, readable (or signalled) from `set` until `clear`.
class Readable {
 public:
  virtual ~Readable() = default;
  virtual core::Waitable handle() const = 0;
  virtual void set() = 0;
  virtual void clear() = 0;
};

class LoopDriver {
 public:
  virtual ~LoopDriver() = default;
  virtual core::EventLoop& loop() = 0;
  // Lets the loop run until `done` holds, at most `limit_ms`; whether it held.
  virtual bool run_until(const std::function<bool()>& done, std::int64_t limit_ms) = 0;
  // Milliseconds on a clock of the driver's own, which `run_until` goes by.
  virtual std::int64_t own_ms() const = 0;
  virtual std::shared_ptr<Readable> readable() = 0;
  // How late a call may run: none on virtual time, on a real clock what a
  // loaded machine needs.
  virtual std::int64_t late_ms() const = 0;
};

struct LoopKind {
  std::string name;
  std::function<std::unique_ptr<LoopDriver>()> make;
};

inline std::string LoopName(const testing::TestParamInfo<LoopKind>& info) {
  return info.param.name;
}
inline void PrintTo(const LoopKind& kind, std::ostream* out) {
  *out << kind.name;
}

class LoopConformance : public testing::TestWithParam<LoopKind> {
 protected:
  std::unique_ptr<LoopDriver> driver = GetParam().make();
  core::EventLoop& loop = driver->loop();
};

// The loops that other threads hand work to (all but the manual one).
class ThreadedLoopConformance : public LoopConformance {};

// What the tests of a loop need of the system they run on, from its own tests:
// a handle, the calling thread's processor time, and how exact its clocks are.
std::unique_ptr<Readable> MakeSystemReadable();
std::int64_t ThreadCpuMicros();
struct SystemSlack {
  std::int64_t late_ms;      // how late a timer may fire on a loaded machine
  std::int64_t cpu_step_us;  // the steps in which a thread's processor time is counted
};
SystemSlack SystemSlackOf();
