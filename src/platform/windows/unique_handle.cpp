#include <stdexcept>

#include "platform/windows/internal.h"

namespace platform::windows_os {

void UniqueHandle::reset(HANDLE handle) {
  if (valid()) ::CloseHandle(handle_);
  handle_ = handle;
}

UniqueHandle MakeEvent() {
  UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event.valid()) throw std::runtime_error("CreateEvent failed");
  return event;
}

}  // namespace platform::windows_os
