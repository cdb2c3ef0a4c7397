#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/window.h"
#include "batch/console.h"
#include "core/event_loop.h"

namespace batch {

// Shows the download gauge as text: its title when it appears, then, on a
// terminal, a bar with the blocks, the rate and the time left, redrawn in place
// at every step; otherwise one line each time the gauge passes a further tenth,
// so that a log stays short. Each showing of the gauge (each image of a script)
// starts afresh. The gauge panel is this printer's alone; the panel watcher
// leaves it out. With JSON events every step is one progress event.
class ProgressPrinter {
 public:
  ProgressPrinter(const app::Window& window, const core::EventLoop& clock, Console& console)
      : window_(window), clock_(clock), console_(console) {}

  void Update();

 private:
  struct Speed {
    double bytes_per_s = 0;
    std::int64_t seconds_left = 0;
  };

  void Restart(const app::GaugeReading& gauge);
  // Once a rate can be measured.
  std::optional<Speed> Measure(int progress, int max) const;
  std::string RateAndTimeLeft(int progress, int max) const;
  std::string BarText(int progress, int max, int percent) const;

  const app::Window& window_;
  const core::EventLoop& clock_;
  Console& console_;
  bool shown_ = false;
  int max_ = 0;
  int last_progress_ = -1;
  int last_tenth_ = 0;
  bool timing_ = false;
  int start_progress_ = 0;
  // Microseconds: a fast link acknowledges blocks well within a millisecond.
  std::int64_t started_us_ = 0;
};

}  // namespace batch
