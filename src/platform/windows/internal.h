#pragma once

// What the Windows files of platform/ share with each other. Nothing outside
// platform/ includes this: the program sees only the headers at platform/'s top.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "core/event_loop.h"
#include "core/result.h"

namespace platform::windows_os {

// Owns one kernel HANDLE and closes it once. Both null and
// INVALID_HANDLE_VALUE count as none, as the system's calls return either.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  void reset(HANDLE handle = nullptr);

 private:
  HANDLE handle_ = nullptr;
};

// What the loop is given to wait on, and back.
inline core::Waitable ToWaitable(HANDLE handle) {
  return reinterpret_cast<core::Waitable>(handle);
}
inline HANDLE FromWaitable(core::Waitable handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// A manual-reset event, not signalled; throws when the system has none left.
UniqueHandle MakeEvent();

// The system's text for a Win32 error code, without its trailing line break.
std::string WinErrorText(DWORD code);

// An Error for `code` (GetLastError() by default).
core::Error WinError(std::string operation, std::string name, DWORD code = GetLastError());

}  // namespace platform::windows_os
