#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/event_loop.h"
#include "core/result.h"

namespace platform {

// One opened serial device. The line is always 8 data bits, no parity, one stop
// bit, no flow control of any kind, DTR and RTS inactive; only the rate varies.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  virtual core::Status set_baud(int baud) = 0;
  // Succeeds only when every byte was written within `timeout_ms`.
  virtual core::Status write_all(std::span<const std::uint8_t> bytes, int timeout_ms) = 0;
  // Bytes queued for reading. An error means the device is gone (hung up, unplugged).
  virtual core::Result<std::size_t> bytes_waiting() = 0;
  // Reads what is queued, up to `into.size()`, without waiting.
  virtual core::Result<std::size_t> read(std::span<std::uint8_t> into) = 0;
  // Discards both the input and the output queue.
  virtual core::Status discard() = 0;
  // What the loop waits on: readable (signalled) when bytes arrive or the
  // device hangs up.
  virtual core::Waitable readable_handle() const = 0;
};

// The system's serial devices: opening by name and the list of those present.
class SerialSystem {
 public:
  virtual ~SerialSystem() = default;

  // Exclusive open; the device starts at 115200 baud.
  virtual core::Result<std::unique_ptr<SerialDevice>> open(const std::string& name) = 0;
  // Names `open` accepts, sorted without regard to letter case, at most 20 characters each.
  virtual core::Result<std::vector<std::string>> list_ports() = 0;
};

// The operating system's serial devices.
std::unique_ptr<SerialSystem> MakeSystemSerial();

// A port's name as a narrow field shows it: a device path without its "/dev/"
// ("ttyUSB0"); other names as they are. Only for showing: the files and the
// port search keep the whole name.
std::string ShortPortName(const std::string& name);

}  // namespace platform
