#include "line_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

long LineOutputSpeed(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return -1;
  return static_cast<long>(t.c_ospeed);
}
