#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

// What a run shows, as one JSON object a line for a program that reads it
// (zekflash-cli --json). Every object has "event" first; the README lists them.
// Each line is flushed at once, so that a reader sees the run as it goes.
class JsonEvents {
 public:
  explicit JsonEvents(std::ostream& out) : out_(out) {}

  void Panel(std::string_view name, const std::vector<std::string>& lines,
             const std::vector<std::string>& buttons);
  void Box(std::string_view kind, std::string_view text, std::string_view answer);
  void Press(std::string_view button);
  void File(std::string_view name, std::string_view version);
  void Unit(std::string_view version, std::string_view serial);
  // The rate (bytes a second) and the time left are unknown until a block has
  // been acknowledged after the first.
  void Progress(int block, int blocks, std::optional<double> rate,
                std::optional<std::int64_t> seconds_left);
  void End(int exit_status, std::string_view reason);

 private:
  std::ostream& out_;
};

// `text` as a JSON string, quotes included. Valid UTF-8 passes as it is; each
// byte that is not part of a valid sequence (a unit's reply may hold any byte)
// is taken as the character of that code (Latin-1) and written "\u00XX", as
// are the control characters, so that the line is always valid JSON and UTF-8.
std::string JsonString(std::string_view text);

}  // namespace batch
