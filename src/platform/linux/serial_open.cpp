#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "platform/linux/internal.h"

namespace platform::linux_os {

namespace {

bool SameCharDevice(const struct stat& a, const std::string& other) {
  struct stat b {};
  return ::stat(other.c_str(), &b) == 0 && S_ISCHR(b.st_mode) && a.st_rdev == b.st_rdev;
}

core::Result<std::string> Resolve(const std::string& path, const std::string& name) {
  std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
  if (!real) return core::error_from_errno("open", name);
  return std::string(real.get());
}

core::Status TakeExclusive(int fd, const std::string& name) {
  // TIOCEXCL turns away later opens of the terminal, but not root's; the lock
  // turns away every program that asks for it, root included.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK)
      return core::Error{"open", name, EBUSY, "the port is in use by another program"};
    return core::error_from_errno("lock", name);
  }
  if (::ioctl(fd, TIOCEXCL) != 0) return core::error_from_errno("open", name);
  return core::Ok{};
}

core::Status SetUp(int fd, const std::string& name, LineCalls& calls) {
  if (::isatty(fd) == 0) return core::Error{"open", name, ENOTTY, "not a serial port"};
  core::Status s = TakeExclusive(fd, name);
  if (s) s = ConfigureRawLine(fd, name);
  if (s) s = AskLowLatency(calls, fd, name);
  if (s) s = ClearModemLines(fd, name);
  // Whatever the line caught before we owned it belongs to nobody.
  if (s && ::tcflush(fd, TCIOFLUSH) != 0) s = core::error_from_errno("open", name);
  return s;
}

}  // namespace

bool IsSystemConsole(const std::string& path, const std::vector<std::string>& console_names) {
  if (IsConsoleName(path, console_names)) return true;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  if (SameCharDevice(st, "/dev/console") || SameCharDevice(st, "/dev/tty0")) return true;
  for (const std::string& c : console_names) {
    if (SameCharDevice(st, "/dev/" + c)) return true;
  }
  return false;
}

core::Result<UniqueFd> OpenSerialPort(const std::string& name,
                                      const std::vector<std::string>& console_names,
                                      LineCalls& calls) {
  const std::optional<std::string> path = PortDevicePath(name);
  if (!path) return core::Error{"open", name, ENOENT, "not a serial port name"};
  core::Result<std::string> real = Resolve(*path, name);
  if (!real) return real.error();
  if (IsSystemConsole(*path, console_names) || IsSystemConsole(*real, console_names)) {
    return core::Error{"open", name, EPERM, "the port is the system console and is never used"};
  }
  // Closed again unless the whole set-up goes through.
  UniqueFd fd(::open(real->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) return core::error_from_errno("open", name);
  core::Status s = SetUp(fd.get(), name, calls);
  if (!s) return s.error();
  return fd;
}

}  // namespace platform::linux_os
