// The system's PollLoop in the loop suite, on Linux and, under Wine, on
// Windows; and what it promises beyond the suite: run and quit, and rounds
// that wait without using the processor.
#include <algorithm>
#include <chrono>

#include "loop_conformance.h"
#include "platform/poll_loop.h"

namespace {

class PollDriver : public LoopDriver {
 public:
  core::EventLoop& loop() override { return loop_; }

  // Short rounds notice soon what another thread has done.
  bool run_until(const std::function<bool()>& done, std::int64_t limit_ms) override {
    const std::int64_t end = own_ms() + limit_ms;
    while (!done()) {
      if (own_ms() >= end) return false;
      loop_.run_once(std::min<std::int64_t>(end - own_ms(), 10));
    }
    return true;
  }
  std::int64_t own_ms() const override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }

  std::shared_ptr<Readable> readable() override { return MakeSystemReadable(); }
  std::int64_t late_ms() const override { return SystemSlackOf().late_ms; }

 private:
  platform::PollLoop loop_;
};

const LoopKind poll_loop{"poll_loop", [] { return std::make_unique<PollDriver>(); }};
INSTANTIATE_TEST_SUITE_P(System, LoopConformance, testing::Values(poll_loop), LoopName);
INSTANTIATE_TEST_SUITE_P(System, ThreadedLoopConformance, testing::Values(poll_loop), LoopName);

TEST(PollLoop, QuitFromAHandlerEndsRun) {
  platform::PollLoop loop;
  loop.schedule(10, [&] { loop.quit(); });
  const std::int64_t start = loop.now();
  loop.run();
  EXPECT_LT(loop.now() - start, 1000);
}

TEST(PollLoop, AnIdleRoundSleepsItsTimeWithoutSpinning) {
  platform::PollLoop loop;
  const auto never = MakeSystemReadable();
  loop.watch_readable(never->handle(), [] {});
  const std::int64_t start = loop.now();
  const std::int64_t cpu = ThreadCpuMicros();
  loop.run_once(200);
  const std::int64_t waited = loop.now() - start;
  EXPECT_GE(waited, 199);
  EXPECT_LT(waited, 400);
  EXPECT_LT(ThreadCpuMicros() - cpu, 10000 + SystemSlackOf().cpu_step_us)
      << "CPU time in microseconds";
}

}  // namespace
