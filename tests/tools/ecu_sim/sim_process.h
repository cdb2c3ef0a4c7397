#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace ecu_sim_test {

// The real zek-ecu-sim binary, started with the given options; stopped (SIGTERM) when
// the object goes away.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The far end's path from the first line of output; empty when none came.
  const std::string& path() const { return path_; }
  // The exit status once it ended within `timeout_ms`; -1 for a death by signal.
  std::optional<int> WaitExit(int timeout_ms);
  // SIGTERM, then the exit status.
  std::optional<int> Terminate();

 private:
  pid_t pid_ = -1;
  std::string path_;
  std::optional<int> status_;
};

}  // namespace ecu_sim_test
