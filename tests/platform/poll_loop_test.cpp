#include "platform/poll_loop.h"

#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

std::int64_t ThreadCpuMicros() {
  timespec ts{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// Runs rounds until `done` holds or two seconds pass.
template <class F>
void RunUntil(platform::PollLoop& loop, F done) {
  const std::int64_t give_up = loop.now() + 2000;
  while (!done() && loop.now() < give_up) loop.run_once(100);
}

TEST(PollLoop, TimersFireAtTheirTimeInOrder) {
  platform::PollLoop loop;
  std::vector<std::pair<int, std::int64_t>> fired;
  const std::int64_t start = loop.now();
  for (int delay : {80, 30, 30, 0}) {
    loop.schedule(delay, [&, delay] { fired.emplace_back(delay, loop.now() - start); });
  }
  RunUntil(loop, [&] { return fired.size() == 4; });
  ASSERT_EQ(fired.size(), 4u);
  const int order[] = {0, 30, 30, 80};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(fired[i].first, order[i]);
    EXPECT_GE(fired[i].second, order[i]);
    EXPECT_LT(fired[i].second, order[i] + 60) << "late by " << fired[i].second - order[i];
  }
}

TEST(PollLoop, CancelledTimerNeverFires) {
  platform::PollLoop loop;
  int cancelled = 0;
  bool later = false;
  const auto id = loop.schedule(20, [&] { ++cancelled; });
  loop.schedule(60, [&] { later = true; });
  loop.cancel(id);
  loop.cancel(id);
  loop.cancel(9999);
  RunUntil(loop, [&] { return later; });
  EXPECT_TRUE(later);
  EXPECT_EQ(cancelled, 0);
}

TEST(PollLoop, ReadablePipeCallsItsHandlerUntilUnwatched) {
  platform::PollLoop loop;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  int calls = 0;
  const auto id = loop.watch_readable(fds[0], [&] { ++calls; });
  loop.run_once(50);
  EXPECT_EQ(calls, 0);
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  loop.run_once(1000);
  EXPECT_EQ(calls, 1);
  loop.unwatch(id);
  // Still readable, but nobody watches it any more.
  loop.run_once(50);
  EXPECT_EQ(calls, 1);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(PollLoop, InvokeAndWaitRunsOnTheLoopThreadAndReturnsAfterwards) {
  platform::PollLoop loop;
  const auto loop_thread = std::this_thread::get_id();
  std::thread::id ran_on;
  std::atomic<bool> returned = false;
  int value = 0;
  std::thread other([&] {
    loop.invoke_and_wait([&] {
      ran_on = std::this_thread::get_id();
      value = 42;
    });
    // The handed-over work has run by the time the call returns.
    EXPECT_EQ(value, 42);
    returned = true;
  });
  RunUntil(loop, [&] { return returned.load(); });
  other.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(ran_on, loop_thread);
}

TEST(PollLoop, QuitFromAHandlerEndsRun) {
  platform::PollLoop loop;
  loop.schedule(10, [&] { loop.quit(); });
  const std::int64_t start = loop.now();
  loop.run();
  EXPECT_LT(loop.now() - start, 1000);
}

TEST(PollLoop, IdleRoundSleepsWithoutSpinning) {
  platform::PollLoop loop;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  loop.watch_readable(fds[0], [] {});
  const std::int64_t start = loop.now();
  const std::int64_t cpu = ThreadCpuMicros();
  loop.run_once(200);
  const std::int64_t waited = loop.now() - start;
  const std::int64_t used = ThreadCpuMicros() - cpu;
  EXPECT_GE(waited, 199);
  EXPECT_LT(waited, 400);
  EXPECT_LT(used, 10000) << "CPU time in microseconds";
  ::close(fds[0]);
  ::close(fds[1]);
}

}  // namespace
