#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/event_loop.h"
#include "core/result.h"
#include "core/trace.h"
#include "platform/output_file.h"

namespace app {

// A support trace as a text file, one line an event, each stamped with the
// seconds and microseconds since the trace began on the loop's monotonic clock:
//
//   zekflash trace
//   version: ZEK Firmware downloader 2.8
//   started: 2026-12-08 02:47:03 UTC
//   +0.000412 file "/home/me/3M0100002.fm0" size 41984 crc32 8b1a9953
//   +0.030377 timer Timer4 fired, interval 30 ms
//   +0.030511 sent "/dev/ttyUSB0" 02 56 03
//   +0.041263 received "/dev/ttyUSB0" 06 33 4d ...
//   +0.041300 panel Panel_ready_for_download shown "Ready for download" "Press Download"
//   +9.812004 box error "Communicatie Error" answer ok
//
// Texts are quoted, with '"', '\' and every byte outside printable ASCII as
// "\xNN". Written through the file's large buffer so that a download is not
// slowed, and flushed at each file, panel and box (where a failure shows
// itself) and at the end, so that a run that dies leaves what led up to it.
class TraceFile : public core::Trace {
 public:
  // Creates or empties `path` and writes the heading, with the wall time now.
  static core::Result<std::unique_ptr<TraceFile>> Open(const std::string& path,
                                                       const core::EventLoop& clock);
  ~TraceFile() override = default;
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  void bytes(core::Direction direction, std::string_view port,
             std::span<const std::uint8_t> data) override;
  void file(std::string_view path, std::size_t size, std::uint32_t crc32) override;
  void timer(std::string_view name, core::TimerAction action, int interval_ms) override;
  void panel(std::string_view name, core::PanelChange change,
             const std::vector<std::string>& lines) override;
  void message_box(std::string_view kind, std::string_view text, std::string_view answer) override;

 private:
  TraceFile(std::unique_ptr<platform::OutputFile> out, const core::EventLoop& clock);
  void Line(const std::string& text, bool flush);

  std::unique_ptr<platform::OutputFile> out_;
  const core::EventLoop& clock_;
  const std::int64_t start_us_;
};

// ZEKFLASH_TRACE when set and not empty: the trace of a program started from
// a desktop entry or a shortcut, where no option can be given.
std::optional<std::string> TraceFromEnvironment();

// The window's trace: "--trace FILE" taken out of `args`, else the one from the
// environment. No file when none is wanted; `refusal` says why when one is
// wanted and cannot be written, and the window then does not start, rather
// than run a download whose trace the technician expects and will not find.
struct WantedTrace {
  std::unique_ptr<TraceFile> file;
  std::string refusal;
};
WantedTrace OpenWindowTrace(std::vector<std::string>& args, const core::EventLoop& loop);

// `text` in double quotes, with '"', '\' and bytes outside printable ASCII as "\xNN".
std::string Quoted(std::string_view text);

}  // namespace app
