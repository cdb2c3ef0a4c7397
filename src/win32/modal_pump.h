#pragma once

#include <windows.h>

#include <functional>

namespace win32ui {

// While a modal dialog (a message box, the file-open dialog, a modal form)
// runs its own message loop, calls `tick` from it every few milliseconds, so
// that the program's timers and received bytes go on meanwhile. Does nothing
// for an empty `tick`.
class ModalPump {
 public:
  explicit ModalPump(std::function<void()> tick);
  ~ModalPump();
  ModalPump(const ModalPump&) = delete;
  ModalPump& operator=(const ModalPump&) = delete;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  std::function<void()> tick_;
  HWND window_ = nullptr;
  bool ticking_ = false;
};

}  // namespace win32ui
