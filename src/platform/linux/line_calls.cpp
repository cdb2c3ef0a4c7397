#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <memory>
#include <utility>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

constexpr std::pair<int, speed_t> standard_rates[] = {
    {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

class SystemLineCalls : public LineCalls {
 public:
  int set_rate(int fd, int baud) override {
    for (const auto& [rate, code] : standard_rates) {
      if (rate != baud) continue;
      termios t{};
      if (::tcgetattr(fd, &t) != 0) return -1;
      ::cfsetispeed(&t, code);
      ::cfsetospeed(&t, code);
      return ::tcsetattr(fd, TCSANOW, &t);
    }
    return SetCustomBaud(fd, baud) ? 0 : -1;
  }
  int read_rate(int fd, long& baud) override { return ReadOutputBaud(fd, baud) ? 0 : -1; }
  int get_serial(int fd, serial_struct& info) override { return ::ioctl(fd, TIOCGSERIAL, &info); }
  int set_serial(int fd, const serial_struct& info) override {
    return ::ioctl(fd, TIOCSSERIAL, &info);
  }
};

}  // namespace

std::shared_ptr<LineCalls> MakeSystemLineCalls() {
  return std::make_shared<SystemLineCalls>();
}

}  // namespace platform::linux_os
