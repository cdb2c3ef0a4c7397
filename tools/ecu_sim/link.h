#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "message.h"

namespace ecu_sim {

// The unit's end of whatever the program talks through: a pseudo-terminal, or a
// USB HID bridge made with uhid. Both carry the same request and reply bytes.
class Link {
 public:
  enum class ReadOutcome { kData, kNothing, kHangUp };

  virtual ~Link() = default;

  // What the program opens: the far end's path or the bridge's hidraw node.
  virtual std::string Name() const = 0;
  // The descriptor to wait on; -1 while the link is closed.
  virtual int fd() const = 0;
  bool is_open() const { return fd() >= 0; }

  // Appends the request bytes that are waiting to `into`.
  virtual ReadOutcome Read(Bytes& into) = 0;
  // Sends what the link takes now; returns the number of bytes sent.
  virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;

  // Empty when a unit that needs `needed_baud` understands the line as the program
  // set it; otherwise why it sees garbage.
  virtual std::string LineProblem(unsigned needed_baud) const = 0;
  // The rate bytes cross the line at, for pacing; empty when it cannot be told.
  virtual std::optional<unsigned> LineBaud() const = 0;

  // Reply bytes the program has not taken yet; empty when that cannot be told.
  virtual std::optional<std::size_t> UnreadByFarEnd() const = 0;
  // True when a reply is in the program's hands once written (it survives a pull).
  virtual bool KeepsWrittenReplies() const = 0;
  // The cable is pulled for good.
  virtual void Pull() = 0;
};

// Why a bridge could not be made: this kernel cannot make one at all, or something else.
enum class BridgeFailure { kUnsupported, kOther };

// A USB HID bridge in front of the unit: it can be unplugged and plugged in
// again, and each plug-in is a new device with a new hidraw node.
class Bridge : public Link {
 public:
  // Where the kernel put the device, for the log, e.g. its sysfs name.
  virtual std::string Where() const = 0;
  virtual void Unplug() = 0;
  // False with `error` set when the bridge could not come back.
  virtual bool PlugIn(std::string& error) = 0;
};

}  // namespace ecu_sim
