// Windows' part of the loop suite, run under Wine: a manual-reset event stands
// for the handles the program watches; and the window messages that a window
// sharing the loop depends on.
#include <windows.h>

#include <thread>

#include "loop_conformance.h"
#include "platform/poll_loop.h"

namespace {

class Event : public Readable {
 public:
  core::Waitable handle() const override { return reinterpret_cast<core::Waitable>(event_); }
  void set() override { ::SetEvent(event_); }
  void clear() override { ::ResetEvent(event_); }
  ~Event() override { ::CloseHandle(event_); }

 private:
  HANDLE event_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A message posted from another thread wakes the loop, reaches its window, and
// WM_QUIT ends run() as quit() does.
TEST(PollLoop, DispatchesWindowMessagesAndEndsOnWmQuit) {
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

std::unique_ptr<Readable> MakeSystemReadable() {
  return std::make_unique<Event>();
}

std::int64_t ThreadCpuMicros() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto micros = [](const FILETIME& t) {
    return static_cast<std::int64_t>((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10;
  };
  return micros(kernel) + micros(user);
}

// Wine's timers are coarser than Linux's own, and it counts a thread's time in
// the kernel's 10 ms ticks.
SystemSlack SystemSlackOf() {
  return {.late_ms = 100, .cpu_step_us = 10000};
}
