#include <unistd.h>

#include "platform/linux/internal.h"

namespace platform::linux_os {

void FdTraits::close(int fd) {
  ::close(fd);
}

}  // namespace platform::linux_os
