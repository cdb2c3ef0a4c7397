#pragma once

#include <istream>
#include <string>

#include "app/main_window.h"
#include "batch/console.h"

namespace batch {

// Where the unit is reached, for messages: the serial port's name, or the USB HID bridge.
std::string UnitPlace(const TForm1& form);

// What one look at the window came to: nothing to press (the run waits for the
// next event), a press made (its handler may already have shown the next panel),
// the download finished, or the run must stop.
enum class Outcome { waiting, pressed, finished, stopped };

// Plays the technician in front of the window: looks at the panel on top and
// presses what the options say, exactly as a user would (a button that cannot
// be seen or used takes no press). Decides whether a panel ends the run, and
// says why a window at rest ended it.
class Technician {
 public:
  struct Policy {
    bool yes = false;
    bool ignore_version = false;
    int retries = 0;
    bool can_ask = false;  // a person at a terminal can answer questions on `answers`
  };

  Technician(TForm1& form, Policy policy, Console& console, std::istream& answers,
             std::string file);

  // One look at the window after an event.
  Outcome Act();
  // Why the run stopped, naming the file or port and what to do next.
  const std::string& reason() const { return reason_; }
  // The button of the last press.
  const ui::Button* pressed() const { return pressed_; }
  // Why nothing more can happen, for a window that has come to rest (TForm1::Idle).
  std::string AtRest() const;

 private:
  Outcome OnAccessLevel();
  Outcome OnOffline();
  Outcome OnText();
  Outcome OnReady();
  Outcome OnOlderVersion();
  bool Searching() const;
  std::string NoAnswer() const;
  bool Finished() const;
  bool Ask(const std::string& question);
  Outcome Press(ui::Button& button, const std::string& note);
  Outcome Stop(ui::Button* button, std::string reason);
  std::string Unit() const;

  TForm1& form_;
  Policy policy_;
  Console& console_;
  std::istream& answers_;
  std::string file_;
  int retries_used_ = 0;
  std::string reason_;
  const ui::Button* pressed_ = nullptr;
};

}  // namespace batch
