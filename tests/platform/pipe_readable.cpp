// Linux's part of the loop suite: a pipe stands for the descriptors the
// program watches, and the thread's CPU time shows a loop that spins.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include "loop_conformance.h"

namespace {

class Pipe : public Readable {
 public:
  Pipe() { EXPECT_EQ(::pipe2(fds_, O_NONBLOCK | O_CLOEXEC), 0); }
  ~Pipe() override {
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  core::Waitable handle() const override { return fds_[0]; }
  void set() override { EXPECT_EQ(::write(fds_[1], "x", 1), 1); }
  void clear() override {
    char bytes[16];
    while (::read(fds_[0], bytes, sizeof bytes) > 0) {
    }
  }

 private:
  int fds_[2] = {-1, -1};
};

}  // namespace

std::unique_ptr<Readable> MakeSystemReadable() {
  return std::make_unique<Pipe>();
}

std::int64_t ThreadCpuMicros() {
  timespec ts{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

SystemSlack SystemSlackOf() {
  return {.late_ms = 60, .cpu_step_us = 0};
}
