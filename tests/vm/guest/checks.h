#pragma once

#include <cstdio>
#include <string>

namespace vm_guest {

// Counts and prints the checks of one run; the run fails when any check failed.
class Checks {
 public:
  bool That(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failed_;
    return ok;
  }
  int failed() const { return failed_; }

 private:
  int failed_ = 0;
};

}  // namespace vm_guest
