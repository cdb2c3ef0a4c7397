#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// A program run to its end (or killed at a time limit), with what it printed.
struct Finished {
  std::optional<int> status;  // nothing when it was killed at the time limit
  std::string out;
  std::string err;
  double seconds = 0;
};

Finished RunToEnd(const std::string& program, const std::vector<std::string>& args,
                  const std::vector<std::string>& extra_env, int limit_ms);

// A program left running in the background; stopped with SIGTERM when dropped.
class Background {
 public:
  Background(const std::string& program, const std::vector<std::string>& args);
  ~Background();
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  // The first line it printed (read at start), e.g. the simulated unit's port.
  const std::string& first_line() const { return first_line_; }
  // The exit status once it ended within `limit_ms`; -1 for a death by signal.
  std::optional<int> WaitExit(int limit_ms);
  // SIGTERM and the exit status (waits at most 5 s).
  std::optional<int> Stop();

 private:
  pid_t pid_ = -1;
  std::string first_line_;
  std::optional<int> status_;
};
