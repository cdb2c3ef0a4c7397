#include "win32/modal_pump.h"

namespace win32ui {

namespace {

const char* const pump_class = "ZekModalPump";
constexpr UINT tick_ms = USER_TIMER_MINIMUM;

}  // namespace

ModalPump::ModalPump(std::function<void()> tick) : tick_(std::move(tick)) {
  if (!tick_) return;
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  if (!::GetClassInfoExA(instance, pump_class, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = pump_class;
    ::RegisterClassExA(&wc);
  }
  window_ =
      ::CreateWindowExA(0, pump_class, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window_ == nullptr) return;
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetTimer(window_, 1, tick_ms, nullptr);
}

ModalPump::~ModalPump() {
  if (window_ == nullptr) return;
  ::KillTimer(window_, 1);
  ::DestroyWindow(window_);
}

LRESULT CALLBACK ModalPump::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* pump = reinterpret_cast<ModalPump*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  // A tick that opens a dialog of its own gets a pump of its own; this one waits.
  if (msg == WM_TIMER && pump != nullptr && !pump->ticking_) {
    pump->ticking_ = true;
    pump->tick_();
    pump->ticking_ = false;
    return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace win32ui
