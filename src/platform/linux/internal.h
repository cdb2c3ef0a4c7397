#pragma once

// What the Linux files of platform/ share with each other. Nothing outside
// platform/ includes this: the program sees only the headers at platform/'s top.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/result.h"
#include "platform/serial_port.h"

// Not `linux`: GNU dialects of C++ define that name as a macro.
namespace platform::linux_os {

// Owns one file descriptor and closes it once.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  // Closes the descriptor held, if any, and holds `fd` instead.
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

// --- Port names: how names become device paths, and which devices are the
// system console. Pure text rules, so they can be checked without a device.

// "COMn" (n >= 1, any letter case) is the n-th on-board port, /dev/ttyS(n-1);
// any other name is taken as it stands.
std::string DevicePathForPort(std::string_view name);

// The device path `open` uses for `name`, or nothing when the name names no
// device: only absolute paths are accepted, so a stray name such as "COM0" can
// never open a file in the current folder.
std::optional<std::string> PortDevicePath(std::string_view name);

// The names in /sys/class/tty/console/active ("ttyS0 tty0").
std::vector<std::string> ParseConsoleNames(std::string_view text);

// True when `path` (symbolic links already resolved) is /dev/console, /dev/tty0
// or one of the active console devices named in `console_names`.
bool IsConsoleName(std::string_view path, const std::vector<std::string>& console_names);

// --- The port list, read from sysfs without opening any device.

// The active console devices named in <sysfs_tty>/console/active; none when the
// file cannot be read.
std::vector<std::string> ReadConsoleNames(const std::string& sysfs_tty);

// The entries of `sysfs_tty` backed by a device, less the console and the
// placeholders of absent on-board UARTs, as "/dev/<name>"; then the names of
// `extra` (colon-separated paths); sorted without regard to letter case.
// Names longer than 20 characters and repeats are left out.
core::Result<std::vector<std::string>> ListPortsUnder(const std::string& sysfs_tty,
                                                      const std::vector<std::string>& console_names,
                                                      std::string_view extra);

// Adds the colon-separated names of `extra` that are not too long, not already
// listed and not the console.
void AddExtraPorts(std::vector<std::string>& names, std::string_view extra,
                   const std::vector<std::string>& console_names);

// --- Line settings of an open terminal descriptor; `name` is the port's name
// for the errors.

// Raw 8N1 at 115200: no parity, no flow control of any kind, no character
// translation, reads that never wait (with O_NONBLOCK).
core::Status ConfigureRawLine(int fd, const std::string& name);

// Any positive rate: the standard ones by their constants, others by termios2.
core::Status SetLineBaud(int fd, int baud, const std::string& name);

// Sets a rate that has no B-constant through termios2 (BOTHER). Kept in a file
// of its own because the kernel's termios2 header cannot share a file with
// <termios.h>. Returns false with errno set.
bool SetCustomBaud(int fd, int baud);

// Drops DTR and RTS. Pseudo-terminals have no modem lines; that is no error.
core::Status ClearModemLines(int fd, const std::string& name);

// --- Opening a port.

// True when `path` leads (through links, or as another node of the same
// device) to the system console. Looks at names and device numbers only:
// nothing is opened.
bool IsSystemConsole(const std::string& path, const std::vector<std::string>& console_names);

// Opens the port `name` ("COM3", "/dev/ttyUSB0") for this program's sole use
// and leaves it raw 8N1 at 115200 with DTR and RTS low. Refuses the console.
core::Result<UniqueFd> OpenSerialPort(const std::string& name,
                                      const std::vector<std::string>& console_names);

// An open, configured terminal descriptor. Discards both queues and gives up
// exclusive use before the descriptor is closed.
class TtyDevice : public SerialDevice {
 public:
  TtyDevice(UniqueFd fd, std::string name) : fd_(std::move(fd)), name_(std::move(name)) {}
  ~TtyDevice() override;
  TtyDevice(const TtyDevice&) = delete;
  TtyDevice& operator=(const TtyDevice&) = delete;

  core::Status set_baud(int baud) override;
  core::Status write_all(std::span<const std::uint8_t> bytes, int timeout_ms) override;
  core::Result<std::size_t> bytes_waiting() override;
  core::Result<std::size_t> read(std::span<std::uint8_t> into) override;
  core::Status discard() override;
  int readable_fd() const override { return fd_.get(); }

 private:
  core::Result<std::size_t> queued_in_driver();
  core::Status check_hang_up();
  core::Status wait_writable(int timeout_ms, std::size_t written, std::size_t total);
  core::Error gone_error(const std::string& operation) const;

  UniqueFd fd_;
  std::string name_;
  // A byte taken from the driver to tell data from end-of-file; handed out
  // first by the next read.
  std::vector<std::uint8_t> held_;
};

// The terminal devices of a Linux system whose tty class lives at `sysfs_tty`
// (normally /sys/class/tty). Extra port names come from the environment
// variable ZEKFLASH_PORTS.
std::unique_ptr<SerialSystem> MakeTtySystem(std::string sysfs_tty);

}  // namespace platform::linux_os
