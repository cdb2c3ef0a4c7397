#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Download scripts: 8-bit text whose lines end in CR LF. A line is everything up
// to its CR; the byte after the CR is skipped unseen. Lines are compared whole,
// exactly and case-sensitively; nothing is trimmed.
namespace firmware {

struct ScriptLine {
  std::string text;        // without the CR
  std::size_t offset = 0;  // where the line starts in the file
  std::size_t next = 0;    // where the next line starts (past CR and the skipped byte)
  bool ended = true;       // false for a last line that runs to the end of the file without CR
};

// The line starting at `offset`, or nothing when `offset` is at or past the end.
std::optional<ScriptLine> ReadScriptLine(std::span<const std::uint8_t> bytes, std::size_t offset);
// Every line of the file in order.
std::vector<ScriptLine> ScriptLines(std::span<const std::uint8_t> bytes);
// The number (from 1) of the line that starts at `offset`, as an editor counts them.
std::size_t LineNumberAt(std::span<const std::uint8_t> bytes, std::size_t offset);

enum class StepKind { image, power_cycle, restart, text, end, other };

struct Step {
  StepKind kind = StepKind::other;
  std::string image_name;  // for `image`: the rest of the line after "[f]", CR characters left out
  std::string groups;      // for `text`: the digits between "[t" and "]", in order, repeats kept
};

// What one line of the step section asks for, tested in this order: begins with
// "[f]"; first four characters "[HR]" or "[SR]"; begins with "[t"; is "[end1]";
// anything else does nothing. In a "[t" line the digits up to the first "]" name
// the text groups and other characters there are skipped; a "[t" line without
// "]" takes its digits up to the end of the line, so a missing bracket still
// shows the texts its author named instead of stalling the download.
Step ClassifyStep(std::string_view line);

// The sections of a script, each found the way the program reads it: the steps
// follow a first line "[begin1]" and run up to and including "[end1]" (to the end
// of the file when there is none); the patterns follow the first "[begin2]" of the
// file and run up to "[begin3]" or the end; the texts follow the first "[begin3]"
// of the file and run up to "[end3]" or the end.
struct Script {
  bool begins = false;            // first line is exactly "[begin1]"
  std::vector<ScriptLine> steps;  // lines after "[begin1]" up to and including "[end1]"
  bool has_begin2 = false;
  bool has_begin3 = false;
  std::vector<std::string> patterns;  // lines after "[begin2]" up to "[begin3]"
  // Text lines after "[begin3]": a line beginning "[t" whose third character is
  // the digit d adds everything after its fourth character to group d.
  std::array<std::vector<std::string>, 10> text_groups;
  bool has_end3 = false;
};

Script ParseScript(std::span<const std::uint8_t> bytes);

// Position k (0 to 8) of a pattern matches character k of the unit's version
// text when equal, or always when the pattern holds "X" (upper case) there. Only
// the first 9 characters of each count. A pattern or version text shorter than 9
// characters never matches: a unit always reports at least 9, so a shorter text
// is damaged and must not pass as fitting.
bool MatchVersionPattern(std::string_view pattern, std::string_view unit_version);

// Where an image named in a script lives: a name, with or without a folder in
// front, is found from the script's own folder; an absolute path is used as it stands.
std::string ScriptImagePath(std::string_view script_path, std::string_view image_name);

}  // namespace firmware
