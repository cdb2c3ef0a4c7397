// The Qt event loop: timers at their time, cancelling, readable descriptors,
// hand-over from other threads, and the hook the window syncs on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTest>
#include <QThread>
#include <thread>
#include <vector>

#include "qt/qt_event_loop.h"

namespace {

// Lets the Qt loop run until `done` or `limit_ms` passed.
template <class Done>
bool RunUntil(Done done, int limit_ms = 2000) {
  return QTest::qWaitFor(done, limit_ms);
}

TEST(QtEventLoopTest, ScheduledCallsFireAtTheirTime) {
  const std::int64_t delays[] = {0, 10, 30, 100, 250};
  for (std::int64_t delay : delays) {
    qtui::QtEventLoop loop;
    std::int64_t fired_at = -1;
    const std::int64_t start = loop.now();
    loop.schedule(delay, [&] { fired_at = loop.now(); });
    ASSERT_TRUE(RunUntil([&] { return fired_at >= 0; })) << delay;
    EXPECT_GE(fired_at - start, delay);
    // Precise timers: a loaded machine may be late, never this late.
    EXPECT_LE(fired_at - start, delay + 50);
  }
}

TEST(QtEventLoopTest, CallsRunInTheOrderTheyFallDue) {
  qtui::QtEventLoop loop;
  std::vector<int> order;
  loop.schedule(60, [&] { order.push_back(3); });
  loop.schedule(20, [&] { order.push_back(1); });
  loop.schedule(20, [&] { order.push_back(2); });
  ASSERT_TRUE(RunUntil([&] { return order.size() == 3; }));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(QtEventLoopTest, CancelledCallsDoNotRun) {
  qtui::QtEventLoop loop;
  int runs = 0;
  bool later = false;
  const auto id = loop.schedule(20, [&] { ++runs; });
  loop.schedule(60, [&] { later = true; });
  loop.cancel(id);
  loop.cancel(id);      // twice
  loop.cancel(987654);  // unknown
  ASSERT_TRUE(RunUntil([&] { return later; }));
  EXPECT_EQ(runs, 0);
}

TEST(QtEventLoopTest, ACallMayCancelAnotherDueAtTheSameTime) {
  qtui::QtEventLoop loop;
  bool second_ran = false;
  bool end = false;
  core::EventLoop::Id second = 0;
  loop.schedule(20, [&] { loop.cancel(second); });
  second = loop.schedule(20, [&] { second_ran = true; });
  loop.schedule(80, [&] { end = true; });
  ASSERT_TRUE(RunUntil([&] { return end; }));
  EXPECT_FALSE(second_ran);
}

TEST(QtEventLoopTest, ReadableDescriptorIsReportedUntilUnwatched) {
  qtui::QtEventLoop loop;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  int calls = 0;
  const auto id = loop.watch_readable(fds[0], [&] {
    char c = 0;
    ASSERT_EQ(::read(fds[0], &c, 1), 1);
    ++calls;
  });
  EXPECT_FALSE(RunUntil([&] { return calls > 0; }, 50));
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  ASSERT_TRUE(RunUntil([&] { return calls == 1; }));
  loop.unwatch(id);
  ASSERT_EQ(::write(fds[1], "y", 1), 1);
  EXPECT_FALSE(RunUntil([&] { return calls > 1; }, 100));
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(QtEventLoopTest, AHandlerMayUnwatchItself) {
  qtui::QtEventLoop loop;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  int calls = 0;
  core::EventLoop::Id id = 0;
  // Never reads: left watched, the descriptor would be reported over and over.
  id = loop.watch_readable(fds[0], [&] {
    ++calls;
    loop.unwatch(id);
  });
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  ASSERT_TRUE(RunUntil([&] { return calls > 0; }));
  EXPECT_FALSE(RunUntil([&] { return calls > 1; }, 100));
  EXPECT_EQ(calls, 1);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(QtEventLoopTest, HandOverRunsOnTheLoopsThreadAndWaits) {
  qtui::QtEventLoop loop;
  QThread* ran_on = nullptr;
  bool returned = false;
  bool ran_before_return = false;
  std::thread worker([&] {
    loop.invoke_and_wait([&] { ran_on = QThread::currentThread(); });
    ran_before_return = ran_on != nullptr;
    returned = true;
  });
  ASSERT_TRUE(RunUntil([&] { return ran_on != nullptr; }));
  worker.join();
  EXPECT_EQ(ran_on, QThread::currentThread());
  EXPECT_TRUE(returned);
  EXPECT_TRUE(ran_before_return);
}

TEST(QtEventLoopTest, HandOverOnTheLoopsOwnThreadRunsAtOnce) {
  qtui::QtEventLoop loop;
  bool ran = false;
  loop.invoke_and_wait([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(QtEventLoopTest, HookRunsAfterEveryCall) {
  qtui::QtEventLoop loop;
  std::vector<std::string> log;
  loop.after_event = [&] { log.push_back("sync"); };
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const auto watch = loop.watch_readable(fds[0], [&] {
    char c = 0;
    ASSERT_EQ(::read(fds[0], &c, 1), 1);
    log.push_back("read");
  });
  loop.schedule(5, [&] {
    log.push_back("timer");
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
  });
  ASSERT_TRUE(RunUntil([&] { return log.size() == 4; }));
  EXPECT_EQ(log, (std::vector<std::string>{"timer", "sync", "read", "sync"}));
  loop.unwatch(watch);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(QtEventLoopTest, ClockIsMonotonicMilliseconds) {
  qtui::QtEventLoop loop;
  const std::int64_t a = loop.now();
  QTest::qWait(30);
  const std::int64_t b = loop.now();
  EXPECT_GE(b - a, 30);
  EXPECT_LT(b - a, 500);
}

}  // namespace
