#pragma once

// What the Windows files of platform/ share with each other. Nothing outside
// platform/ includes this: the program sees only the headers at platform/'s top.

#include <windows.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
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

namespace platform::windows_os {

// A kernel HANDLE, as UniqueHandleOf holds it. Both null and
// INVALID_HANDLE_VALUE count as none, as the system's calls return either.
struct HandleTraits {
  using Handle = HANDLE;
  static HANDLE none() { return nullptr; }
  static bool valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void close(HANDLE handle) { ::CloseHandle(handle); }
};

// Owns one kernel HANDLE and closes it once.
using UniqueHandle = UniqueHandleOf<HandleTraits>;

// What the loop is given to wait on, and back.
inline core::Waitable ToWaitable(HANDLE handle) {
  return reinterpret_cast<core::Waitable>(handle);
}
inline HANDLE FromWaitable(core::Waitable handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// A manual-reset event, not signalled; throws when the system has none left.
UniqueHandle MakeEvent();

// The system's text for a Win32 error code, without its closing full stop and
// line break, as it goes inside a longer message.
std::string WinErrorText(DWORD code);

// An Error for `code` (GetLastError() by default).
core::Error WinError(std::string operation, std::string name, DWORD code = GetLastError());

// --- Serial ports.

// The path CreateFileA opens for a port name: "COMn" (n >= 1, any letter case)
// becomes "\\.\COMn", which reaches COM10 and above too. Any other name names
// no port, so that a stray name can never open a file or another device.
std::optional<std::string> ComDevicePath(std::string_view name);

// What the port's driver is told (SetCommTimeouts). The receive path lives on
// overlapped reads alone: the comm-event wait is unreliable where there are no
// modem lines (Wine on a pseudo-terminal ends it at once with
// ERROR_OPERATION_ABORTED, over and over), and slow under Wine where it works.
// A read waits up to read_wait_ms for its first byte and ends 1 ms after the
// last, or once it has as many bytes as it asked for. So the port keeps a read
// of one byte waiting, which ends the moment a byte comes, and then reads what
// the driver holds by its count: a larger read would wait for the 1 ms of
// silence after a reply, which Wine's server times coarsely (1.8 ms of each
// block's turnaround at 921600 baud). (The "return at once" setting, MAXDWORD
// and zeros, would leave nothing to wait on; MAXDWORD with a MAXDWORD
// multiplier, Wine does not honour.) Wine ends a read that waited in vain with
// ERROR_TIMEOUT, Windows with no bytes. A write must be done within 1000 ms
// plus 100 ms per byte.
inline constexpr DWORD read_wait_ms = 1000;
COMMTIMEOUTS PortTimeouts();

// Whether a read that took `got` bytes after waiting `waited` met the end of
// the line rather than its time-out: one that ends empty before half its wait
// is up. That is how Windows tells of a pulled port (Wine ends such a read with
// an error instead); taken for a quiet line, it would be read again at once,
// over and over.
bool EndedEmptyEarly(DWORD got, std::chrono::milliseconds waited);

// Raw 8N1 at `baud`: binary, no parity checking or replacement, no flow control
// of any kind, DTR and RTS held inactive, NUL bytes kept. The rate is read back:
// a rate the driver did not take is refused.
core::Status SetComLine(HANDLE port, DWORD baud, const std::string& name);

// Opens `name` overlapped for this program's sole use, with driver queues of
// 1024 bytes in and 2048 out, raw 8N1 at 115200, the time-outs above and both
// queues empty.
core::Result<UniqueHandle> OpenComPort(const std::string& name);

// An open, configured COM port. A one-byte overlapped read is kept in flight;
// its event is what the loop waits on, and it stays signalled while received
// bytes, or the error that ended the port, wait to be taken.
class ComDevice : public SerialDevice {
 public:
  ComDevice(UniqueHandle port, std::string name);
  ~ComDevice() override;
  ComDevice(const ComDevice&) = delete;
  ComDevice& operator=(const ComDevice&) = delete;

  core::Status set_baud(int baud) override;
  core::Status write_all(std::span<const std::uint8_t> bytes, int timeout_ms) override;
  core::Result<std::size_t> bytes_waiting() override;
  core::Result<std::size_t> read(std::span<std::uint8_t> into) override;
  core::Status discard() override;
  core::Waitable readable_handle() const override { return ToWaitable(read_event_.get()); }

 private:
  using Clock = std::chrono::steady_clock;
  void start_read();
  void collect_read();
  void take_completed(DWORD got);
  void cancel_read();
  core::Result<std::size_t> queued_in_driver();
  // Reads `count` bytes the driver holds into held_; false when the port ended.
  bool read_queued(std::size_t count);

  UniqueHandle port_;
  std::string name_;
  UniqueHandle read_event_ = MakeEvent();
  UniqueHandle queued_event_ = MakeEvent();
  UniqueHandle write_event_ = MakeEvent();
  OVERLAPPED read_op_{};
  bool read_pending_ = false;
  Clock::time_point read_started_;
  std::uint8_t read_byte_ = 0;
  std::array<std::uint8_t, 1024> read_buffer_{};
  // Received bytes not yet handed out.
  std::vector<std::uint8_t> held_;
  // Why the port ended; reported once the held bytes are taken.
  std::optional<core::Error> gone_;
};

// The values of the registry key `key` under `root`, each one port name:
// read in index order into buffers of 256 bytes, sorted without regard to
// letter case; names longer than 20 characters are left out. An error carries
// the system's code when the key cannot be opened or a value cannot be read.
core::Result<std::vector<std::string>> PortsInRegistry(HKEY root, const char* key);

// --- HID interfaces, through SetupAPI and the HID library.

// Devices Wine makes up for itself, listed on every Wine system: never a bridge,
// and leaving them out keeps the list as a real system's would be.
bool IsWineVirtualHid(const std::u16string& product);

// The device paths of the present interfaces of the HID class.
std::vector<std::string> HidInterfacePaths();

// The present interfaces of the HID class that can be opened (for reading and
// writing, or else for identification) and whose attributes can be read, less
// Wine's own; by path.
std::vector<HidDeviceInfo> ListHidInterfaces();

// One interface, opened and asked; nothing when it cannot be.
std::optional<HidDeviceInfo> DescribeHid(const std::string& path);

// What a reader needs of its device.
struct WinHidReaderSetup {
  HANDLE device = nullptr;       // overlapped; not owned, stays open while the reader lives
  std::string name;              // for the errors
  std::size_t input_length = 0;  // the longest input report, ID byte included
};

// A thread that keeps one overlapped read of an input report in flight and
// hands each report, and the read error that ends it, to the loop's thread.
// As on Linux the hand-over goes through an event the loop watches, so that
// stopping never waits on the loop and a handler may stop its own reader.
class WinHidReader {
 public:
  static core::Result<std::unique_ptr<WinHidReader>> Start(core::EventLoop& loop,
                                                           WinHidReaderSetup setup,
                                                           HidReportHandler on_report,
                                                           HidReadErrorHandler on_error);
  ~WinHidReader();
  WinHidReader(const WinHidReader&) = delete;
  WinHidReader& operator=(const WinHidReader&) = delete;

  bool running() const;

  struct Shared;

 private:
  WinHidReader(core::EventLoop& loop, std::shared_ptr<Shared> shared);
  void run(WinHidReaderSetup setup);

  core::EventLoop& loop_;
  std::shared_ptr<Shared> shared_;
  UniqueHandle stop_ = MakeEvent();
  core::EventLoop::Id watch_ = 0;
  std::thread thread_;
};

// An open HID interface: one overlapped handle, shared for reading and writing.
// Writes go out one at a time, each an overlapped write whose event the loop
// watches; one the device does not take within write_timeout_ms is cancelled.
class WinHidDevice : public HidDevice {
 public:
  static constexpr DWORD write_timeout_ms = 1000;

  WinHidDevice(core::EventLoop& loop, UniqueHandle handle, HidDeviceInfo info);
  ~WinHidDevice() override;
  WinHidDevice(const WinHidDevice&) = delete;
  WinHidDevice& operator=(const WinHidDevice&) = delete;

  const HidDeviceInfo& info() const override { return info_; }
  void write_report(std::span<const std::uint8_t> report, HidWriteDone done) override;
  core::Status start_reading(HidReportHandler on_report, HidReadErrorHandler on_error) override;
  void stop_reading() override;
  bool reading() const override;

 private:
  struct Write {
    std::vector<std::uint8_t> bytes;
    HidWriteDone done;
    OVERLAPPED op{};
    bool timed_out = false;
  };
  void start_write();
  void write_ended();
  void cancel_write();

  core::EventLoop& loop_;
  UniqueHandle handle_;
  HidDeviceInfo info_;
  UniqueHandle write_event_ = MakeEvent();
  std::deque<std::unique_ptr<Write>> writes_;  // the first one is on its way
  core::EventLoop::Id write_watch_ = 0;
  core::EventLoop::Id write_timer_ = 0;
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
  std::unique_ptr<WinHidReader> reader_;
};

// What tells the plugs of one device apart. Windows names a device plugged in
// again by the same path (its serial number or its port makes it), so a
// device's id is its path and how often that path has arrived since the start.
// Paths are compared without regard to letter case: the notices and the
// enumeration spell them differently.
class HidArrivals {
 public:
  void arrived(const std::string& path);
  std::string id_of(const std::string& path) const;

 private:
  std::map<std::string, unsigned> counts_;
};

// Notices of HID interfaces coming and going: WM_DEVICECHANGE to a
// message-only window registered with RegisterDeviceNotificationW, each
// arrival counted in `arrivals`. Never CM_Register_Notification: Wine's is a
// stub that ends a program importing it. The window's messages are dispatched
// by the loop of the calling thread.
core::Result<std::unique_ptr<HidChangeWatch>> WatchHidNotices(core::EventLoop& loop,
                                                              std::shared_ptr<HidArrivals> arrivals,
                                                              std::function<void()> on_change);

}  // namespace platform::windows_os
