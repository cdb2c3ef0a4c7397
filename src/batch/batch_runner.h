#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "app/composition.h"
#include "batch/console.h"
#include "batch/options.h"
#include "core/event_loop.h"
#include "core/trace.h"

namespace batch {

// What a run talks to. The real program passes the poll loop and the standard
// streams, and leaves the systems to the composition root; tests pass virtual
// time and fakes.
struct RunnerParts {
  core::EventLoop& loop;
  // Handles one round of events, waiting at most `max_wait_ms` (-1: until something happens).
  std::function<void(std::int64_t max_wait_ms)> run_once;
  // The systems to talk to; none: the machine's own.
  const app::Systems* systems = nullptr;
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool out_is_terminal = false;  // draw the progress bar in place
  bool in_is_terminal = false;   // a person can answer the question at the ready panel
  std::string executable_path;
  core::Trace* trace = nullptr;  // the support trace, when one is written
};

// One run of zekflash-cli that connects: the main window without a window,
// driven through its buttons until the download finished or stopped, or until
// nothing more can happen (app::Window::Idle).
class BatchRunner {
 public:
  BatchRunner(Options options, RunnerParts parts)
      : options_(std::move(options)), parts_(std::move(parts)) {}

  // The exit status: 0 when the download finished, 1 when it stopped any other way.
  int Run();

 private:
  struct Ending {
    int status = 1;
    std::string reason;
  };

  Ending Drive(app::Composition& program, Console& console);

  Options options_;
  RunnerParts parts_;
};

}  // namespace batch
