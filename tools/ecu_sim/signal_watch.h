#pragma once

#include "unique_fd.h"

namespace ecu_sim {

// SIGTERM, SIGINT and SIGHUP as a readable descriptor, so that the main loop ends
// cleanly (and writes its files) instead of being killed inside a write; and
// SIGUSR1, which asks for a replug of the bridge.
class SignalWatch {
 public:
  SignalWatch();
  int fd() const { return fd_.get(); }
  bool valid() const { return fd_.valid(); }
  // Reads the signal that made the descriptor readable; 0 when none.
  int Take();

 private:
  UniqueFd fd_;
};

}  // namespace ecu_sim
