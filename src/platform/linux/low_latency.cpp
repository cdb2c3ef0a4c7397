#include <linux/serial.h>

#include <cerrno>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

// ENOTTY and EINVAL: a terminal or driver without the setting (pseudo-terminals,
// several USB adapters); EPERM: a driver that counts any change as a privileged
// one. The port works all the same, only not as fast.
bool NoLatencySetting(int error) {
  return error == ENOTTY || error == EINVAL || error == EPERM;
}

}  // namespace

core::Status AskLowLatency(LineCalls& calls, int fd, const std::string& name) {
  serial_struct info{};
  if (calls.get_serial(fd, info) != 0) {
    if (NoLatencySetting(errno)) return core::Ok{};
    return core::error_from_errno("open", name);
  }
  if ((info.flags & ASYNC_LOW_LATENCY) != 0) return core::Ok{};
  // The rest of what was read goes back unchanged.
  info.flags |= ASYNC_LOW_LATENCY;
  if (calls.set_serial(fd, info) == 0 || NoLatencySetting(errno)) return core::Ok{};
  return core::error_from_errno("open", name);
}

}  // namespace platform::linux_os
