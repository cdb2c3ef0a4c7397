#pragma once

// What the Linux files of platform/ share with each other. Nothing outside
// platform/ includes this: the program sees only the headers at platform/'s top.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "core/event_loop.h"
#include "core/result.h"
#include "platform/common/unique_handle.h"
#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "platform/settings_files.h"

// <linux/serial.h>
struct serial_struct;

// Not `linux`: GNU dialects of C++ define that name as a macro.
namespace platform::linux_os {

// A file descriptor, as UniqueHandleOf holds it; -1 is none.
struct FdTraits {
  using Handle = int;
  static constexpr int none() { return -1; }
  static bool valid(int fd) { return fd >= 0; }
  static void close(int fd);
};

// Owns one file descriptor and closes it once.
using UniqueFd = UniqueHandleOf<FdTraits>;

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

// --- The driver calls behind a line's rate and latency, each answering as its
// system call does: 0, or -1 with errno set. The set-up decides what their
// answers mean; tests put a driver of their own behind them.
class LineCalls {
 public:
  virtual ~LineCalls() = default;
  // Sets the line's rate: by its B-constant where it has one, else through termios2.
  virtual int set_rate(int fd, int baud) = 0;
  // The output rate the driver runs the line at now, as it says (termios2).
  virtual int read_rate(int fd, long& baud) = 0;
  // TIOCGSERIAL and TIOCSSERIAL.
  virtual int get_serial(int fd, serial_struct& info) = 0;
  virtual int set_serial(int fd, const serial_struct& info) = 0;
};

// The system calls themselves.
std::shared_ptr<LineCalls> MakeSystemLineCalls();

// Sets a rate that has no B-constant through termios2 (BOTHER), and reads the
// output rate back. Kept in a file of their own because the kernel's termios2
// header cannot share a file with <termios.h>. Return false with errno set.
bool SetCustomBaud(int fd, int baud);
bool ReadOutputBaud(int fd, long& baud);

// --- Line settings of an open terminal descriptor; `name` is the port's name
// for the errors.

// Raw 8N1 at 115200: no parity, no flow control of any kind, no character
// translation, reads that never wait (with O_NONBLOCK).
core::Status ConfigureRawLine(int fd, const std::string& name);

// Any positive rate, read back once set: a driver may answer success and keep
// another rate (a UART whose clock cannot make it falls back to 9600), and a
// port that runs at another rate than the unit's must not be talked through.
core::Status SetLineBaud(LineCalls& calls, int fd, int baud, const std::string& name);

// Asks the driver to pass received bytes on at once rather than holding them
// for its latency timer (16 ms on some USB adapters, more than a 1024-byte
// block takes on the wire at 921600 baud). Best effort: a driver without such
// a setting, or one that drops the flag, is no error.
core::Status AskLowLatency(LineCalls& calls, int fd, const std::string& name);

// Drops DTR and RTS. Pseudo-terminals have no modem lines; that is no error.
core::Status ClearModemLines(int fd, const std::string& name);

// --- Opening a port.

// True when `path` leads (through links, or as another node of the same
// device) to the system console. Looks at names and device numbers only:
// nothing is opened.
bool IsSystemConsole(const std::string& path, const std::vector<std::string>& console_names);

// Opens the port `name` ("COM3", "/dev/ttyUSB0") for this program's sole use
// and leaves it raw 8N1 at 115200 with DTR and RTS low, at low latency where
// the driver offers it. Refuses the console.
core::Result<UniqueFd> OpenSerialPort(const std::string& name,
                                      const std::vector<std::string>& console_names,
                                      LineCalls& calls);

// An open, configured terminal descriptor. Discards both queues and gives up
// exclusive use before the descriptor is closed.
class TtyDevice : public SerialDevice {
 public:
  TtyDevice(UniqueFd fd, std::string name, std::shared_ptr<LineCalls> calls)
      : fd_(std::move(fd)), name_(std::move(name)), calls_(std::move(calls)) {}
  ~TtyDevice() override;
  TtyDevice(const TtyDevice&) = delete;
  TtyDevice& operator=(const TtyDevice&) = delete;

  core::Status set_baud(int baud) override;
  core::Status write_all(std::span<const std::uint8_t> bytes, int timeout_ms) override;
  core::Result<std::size_t> bytes_waiting() override;
  core::Result<std::size_t> read(std::span<std::uint8_t> into) override;
  core::Status discard() override;
  core::Waitable readable_handle() const override { return fd_.get(); }

 private:
  core::Result<std::size_t> queued_in_driver();
  core::Status check_hang_up();
  core::Status wait_writable(int timeout_ms, std::size_t written, std::size_t total);
  core::Error gone_error(const std::string& operation) const;

  UniqueFd fd_;
  std::string name_;
  std::shared_ptr<LineCalls> calls_;
  // A byte taken from the driver to tell data from end-of-file; handed out
  // first by the next read.
  std::vector<std::uint8_t> held_;
};

// The terminal devices of a Linux system whose tty class lives at `sysfs_tty`
// (normally /sys/class/tty). Extra port names come from the environment
// variable ZEKFLASH_PORTS. Rates and latency are set through `calls`.
std::unique_ptr<SerialSystem> MakeTtySystem(
    std::string sysfs_tty, std::shared_ptr<LineCalls> calls = MakeSystemLineCalls());

// --- Where settings files live.

// What the choice of a settings file's place looks at.
class SettingsFacts {
 public:
  virtual ~SettingsFacts() = default;
  // Whether there is a file (of any kind) at `path`.
  virtual bool exists(const std::string& path) = 0;
  // Whether this user may create files in `folder`.
  virtual bool writable(const std::string& folder) = 0;
  // The environment variable `name`; nothing when unset.
  virtual std::optional<std::string> variable(const std::string& name) = 0;
};

// The path of the settings file `name` of a program in `program_folder`: there
// when the file already is, or when the folder takes new files (a copied
// program, as it always was); else in $XDG_CONFIG_HOME/zekflash/, or
// $HOME/.config/zekflash/ when that variable is unset, empty or relative (the
// base directory rules ignore relative ones); in `program_folder` when there is
// no home either.
std::string SettingsFilePath(const std::string& program_folder, const std::string& name,
                             SettingsFacts& facts);

// Creates `folder` and those above it that are missing, each for the user
// alone, as the base directory rules ask.
core::Status MakeFolders(const std::string& folder);

// --- HID interfaces on hidraw. Everything is read from sysfs; no device is
// opened to be listed.

// `text` (UTF-8) as UTF-16, at most `limit` code units and never half a
// surrogate pair; each byte that is not UTF-8 becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text, std::size_t limit);

// The HID device folder behind the node `node` ("hidraw0"): the real path of
// <sysfs>/class/hidraw/<node>/device. Empty when there is none.
std::string HidDeviceFolder(const std::string& sysfs, const std::string& node);

// The product string of the USB device above `folder`, the nearest parent
// with both idVendor and bDeviceClass, without its one trailing newline.
// Nothing when no such parent lies between `folder` and `sysfs`.
std::optional<std::string> UsbProductAbove(const std::string& folder, const std::string& sysfs);

// The node `node` as listed, its device file in `dev`; nothing when the node
// has gone, its description cannot be read or its device file is missing.
// Access is the effective user's right to read and write the device file.
std::optional<HidDeviceInfo> DescribeHidraw(const std::string& sysfs, const std::string& dev,
                                            const std::string& node);

// Nodes that have come but are not announced yet (HidrawNotices). They are
// left out of the list, so that a notice about another device cannot show a
// node before udev has set its permissions.
using SettlingNodes = std::multiset<std::string>;

// Every node under <sysfs>/class/hidraw that DescribeHidraw can describe, by
// name, less those in `settling`.
std::vector<HidDeviceInfo> ListHidraw(const std::string& sysfs, const std::string& dev,
                                      const SettlingNodes& settling);

// 0 when the effective user may read and write `path`, or the errno why not.
int ReadWriteAccess(const std::string& path);

class HidrawReader;
class HidrawWriter;

// An open hidraw node. `info` is what it was listed as.
class HidrawDevice : public HidDevice {
 public:
  HidrawDevice(core::EventLoop& loop, UniqueFd fd, HidDeviceInfo info);
  ~HidrawDevice() override;
  HidrawDevice(const HidrawDevice&) = delete;
  HidrawDevice& operator=(const HidrawDevice&) = delete;

  const HidDeviceInfo& info() const override { return info_; }
  void write_report(std::span<const std::uint8_t> report, HidWriteDone done) override;
  core::Status start_reading(HidReportHandler on_report, HidReadErrorHandler on_error) override;
  void stop_reading() override;
  bool reading() const override;

 private:
  core::EventLoop& loop_;
  UniqueFd fd_;
  HidDeviceInfo info_;
  std::unique_ptr<HidrawReader> reader_;
  std::unique_ptr<HidrawWriter> writer_;
};

// A thread that writes output reports to a hidraw node one after another, so
// that a write the kernel holds (a USB device that does not take the report,
// up to the USB time-out of 5 s) holds no one else; each outcome goes back to
// the loop's thread through an eventfd the loop watches. Destroying it waits
// for the write in progress and drops the outcomes not yet handed back.
class HidrawWriter {
 public:
  static core::Result<std::unique_ptr<HidrawWriter>> Start(core::EventLoop& loop, int fd,
                                                           std::string name);
  ~HidrawWriter();
  HidrawWriter(const HidrawWriter&) = delete;
  HidrawWriter& operator=(const HidrawWriter&) = delete;

  void write(std::vector<std::uint8_t> bytes, HidWriteDone done);

  struct Shared;

 private:
  HidrawWriter(core::EventLoop& loop, std::shared_ptr<Shared> shared);
  void run(int fd, std::string name);

  core::EventLoop& loop_;
  std::shared_ptr<Shared> shared_;
  core::EventLoop::Id watch_ = 0;
  std::thread thread_;
};

// What a reader needs to know of its device.
struct HidrawReaderSetup {
  int fd = -1;                    // not owned; stays open while the reader lives
  std::string name;               // for the errors
  bool numbered_reports = false;  // reads on an unnumbered node lack the ID byte
  std::size_t input_length = 0;   // the longest input report, ID byte included
};

// A thread that polls a hidraw descriptor and hands each report, and the read
// error that ends it, to the loop's thread. The hand-over goes through an
// eventfd the loop watches, not invoke_and_wait, so that stopping never waits
// on the loop: a handler may stop its own reader, and a reader stopped while
// a report is on its way ends without it.
class HidrawReader {
 public:
  static core::Result<std::unique_ptr<HidrawReader>> Start(core::EventLoop& loop,
                                                           HidrawReaderSetup setup,
                                                           HidReportHandler on_report,
                                                           HidReadErrorHandler on_error);
  // Stops the thread and waits for it.
  ~HidrawReader();
  HidrawReader(const HidrawReader&) = delete;
  HidrawReader& operator=(const HidrawReader&) = delete;

  // False once the read error has been handed over.
  bool running() const;

  struct Shared;

 private:
  HidrawReader(core::EventLoop& loop, std::shared_ptr<Shared> shared, UniqueFd stop);
  void run(HidrawReaderSetup setup);

  core::EventLoop& loop_;
  std::shared_ptr<Shared> shared_;
  UniqueFd stop_;
  core::EventLoop::Id watch_ = 0;
  std::thread thread_;
};

// What one kernel uevent says about a hidraw node; nothing for any other
// device or action.
struct HidrawUevent {
  enum class Action { add, remove };
  Action action = Action::add;
  std::string node;  // DEVNAME: "hidraw0"
};
std::optional<HidrawUevent> ParseHidrawUevent(std::span<const std::uint8_t> message);

// Turns hidraw uevents into change notices. A node comes before udev has set
// its permissions, so an added node that cannot be opened yet is announced
// once it can, checked every retry_ms, or at the latest settle_ms after it came;
// until then it is in `settling`.
class HidrawNotices {
 public:
  static constexpr std::int64_t retry_ms = 100;
  static constexpr std::int64_t settle_ms = 1000;

  // `access` answers 0 or the errno for a node's name (ReadWriteAccess).
  using AccessCheck = std::function<int(const std::string& node)>;
  HidrawNotices(core::EventLoop& loop, AccessCheck access, std::shared_ptr<SettlingNodes> settling,
                std::function<void()> on_change);
  ~HidrawNotices();
  HidrawNotices(const HidrawNotices&) = delete;
  HidrawNotices& operator=(const HidrawNotices&) = delete;

  // on_change is the last thing each of these does, so it may destroy this.
  void take(const HidrawUevent& event);
  // Uevents were lost (the socket's buffer overflowed).
  void lost() { on_change_(); }

 private:
  struct Waiting {
    std::int64_t give_up_at = 0;
    core::EventLoop::Id timer = 0;
  };
  void check_again(const std::string& node);
  void stop_waiting(std::map<std::string, Waiting>::iterator it);

  core::EventLoop& loop_;
  AccessCheck access_;
  std::shared_ptr<SettlingNodes> settling_;
  std::function<void()> on_change_;
  std::map<std::string, Waiting> waiting_;
};

// Notices from the kernel's uevents (NETLINK_KOBJECT_UEVENT, group 1) for the
// hidraw nodes whose device files are in `dev`.
core::Result<std::unique_ptr<HidChangeWatch>> WatchHidraw(core::EventLoop& loop,
                                                          const std::string& dev,
                                                          std::shared_ptr<SettlingNodes> settling,
                                                          std::function<void()> on_change);

// The hidraw nodes of a Linux system whose sysfs is at `sysfs` and whose
// device files are in `dev`.
std::unique_ptr<HidSystem> MakeHidrawSystem(core::EventLoop& loop, std::string sysfs,
                                            std::string dev);

}  // namespace platform::linux_os
