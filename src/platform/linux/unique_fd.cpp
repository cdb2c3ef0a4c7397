#include <unistd.h>

#include "platform/linux/internal.h"

namespace platform::linux_os {

void UniqueFd::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

}  // namespace platform::linux_os
