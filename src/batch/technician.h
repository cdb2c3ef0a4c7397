#pragma once

#include <istream>
#include <optional>
#include <string>

#include "app/window.h"
#include "batch/console.h"

namespace batch {

// What one look at the window came to: nothing to press (the run waits for the
// next event), a press made (its handler may already have shown the next panel),
// the download finished, or the run must stop.
enum class Outcome { waiting, pressed, finished, stopped };

// Plays the technician in front of the window: looks at what the panel on top
// asks and presses what the options say, exactly as a user would (a button
// that cannot be seen or used takes no press). Decides whether a panel ends the
// run, and says why a window at rest ended it.
class Technician {
 public:
  using Asks = app::Window::Asks;
  using Choice = app::Window::Choice;

  struct Policy {
    bool yes = false;
    bool ignore_version = false;
    int retries = 0;
    bool can_ask = false;  // a person at a terminal can answer questions on `answers`
  };

  Technician(app::Window& window, Policy policy, Console& console, std::istream& answers,
             std::string file);

  // One look at the window after an event.
  Outcome Act();
  // Why the run stopped, naming the file or port and what to do next.
  const std::string& reason() const { return reason_; }
  // The button of the last press.
  const ui::Button* pressed() const { return pressed_; }
  // Why nothing more can happen, for a window that has come to rest (Window::Idle).
  std::string AtRest() const;

 private:
  Outcome OnAccessLevel();
  Outcome OnOffline();
  Outcome OnRefusal();
  Outcome OnText();
  Outcome OnReady();
  Outcome OnGoOn();
  Outcome OnOlderVersion();
  std::string NoAnswer() const;
  bool Ask(const std::string& question);
  Outcome Press(Choice choice, const std::string& note = {});
  Outcome Stop(std::optional<Choice> choice, std::string reason);
  std::string Unit() const;

  app::Window& window_;
  Policy policy_;
  Console& console_;
  std::istream& answers_;
  std::string file_;
  int retries_used_ = 0;
  std::string reason_;
  const ui::Button* pressed_ = nullptr;
};

}  // namespace batch
