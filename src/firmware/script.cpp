#include "firmware/script.h"

#include <algorithm>
#include <iterator>

namespace firmware {

namespace {

constexpr std::uint8_t cr = '\r';

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Digits(std::string_view text) {
  std::string digits;
  std::copy_if(text.begin(), text.end(), std::back_inserter(digits), IsDigit);
  return digits;
}

// "/x", "\\x" or a drive "C:x": a path that does not start from the script's folder.
bool IsAbsolute(std::string_view path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() >= 2 && path[1] == ':';
}

// Index of the first line at or after `from` that equals `marker`, or lines.size().
std::size_t Find(const std::vector<ScriptLine>& lines, std::size_t from, std::string_view marker) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i].text == marker) return i;
  }
  return lines.size();
}

void CollectSteps(const std::vector<ScriptLine>& lines, Script& script) {
  if (lines.empty() || lines.front().text != "[begin1]") return;
  script.begins = true;
  const std::size_t end = Find(lines, 1, "[end1]");
  const std::size_t last = std::min(end + 1, lines.size());
  script.steps.assign(lines.begin() + 1, lines.begin() + static_cast<std::ptrdiff_t>(last));
}

void CollectPatterns(const std::vector<ScriptLine>& lines, Script& script) {
  const std::size_t begin2 = Find(lines, 0, "[begin2]");
  if (begin2 == lines.size()) return;
  script.has_begin2 = true;
  for (std::size_t i = begin2 + 1; i < lines.size() && lines[i].text != "[begin3]"; ++i) {
    script.patterns.push_back(lines[i].text);
  }
}

void CollectTexts(const std::vector<ScriptLine>& lines, Script& script) {
  const std::size_t begin3 = Find(lines, 0, "[begin3]");
  if (begin3 == lines.size()) return;
  script.has_begin3 = true;
  for (std::size_t i = begin3 + 1; i < lines.size(); ++i) {
    const std::string_view text = lines[i].text;
    if (text == "[end3]") {
      script.has_end3 = true;
      return;
    }
    if (text.size() < 3 || !StartsWith(text, "[t") || !IsDigit(text[2])) continue;
    script.text_groups[static_cast<std::size_t>(text[2] - '0')].emplace_back(
        text.size() > 4 ? text.substr(4) : std::string_view{});
  }
}

}  // namespace

std::optional<ScriptLine> ReadScriptLine(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset >= bytes.size()) return std::nullopt;
  const auto rest = bytes.subspan(offset);
  const auto end = std::find(rest.begin(), rest.end(), cr);
  ScriptLine line;
  line.text.assign(rest.begin(), end);
  line.offset = offset;
  line.ended = end != rest.end();
  // Past the CR and the byte after it, which is taken to be LF without looking.
  const std::size_t skip = line.ended ? 2 : 0;
  line.next = std::min(offset + line.text.size() + skip, bytes.size());
  return line;
}

std::vector<ScriptLine> ScriptLines(std::span<const std::uint8_t> bytes) {
  std::vector<ScriptLine> lines;
  std::size_t offset = 0;
  while (auto line = ReadScriptLine(bytes, offset)) {
    offset = line->next;
    lines.push_back(std::move(*line));
  }
  return lines;
}

std::size_t LineNumberAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::size_t number = 1;
  for (std::size_t at = 0; at < offset; ++number) {
    const auto line = ReadScriptLine(bytes, at);
    if (!line) break;
    at = line->next;
  }
  return number;
}

Step ClassifyStep(std::string_view line) {
  Step step;
  if (StartsWith(line, "[f]")) {
    step.kind = StepKind::image;
    const auto name = line.substr(3);
    std::copy_if(name.begin(), name.end(), std::back_inserter(step.image_name),
                 [](char c) { return c != '\r'; });
  } else if (StartsWith(line, "[HR]")) {
    step.kind = StepKind::power_cycle;
  } else if (StartsWith(line, "[SR]")) {
    step.kind = StepKind::restart;
  } else if (StartsWith(line, "[t")) {
    step.kind = StepKind::text;
    const auto inside = line.substr(2);
    step.groups = Digits(inside.substr(0, inside.find(']')));
  } else if (line == "[end1]") {
    step.kind = StepKind::end;
  }
  return step;
}

Script ParseScript(std::span<const std::uint8_t> bytes) {
  const auto lines = ScriptLines(bytes);
  Script script;
  CollectSteps(lines, script);
  CollectPatterns(lines, script);
  CollectTexts(lines, script);
  return script;
}

bool MatchVersionPattern(std::string_view pattern, std::string_view unit_version) {
  constexpr std::size_t positions = 9;
  if (pattern.size() < positions || unit_version.size() < positions) return false;
  for (std::size_t k = 0; k < positions; ++k) {
    if (pattern[k] != 'X' && pattern[k] != unit_version[k]) return false;
  }
  return true;
}

std::string ScriptImagePath(std::string_view script_path, std::string_view image_name) {
  if (IsAbsolute(image_name)) return std::string(image_name);
  const auto slash = script_path.find_last_of("/\\");
  if (slash == std::string_view::npos) return std::string(image_name);
  return std::string(script_path.substr(0, slash + 1)) + std::string(image_name);
}

}  // namespace firmware
