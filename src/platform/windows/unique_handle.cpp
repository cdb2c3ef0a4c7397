#include <stdexcept>

#include "platform/windows/internal.h"

namespace platform::windows_os {

UniqueHandle MakeEvent() {
  UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event.valid()) throw std::runtime_error("CreateEvent failed");
  return event;
}

}  // namespace platform::windows_os
