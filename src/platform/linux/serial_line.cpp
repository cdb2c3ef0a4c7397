#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

// Drivers may round a rate to what their divisors make; receivers cope with
// about 2 % between the two ends' clocks. The kernel matches rates to the
// constants with the same margin.
bool RunsAt(long actual, int wanted) {
  const long off = actual > wanted ? actual - wanted : wanted - actual;
  return off * 50 <= wanted;
}

void MakeRaw(termios& t) {
  ::cfmakeraw(&t);
  t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR | PARMRK | BRKINT);
  // A unit that powers off pulls the line low: a break, which would otherwise
  // arrive as a 0x00 byte that no reply begins with.
  t.c_iflag |= IGNBRK;
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  // One byte wanted: with O_NONBLOCK an empty queue then gives EAGAIN, so a
  // read of 0 can only mean the far end is gone.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

}  // namespace

core::Status ConfigureRawLine(int fd, const std::string& name) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return core::error_from_errno("configure", name);
  MakeRaw(t);
  ::cfsetispeed(&t, B115200);
  ::cfsetospeed(&t, B115200);
  if (::tcsetattr(fd, TCSANOW, &t) != 0) return core::error_from_errno("configure", name);
  return core::Ok{};
}

core::Status SetLineBaud(LineCalls& calls, int fd, int baud, const std::string& name) {
  if (baud <= 0) return core::Error{"set baud rate", name, EINVAL, "unsupported baud rate"};
  if (calls.set_rate(fd, baud) != 0) return core::error_from_errno("set baud rate", name);
  long actual = 0;
  if (calls.read_rate(fd, actual) != 0) return core::error_from_errno("set baud rate", name);
  if (RunsAt(actual, baud)) return core::Ok{};
  return core::Error{"set baud rate", name, 0,
                     "the port cannot run at " + std::to_string(baud) + " baud; its driver set " +
                         std::to_string(actual)};
}

core::Status ClearModemLines(int fd, const std::string& name) {
  const int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIC, &lines) == 0 || errno == ENOTTY || errno == EINVAL) return core::Ok{};
  return core::error_from_errno("clear DTR and RTS", name);
}

}  // namespace platform::linux_os
