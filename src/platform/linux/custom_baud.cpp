#include <asm/termbits.h>
#include <sys/ioctl.h>

#include "platform/linux/internal.h"

namespace platform::linux_os {

bool SetCustomBaud(int fd, int baud) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  t.c_ispeed = static_cast<speed_t>(baud);
  t.c_ospeed = static_cast<speed_t>(baud);
  return ::ioctl(fd, TCSETS2, &t) == 0;
}

// The kernel fills c_ospeed whichever way the rate was set, and a driver that
// runs another rate than asked writes that rate there.
bool ReadOutputBaud(int fd, long& baud) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  baud = static_cast<long>(t.c_ospeed);
  return true;
}

}  // namespace platform::linux_os
