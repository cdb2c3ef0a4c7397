#include "loop_conformance.h"

#include <atomic>
#include <map>
#include <thread>

namespace {

TEST_P(LoopConformance, CallsRunInTheOrderTheyFallDueAtTheirTime) {
  const std::int64_t start = loop.now();
  std::int64_t seen = start;
  // The clock never goes back: a call that ran ahead of it would make it.
  const auto look = [&] {
    EXPECT_GE(loop.now(), seen) << "the clock went back";
    seen = loop.now();
    return seen - start;
  };
  std::string order;
  std::map<char, std::int64_t> at;
  const auto note = [&](char name) {
    order += name;
    at[name] = look();
  };
  const std::pair<char, int> calls[] = {{'f', 250}, {'c', 30}, {'e', 100}, {'d', 30}, {'b', 10}};
  for (const auto& [name, delay] : calls) loop.schedule(delay, [&note, name] { note(name); });
  loop.schedule(0, [&] {
    note('0');
    loop.schedule(5, [&] { note('a'); });  // from a call: 5 after it
  });
  ASSERT_TRUE(driver->run_until([&] { return look() >= 0 && order.size() == 7; }, 2000)) << order;
  EXPECT_EQ(order, "0abcdef") << "equal times in the order they were scheduled";
  const std::map<char, std::int64_t> due = {{'0', 0},  {'a', at['0'] + 5}, {'b', 10}, {'c', 30},
                                            {'d', 30}, {'e', 100},         {'f', 250}};
  for (const auto& [name, time] : due) {
    EXPECT_GE(at[name], time) << name << " ran early";
    EXPECT_LE(at[name], time + driver->late_ms()) << name << " ran late";
  }
}

TEST_P(LoopConformance, CancelledCallsNeverRun) {
  int ran = 0;
  bool end = false;
  core::EventLoop::Id second = 0;
  loop.schedule(20, [&] { loop.cancel(second); });
  second = loop.schedule(20, [&] { ++ran; });  // due with the call that cancels it
  const auto id = loop.schedule(10, [&] { ++ran; });
  loop.cancel(id);
  loop.cancel(id);
  loop.cancel(987654);  // never given
  loop.schedule(60, [&] { end = true; });
  ASSERT_TRUE(driver->run_until([&] { return end; }, 2000));
  EXPECT_EQ(ran, 0);
}

TEST_P(LoopConformance, ReadableHandlesAreServedUntilUnwatched) {
  const auto a = driver->readable();
  const auto b = driver->readable();
  int calls_a = 0;
  int calls_b = 0;
  const auto watch_a = loop.watch_readable(a->handle(), [&] {
    ++calls_a;
    a->clear();
  });
  core::EventLoop::Id watch_b = 0;
  // Never cleared: still watched, it would be served over and over.
  watch_b = loop.watch_readable(b->handle(), [&] {
    ++calls_b;
    loop.unwatch(watch_b);
  });
  EXPECT_FALSE(driver->run_until([&] { return calls_a + calls_b > 0; }, 50)) << "not readable";
  a->set();
  b->set();
  ASSERT_TRUE(driver->run_until([&] { return calls_a == 1 && calls_b == 1; }, 2000));
  EXPECT_FALSE(driver->run_until([&] { return calls_a + calls_b > 2; }, 100))
      << "served again, cleared or unwatched by its own handler";
  a->set();
  ASSERT_TRUE(driver->run_until([&] { return calls_a == 2; }, 2000)) << "readable again";
  loop.unwatch(watch_a);
  a->set();
  EXPECT_FALSE(driver->run_until([&] { return calls_a > 2; }, 100)) << "readable, unwatched";
}

TEST_P(LoopConformance, WorkHandedOverOnTheLoopThreadRunsAtOnce) {
  bool ran = false;
  loop.invoke_and_wait([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST_P(LoopConformance, ClockKeepsTheDriversTimeInMillisecondsAndMicroseconds) {
  // Each reading of the loop's clock is taken between two of the driver's own;
  // a real clock's milliseconds may round either way.
  const std::int64_t round = driver->late_ms() > 0 ? 1 : 0;
  const std::int64_t own_0 = driver->own_ms();
  const std::int64_t ms = loop.now();
  const std::int64_t us = loop.now_us();
  const std::int64_t own_1 = driver->own_ms();
  driver->run_until([] { return false; }, 30);
  const std::int64_t own_2 = driver->own_ms();
  const std::int64_t ms_passed = loop.now() - ms;
  const std::int64_t us_passed = loop.now_us() - us;
  const std::int64_t own_3 = driver->own_ms();
  EXPECT_GE(own_2 - own_1, 30);
  for (const std::int64_t passed : {ms_passed, us_passed / 1000}) {
    EXPECT_GE(passed, own_2 - own_1 - round);
    EXPECT_LE(passed, own_3 - own_0 + round);
  }
}

TEST_P(ThreadedLoopConformance, WorkHandedOverRunsOnTheLoopThreadBeforeTheCallerGoesOn) {
  const auto loop_thread = std::this_thread::get_id();
  std::thread::id ran_on;
  bool ran_before_return = false;
  std::atomic<bool> returned = false;
  std::thread other([&] {
    loop.invoke_and_wait([&] { ran_on = std::this_thread::get_id(); });
    ran_before_return = ran_on == loop_thread;
    returned = true;
  });
  const bool done = driver->run_until([&] { return returned.load(); }, 2000);
  other.join();
  EXPECT_TRUE(done);
  EXPECT_TRUE(ran_before_return);
}

}  // namespace

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ThreadedLoopConformance);
