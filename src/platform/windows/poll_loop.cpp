#include "platform/poll_loop.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/common/loop_core.h"
#include "platform/windows/internal.h"

namespace platform {

namespace {

using windows_os::FromWaitable;
using windows_os::UniqueHandle;

DWORD Timeout(std::int64_t wait_ms) {
  if (wait_ms < 0) return INFINITE;
  return static_cast<DWORD>(std::min<std::int64_t>(wait_ms, INFINITE - 1));
}

// MsgWaitForMultipleObjectsEx over the watched handles, waking for window
// messages too: a window on this thread is served by the same loop. An
// auto-reset event wakes it when another thread hands work over or `quit` is
// called. One wait takes the wake-up event and at most MAXIMUM_WAIT_OBJECTS - 1
// watched handles.
class MessageWait : public LoopCore {
 public:
  MessageWait()
      : LoopCore(MAXIMUM_WAIT_OBJECTS - 1), wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    if (!wake_.valid()) throw std::runtime_error("PollLoop: CreateEvent failed");
  }

  // Calls the watches of the handles signalled now, without waiting and
  // without taking window messages.
  void call_ready() { call_signalled(ids(), none_woken); }

 private:
  static constexpr std::size_t none_woken = static_cast<std::size_t>(-1);

  void wait(std::int64_t wait_ms) override {
    std::vector<HANDLE> handles{wake_.get()};
    const std::vector<Id> watched = ids();
    for (const Id id : watched) handles.push_back(FromWaitable(watches().at(id).handle));
    const DWORD r =
        ::MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(),
                                      Timeout(wait_ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    const DWORD first = WAIT_OBJECT_0 + 1;
    if (r >= first && r < WAIT_OBJECT_0 + handles.size()) {
      call_signalled(watched, r - first);
    } else if (r == WAIT_OBJECT_0 + handles.size() || r == WAIT_OBJECT_0) {
      call_signalled(watched, none_woken);
    } else if (r == WAIT_FAILED) {
      // A watched handle was closed while still watched: a fault of ours that
      // would otherwise spin here.
      throw std::runtime_error("PollLoop: wait failed, win error " +
                               std::to_string(::GetLastError()));
    }
    pump_messages();
  }

  void wake() override { ::SetEvent(wake_.get()); }

  std::vector<Id> ids() const {
    std::vector<Id> ids;
    for (const auto& [id, watch] : watches()) ids.push_back(id);
    return ids;
  }

  // The wait names only the first signalled handle (`woken`) and has already
  // taken the signal of an auto-reset event; the others are looked at again
  // without waiting, so that every ready handle is served in one round and
  // none starves.
  void call_signalled(const std::vector<Id>& ids, std::size_t woken) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
      const auto it = watches().find(ids[i]);
      if (it == watches().end()) continue;  // unwatched by an earlier handler this round
      if (i != woken &&
          ::WaitForSingleObject(FromWaitable(it->second.handle), 0) != WAIT_OBJECT_0) {
        continue;
      }
      call_watch(ids[i]);
    }
  }

  void pump_messages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        end_run();
        continue;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }

  UniqueHandle wake_;
};

}  // namespace

PollLoop::PollLoop() : core_(std::make_unique<MessageWait>()) {}

// A modal dialog's own message loop takes the window messages itself.
void PollLoop::run_ready() {
  static_cast<MessageWait&>(*core_).call_ready();
  core_->finish_round();
}

}  // namespace platform
