#pragma once

#include <string>
#include <variant>

// What can happen to the window in one step of a run: the unit, the line under
// it, the technician, the files on disk. The numbers in each kind fix what it
// does, so that a shortened list of events replays the same way; an event that
// no longer fits does nothing.
namespace checker {

// How the unit's reply to a request reaches the program.
enum class Fault {
  whole,
  split,         // in two pieces (over the bridge: over two input reports), a moment apart
  late,          // after 300 to 700 ms
  lost,          // never
  bad_checksum,  // with its last byte changed
  other_status,  // with another status or other values
  other_kind,    // as the reply to another request
  wrong_count,   // over the bridge: in a report whose count byte is wrong
};

// The files a technician may choose in the open dialog.
enum class FileChoice {
  good_image,
  older_image,
  damaged_image,
  good_script,
  damaged_script,  // names a damaged image after a good one
  odd_script,      // an unknown step, or a text step without "[begin3]", between its images
  empty_script,    // names no image
  cancelled,
};

// Faults of the line itself, not of the unit's answers.
enum class LineFault { read_error, failed_write, short_write, list_unreadable, list_readable };

struct Answer {
  Fault fault = Fault::whole;
  bool oldest = false;  // answers the oldest request not yet answered, not the latest
  int variant = 0;      // where the reply splits, which other status or kind, how late
};
// The unit reports back by itself with one of these statuses.
inline constexpr const char* report_statuses[] = {"OK", "NO", "FF", "MM", "wK"};
struct Report {
  int status = 0;  // into report_statuses
  int times = 1;
};
struct Stray {
  std::string bytes;
};
struct Tick {
  int ms = 0;
};
struct Press {
  std::string control;
};
// The technician picks a port from the pull-down list of one of the two serial groups.
struct ChoosePort {
  int group = 0;  // 0: RS232, 1: RS232 over USB
  int index = 0;
};
struct Open {
  FileChoice file = FileChoice::good_image;
  bool yes = true;  // the answer to "A firmware download is running…"
};
struct Unplug {
  bool other = false;    // not the unit's: a bridge with nobody behind it
};                       // the unit's port or bridge goes away
struct Replug {};        // and comes back; a bridge as a new device
struct SecondBridge {};  // another bridge, with no unit behind it, is plugged in
struct Line {
  LineFault fault = LineFault::read_error;
};
struct Disk {
  int image = 0;  // a script image: 0 the first, 1 the second
  bool damaged = true;
};

using Event = std::variant<Answer, Report, Stray, Tick, Press, ChoosePort, Open, Unplug, Replug,
                           SecondBridge, Line, Disk>;

std::string Describe(const Event& event);

}  // namespace checker
