#include "platform/poll_loop.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/common/steady_timers.h"
#include "platform/windows/internal.h"

namespace platform {

namespace {

using windows_os::FromWaitable;
using windows_os::UniqueHandle;

// One wait takes the wake-up event and at most this many watched handles.
constexpr std::size_t max_watched = MAXIMUM_WAIT_OBJECTS - 1;

}  // namespace

// MsgWaitForMultipleObjectsEx over the watched handles, with the next timer as
// its time-out, waking for window messages too: a window on this thread is
// served by the same loop. An auto-reset event wakes it when another thread
// hands work over or `quit` is called.
struct PollLoop::State {
  State() : wake(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    if (!wake.valid()) throw std::runtime_error("PollLoop: CreateEvent failed");
  }

  DWORD wait_for(std::int64_t max_wait_ms) const {
    const std::int64_t t = timers.wait_for(max_wait_ms);
    if (t < 0) return INFINITE;
    return t >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(t);
  }

  void run_handed_over();
  void pump_messages();
  void call_signalled(const std::vector<Id>& ids, std::size_t woken);

  SteadyTimers timers;
  std::map<Id, std::pair<HANDLE, std::function<void()>>> watches;
  Id next_id = 1;
  bool quit = false;
  UniqueHandle wake;
  std::thread::id owner = std::this_thread::get_id();
  std::mutex mutex;
  std::condition_variable done_cv;
  std::deque<std::pair<std::function<void()>, bool*>> handed_over;
};

void PollLoop::State::run_handed_over() {
  std::unique_lock lock(mutex);
  while (!handed_over.empty()) {
    auto [fn, done] = std::move(handed_over.front());
    handed_over.pop_front();
    lock.unlock();
    fn();
    lock.lock();
    *done = true;
    done_cv.notify_all();
  }
}

void PollLoop::State::pump_messages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// The wait names only the first signalled handle and has already taken the
// signal of an auto-reset event; the others are looked at again without waiting,
// so that every ready handle is served in one round and none starves.
void PollLoop::State::call_signalled(const std::vector<Id>& ids, std::size_t woken) {
  for (std::size_t i = 0; i < ids.size(); ++i) {
    auto it = watches.find(ids[i]);
    if (it == watches.end()) continue;  // unwatched by an earlier handler this round
    if (i != woken && ::WaitForSingleObject(it->second.first, 0) != WAIT_OBJECT_0) continue;
    auto fn = it->second.second;
    fn();
  }
}

PollLoop::PollLoop() : state_(std::make_unique<State>()) {}

PollLoop::~PollLoop() = default;

std::int64_t PollLoop::now() const {
  return SteadyTimers::now_ms();
}

std::int64_t PollLoop::now_us() const {
  return SteadyTimers::now_us();
}

core::EventLoop::Id PollLoop::schedule(std::int64_t delay_ms, std::function<void()> fn) {
  const Id id = state_->next_id++;
  state_->timers.add(id, delay_ms, std::move(fn));
  return id;
}

void PollLoop::cancel(Id id) {
  state_->timers.cancel(id);
}

core::EventLoop::Id PollLoop::watch_readable(core::Waitable handle, std::function<void()> fn) {
  if (state_->watches.size() >= max_watched) {
    throw std::length_error("PollLoop: too many handles to wait on");
  }
  const Id id = state_->next_id++;
  state_->watches.emplace(id, std::make_pair(FromWaitable(handle), std::move(fn)));
  return id;
}

void PollLoop::unwatch(Id id) {
  state_->watches.erase(id);
}

void PollLoop::invoke_and_wait(std::function<void()> fn) {
  if (std::this_thread::get_id() == state_->owner) {
    fn();
    return;
  }
  bool done = false;
  std::unique_lock lock(state_->mutex);
  state_->handed_over.emplace_back(std::move(fn), &done);
  ::SetEvent(state_->wake.get());
  state_->done_cv.wait(lock, [&] { return done; });
}

void PollLoop::quit() {
  state_->quit = true;
  ::SetEvent(state_->wake.get());
}

void PollLoop::run() {
  state_->quit = false;
  while (!state_->quit) run_once(-1);
}

void PollLoop::run_ready() {
  State& s = *state_;
  std::vector<Id> ids;
  for (const auto& [id, w] : s.watches) ids.push_back(id);
  s.call_signalled(ids, ids.size());
  s.run_handed_over();
  s.timers.run_due();
}

void PollLoop::run_once(std::int64_t max_wait_ms) {
  State& s = *state_;
  std::vector<HANDLE> handles{s.wake.get()};
  std::vector<Id> ids;
  for (const auto& [id, w] : s.watches) {
    handles.push_back(w.first);
    ids.push_back(id);
  }
  const DWORD r =
      ::MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(),
                                    s.wait_for(max_wait_ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  const DWORD first = WAIT_OBJECT_0 + 1;
  if (r >= first && r < WAIT_OBJECT_0 + handles.size()) {
    s.call_signalled(ids, r - first);
  } else if (r == WAIT_OBJECT_0 + handles.size() || r == WAIT_OBJECT_0) {
    s.call_signalled(ids, ids.size());
  } else if (r == WAIT_FAILED) {
    // A watched handle was closed while still watched: a fault of ours that
    // would otherwise spin here.
    throw std::runtime_error("PollLoop: wait failed, win error " +
                             std::to_string(::GetLastError()));
  }
  s.pump_messages();
  s.run_handed_over();
  s.timers.run_due();
}

}  // namespace platform
