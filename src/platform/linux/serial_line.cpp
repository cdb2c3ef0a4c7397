#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

constexpr std::pair<int, speed_t> standard_rates[] = {
    {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

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

core::Status SetLineBaud(int fd, int baud, const std::string& name) {
  if (baud <= 0) return core::Error{"set baud rate", name, EINVAL, "unsupported baud rate"};
  for (const auto& [rate, code] : standard_rates) {
    if (rate != baud) continue;
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return core::error_from_errno("set baud rate", name);
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return core::error_from_errno("set baud rate", name);
    return core::Ok{};
  }
  if (!SetCustomBaud(fd, baud)) return core::error_from_errno("set baud rate", name);
  return core::Ok{};
}

core::Status ClearModemLines(int fd, const std::string& name) {
  const int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIC, &lines) == 0 || errno == ENOTTY || errno == EINVAL) return core::Ok{};
  return core::error_from_errno("clear DTR and RTS", name);
}

}  // namespace platform::linux_os
