// The Windows loop, run under Wine: handles, work from other threads, and the
// window messages a window sharing the loop depends on.
#include "platform/poll_loop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

core::Waitable AsWaitable(HANDLE h) {
  return reinterpret_cast<core::Waitable>(h);
}

template <class F>
void RunUntil(platform::PollLoop& loop, F done) {
  const std::int64_t give_up = loop.now() + 2000;
  while (!done() && loop.now() < give_up) loop.run_once(100);
}

TEST(WindowsLoop, TimersFireInOrderNotBeforeTheirTime) {
  platform::PollLoop loop;
  std::vector<std::pair<int, std::int64_t>> fired;
  const std::int64_t start = loop.now();
  for (int delay : {80, 30, 30, 0}) {
    loop.schedule(delay, [&, delay] { fired.emplace_back(delay, loop.now() - start); });
  }
  loop.cancel(loop.schedule(10, [&] { fired.emplace_back(-1, 0); }));
  RunUntil(loop, [&] { return fired.size() == 4; });
  ASSERT_EQ(fired.size(), 4u);
  const int order[] = {0, 30, 30, 80};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(fired[i].first, order[i]);
    EXPECT_GE(fired[i].second, order[i]);
    EXPECT_LT(fired[i].second, order[i] + 100) << "late by " << fired[i].second - order[i];
  }
}

// Manual-reset events stay signalled: each set handle is served every round
// (two at once included) until it is reset or unwatched; a clear one waits.
TEST(WindowsLoop, SignalledHandlesAreServedEveryRoundUntilUnwatched) {
  platform::PollLoop loop;
  HANDLE a = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE b = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  int calls_a = 0, calls_b = 0;
  const auto id_a = loop.watch_readable(AsWaitable(a), [&] { ++calls_a; });
  loop.watch_readable(AsWaitable(b), [&] { ++calls_b; });
  const std::int64_t start = loop.now();
  loop.run_once(50);
  EXPECT_EQ(calls_a + calls_b, 0);
  EXPECT_GE(loop.now() - start, 49);
  ::SetEvent(a);
  ::SetEvent(b);
  loop.run_once(1000);
  EXPECT_EQ(calls_a, 1);
  EXPECT_EQ(calls_b, 1);
  ::ResetEvent(b);
  loop.unwatch(id_a);
  loop.run_once(50);
  EXPECT_EQ(calls_a, 1) << "unwatched";
  EXPECT_EQ(calls_b, 1) << "reset";
  ::CloseHandle(a);
  ::CloseHandle(b);
}

TEST(WindowsLoop, InvokeAndWaitRunsOnTheLoopThreadAndReturnsAfterwards) {
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
    EXPECT_EQ(value, 42);
    returned = true;
  });
  RunUntil(loop, [&] { return returned.load(); });
  other.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(ran_on, loop_thread);
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A message posted from another thread wakes the loop, reaches its window, and
// WM_QUIT ends run() as quit() does.
TEST(WindowsLoop, DispatchesWindowMessagesAndEndsOnWmQuit) {
  platform::PollLoop loop;
  WNDCLASSW wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"zek-loop-test";
  ASSERT_NE(::RegisterClassW(&wc), 0);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  int delivered = 0;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&delivered));
  const DWORD loop_thread = ::GetCurrentThreadId();
  std::thread other([&] {
    ::Sleep(50);
    ::PostMessageW(hwnd, WM_APP, 0, 0);
    ::Sleep(50);
    ::PostThreadMessageW(loop_thread, WM_QUIT, 0, 0);
  });
  const std::int64_t start = loop.now();
  loop.schedule(3000, [&] { loop.quit(); });
  loop.run();
  other.join();
  EXPECT_EQ(delivered, 1);
  EXPECT_LT(loop.now() - start, 1000) << "WM_QUIT did not end run()";
  ::DestroyWindow(hwnd);
}

}  // namespace
