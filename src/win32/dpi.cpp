#include "win32/dpi.h"

#include <windows.h>

namespace win32ui {

namespace {

// Looked up at run time: older systems, and older Wines, lack the newer calls.
template <class F>
F Find(const char* name) {
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

}  // namespace

double DeclareDpiAwareAndGetScale() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  using SetAware = BOOL(WINAPI*)();
  using DpiForSystem = UINT(WINAPI*)();
  // DPI_AWARENESS_CONTEXT_SYSTEM_AWARE, by value: drawn at the dpi of the
  // screens at start; on a screen of another dpi the system scales the window.
  const auto system_aware = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));
  bool declared = false;
  if (auto set_context = Find<SetContext>("SetProcessDpiAwarenessContext")) {
    declared = set_context(system_aware) != FALSE;
  }
  if (!declared) {
    if (auto set_aware = Find<SetAware>("SetProcessDPIAware")) set_aware();
  }
  UINT dpi = 0;
  if (auto for_system = Find<DpiForSystem>("GetDpiForSystem")) dpi = for_system();
  if (dpi == 0) {
    HDC screen = ::GetDC(nullptr);
    dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
    ::ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi / 96.0 : 1.0;
}

}  // namespace win32ui
