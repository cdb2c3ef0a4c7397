#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class Direction { sent, received };
enum class TimerAction { fired, enabled, disabled, interval };
enum class PanelChange { shown, changed, hidden };

// Where the program tells what it did, for a technician's support trace: the
// bytes on each link, the files it read, what the user saw and every timer.
// The program calls it at the few places these happen; a front end decides
// whether anything is written and where. Calls come on the loop's thread.
class Trace {
 public:
  virtual ~Trace() = default;

  virtual void bytes(Direction direction, std::string_view port,
                     std::span<const std::uint8_t> data) = 0;
  // A file read whole: its size and the CRC-32 of its bytes.
  virtual void file(std::string_view path, std::size_t size, std::uint32_t crc32) = 0;
  virtual void timer(std::string_view name, TimerAction action, int interval_ms) = 0;
  virtual void panel(std::string_view name, PanelChange change,
                     const std::vector<std::string>& lines) = 0;
  virtual void message_box(std::string_view kind, std::string_view text,
                           std::string_view answer) = 0;
};

}  // namespace core
