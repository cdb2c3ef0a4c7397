#pragma once

#include <ostream>
#include <string>

#include "batch/json_events.h"

namespace batch {

// The batch front end's two output streams. Panel lines and progress go to
// `out`, message boxes and our own verdicts to `err`. On a terminal the
// progress bar is redrawn in place, so it is ended before any other line is
// written, on either stream (both usually reach the same screen). With JSON
// events (--json) `out` is theirs alone: the lines, bars and prompts meant for
// a person are not written; `err` stays as it is.
class Console {
 public:
  Console(std::ostream& out, std::ostream& err, bool out_is_terminal, JsonEvents* json = nullptr)
      : out_(out), err_(err), out_is_terminal_(out_is_terminal && json == nullptr), json_(json) {}

  bool out_is_terminal() const { return out_is_terminal_; }
  // The JSON events, when the run writes them.
  JsonEvents* json() const { return json_; }

  void Line(const std::string& text);
  void ErrorLine(const std::string& text);
  // Replaces the current bar line (terminal only).
  void Bar(const std::string& text);
  // Finishes a bar line, if one is open.
  void EndBar();
  // A question without its line end; the answer is typed after it.
  void Prompt(const std::string& text);

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool out_is_terminal_ = false;
  bool bar_open_ = false;
  JsonEvents* json_ = nullptr;
};

}  // namespace batch
