#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "choices.h"
#include "events.h"
#include "form_fixture.h"
#include "played_unit.h"

// The window on virtual time, a unit behind a fake serial port or a fake HID
// bridge that answers what is written to it (most of the time), the files a
// technician might open, and the events that play on all of it.
namespace checker {

using Bytes = std::vector<std::uint8_t>;

// How one run is laid out, drawn once at its start.
struct Setup {
  std::string family;        // of the file names and versions: "3M", "6M", "4E", "8D"; "5M" HID
  std::string unit_version;  // the unit's; "5MA…" for a unit that must be prepared first
  bool port_before = false;  // a silent port listed before the unit's
  bool port_after = false;   // and one after it
  bool autoselect = true;
  int blocks = 3;
  std::string finish_wait;                // bytes 9 to 12 of the images
  std::vector<std::string> middle_steps;  // script steps between the two images
  std::string last_text_step;             // a text step before "[end1]", or nothing
  bool folder = false;                    // the script names its images with a folder
  bool mixed = false;    // the script's first image is of a family of the other rate
  std::string odd_step;  // the odd script's step between its images
};

Setup DrawSetup(Choices& choices);
std::string Describe(const Setup& setup);

// The images, in World::images order.
enum ImageId { image_good, image_older, image_damaged, image_a, image_b, image_bad };

// An image the run wrote, with the bytes it was written with.
struct Image {
  std::string name;  // as a script names it
  Bytes bytes;
};

// What the user started last, as far as the checker knows.
struct Session {
  std::vector<int> images;  // indexes into World::images, in the order they are to go out
  bool passes = false;      // the file passed the checks made when it was opened: armed
  bool approved = false;    // passes, and is not older than the unit's (or Ignore was pressed)
  bool script = false;
  bool fast = false;  // the rate the file's family talks at
  int downloads = 0;  // Download presses so far: each sends the images from the first again
  int starts = 0;     // opens that went ahead and Retry presses: the user starts again
};

class World {
 public:
  explicit World(const Setup& setup);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  Event Draw(Choices& choices);
  // Returns what happened, for the event list.
  std::string Apply(const Event& event);
  // The closing run: the line's faults end, and this gives the next event of a
  // unit that answers well and a technician who takes every way on that a
  // panel offers; nothing once the final panel shows.
  void EndFaults();
  std::optional<Event> GoOn();
  bool FinalPanel() const;
  // Whether the last press event found its control and pressed it.
  bool PressTaken() const { return press_taken_; }
  bool Hid() const { return setup.family == "5M"; }
  bool Vanished() const { return vanished_; }
  // Whether the unit's end of the link is open: its port, or a bridge the program uses.
  bool UnitListens() const;

  Setup setup;
  FormFixture fx;
  TForm1& form;
  PlayedUnit unit;
  std::vector<Image> images;
  Session session;
  const std::string unit_port = "/dev/ttyUSB1";

  // Told of every whole request written, with where it went: "the unit", or the
  // port or bridge with nobody behind it.
  std::function<void(const std::string& place, const std::string& port, const Bytes& request)>
      on_request;
  // Told of every write, a block's pieces over the bridge too, before it is kept.
  std::function<void()> on_write;
  // Bytes the line handed the program since its last write.
  long delivered = 0;
  // The unit's whole reply to the latest request has been sent.
  bool latest_answered = false;
  // Whether the unit answered this block frame "OK" since a start request last reached it.
  bool Acknowledged(const Bytes& frame) const;

 private:
  Event Drawn(int kind, const std::vector<ui::Control*>& pressable, Choices& choices);
  std::string Do(const Answer& e);
  std::string Do(const Report& e);
  std::string Do(const Stray& e);
  std::string Do(const Tick& e);
  std::string Do(const Press& e);
  std::string Do(const ChoosePort& e);
  std::string Do(const Open& e);
  std::string Do(const Unplug& e);
  std::string Do(const Replug& e);
  std::string Do(const SecondBridge& e);
  std::string Do(const Line& e);
  std::string Do(const Disk& e);
  void Acknowledge(std::size_t index);
  Bytes Reply(std::uint8_t request, Fault fault, int variant);
  void Deliver(const Bytes& bytes, int count_change = 0);
  Event FixPort();
  std::string Rewrite(int image, bool damaged);
  void WriteFiles();
  bool BetweenSteps() const;
  void OnSerialWrite(const std::string& port, const Bytes& bytes);
  void OnHidWrite(const std::string& id, const Bytes& report);
  void Request(const std::string& place, const std::string& port, const Bytes& request);
  std::string Bridge() const { return "unit-" + std::to_string(bridges_); }

  std::vector<std::string> paths_;  // by FileChoice
  std::vector<Bytes> requests_;     // the requests that reached the unit
  std::size_t answered_ = 0;        // requests answered or lost so far
  Bytes pieces_;                    // a block's pieces over the bridge so far
  int bridges_ = 1;                 // the unit's bridge is plugged in anew each time
  int others_ = 0;                  // bridges with nobody behind them, plugged in so far
  int others_gone_ = 0;             // and unplugged again
  bool newest_is_unit_ = true;      // the bridge plugged in last is the unit's
  bool muddled_ = false;            // bytes other than a whole reply came since the last request
  bool vanished_ = false;
  bool press_taken_ = false;
  bool unit_has_latest_ = false;  // the latest request went to the unit
  int last_report_at_ = -1;       // when the closing run last switched the power
  int retries_ = 0;               // Retry presses of the closing run since it opened a file
  bool fixing_port_ = false;      // Retry did not help: the closing run turns the search on
  bool armed_fast_ = false;       // the rate of the last open that armed a connection

  std::vector<std::int64_t> sent_at_;  // when each request in requests_ reached the unit
  std::int64_t answer_at_ = -1;        // when the unit's last answer came whole
  Bytes answered_request_;             // and the request it answered
  std::vector<Bytes> acknowledged_;    // block frames answered "OK" since the last start request
};

}  // namespace checker
