#pragma once

#include <string>
#include <vector>

#include "process.h"

namespace ecu_sim_test {

// The real zek-ecu-sim binary, started with the given options; stopped (SIGTERM) when
// the object goes away.
class SimProcess : public Background {
 public:
  explicit SimProcess(const std::vector<std::string>& args) : Background(ZEK_ECU_SIM_PATH, args) {}

  // The far end's path from the first line of output; empty when none came.
  const std::string& path() const { return first_line(); }
  // SIGTERM, then the exit status.
  std::optional<int> Terminate() { return Stop(); }
};

}  // namespace ecu_sim_test
