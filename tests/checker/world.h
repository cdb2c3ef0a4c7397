#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "choices.h"
#include "form_fixture.h"

// The window on virtual time, a unit behind a fake serial port that answers
// what is written to it (most of the time), the files a technician might open,
// and the events that play on all of it.
namespace checker {

// How one run is laid out, drawn once at its start.
struct Setup {
  std::string family;        // of the file names and versions: "3M", "6M" or "4E"
  std::string unit_version;  // the unit's; "5MA…" for a unit that must be prepared first
  bool port_before = false;  // a silent port listed before the unit's
  bool port_after = false;   // and one after it
  bool autoselect = true;
  int blocks = 3;
  std::string finish_wait;                // bytes 9 to 12 of the images
  std::vector<std::string> middle_steps;  // script steps between the two images
  std::string last_text_step;             // a text step before "[end1]", or nothing
};

Setup DrawSetup(Choices& choices);
std::string Describe(const Setup& setup);

enum class EventKind {
  answer,
  report,
  stray,
  tick,
  press,
  open,
  vanish,
  reappear,
  damage,
  restore
};

// One thing that happens. Its numbers fix what it does, so that a shortened list
// of events replays the same way; an event that no longer fits does nothing.
struct Event {
  EventKind kind = EventKind::tick;
  int a = 0;         // answer: fault; report: status; tick: ms; open: file; damage, restore: image
  int b = 0;         // answer: 0 the latest request, 1 the oldest unanswered; open: 1 answers Yes
  int c = 0;         // answer: where a reply splits, which other status or kind
  std::string text;  // press: the control's name; stray: the bytes
};

std::string Describe(const Event& event);

// The files a technician may choose in the open dialog.
enum FileChoice { good_image, older_image, damaged_image, good_script, damaged_script, cancelled };

// An image the run wrote, with the bytes it was written with.
struct Image {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// What the user started last, as far as the checker knows.
struct Session {
  std::vector<int> images;  // indexes into World::images, in the order they are to go out
  bool passes = false;      // the file passes the checks made when it is opened
  bool approved = false;    // passes, and is not older than the unit's (or Ignore was pressed)
  bool script = false;
  int downloads = 0;  // Download presses so far: each sends the images from the first again
  int starts = 0;     // opens that went ahead and Retry presses: the user starts again
};

class World {
 public:
  explicit World(const Setup& setup);
  Event Draw(Choices& choices);
  // Returns what happened, for the event list.
  std::string Apply(const Event& event);
  // Whether the last press event found its control and pressed it.
  bool PressTaken() const { return press_taken_; }

  Setup setup;
  FormFixture fx;
  TForm1& form;
  std::vector<Image> images;
  Session session;
  std::string unit_port = "/dev/ttyUSB1";

 private:
  std::string Answer(const Event& event);
  std::vector<std::uint8_t> Reply(std::uint8_t request, int fault, int variant) const;
  std::string Press(const std::string& name);
  std::string Open(FileChoice choice, bool yes);
  std::string Rewrite(int image, bool damaged);
  void WriteFiles();
  bool BetweenSteps() const;

  std::vector<std::string> paths_;  // by FileChoice
  std::size_t answered_ = 0;        // requests on the unit's port answered or lost so far
  bool vanished_ = false;
  bool press_taken_ = false;
};

}  // namespace checker
