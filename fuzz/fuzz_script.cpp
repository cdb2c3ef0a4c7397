// Download script reading over arbitrary bytes: line splitting, sections, step
// lines and version patterns.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "firmware/family.h"
#include "firmware/script.h"
#include "require.h"

namespace {

void CheckLines(std::span<const std::uint8_t> bytes,
                const std::vector<firmware::ScriptLine>& lines) {
  std::size_t offset = 0;
  for (const auto& line : lines) {
    Require(line.offset == offset, "lines follow each other");
    Require(line.next > line.offset && line.next <= bytes.size(), "next inside the file");
    Require(line.offset + line.text.size() <= bytes.size(), "text inside the file");
    Require(line.text.find('\r') == std::string::npos, "no CR in a line");
    const auto held = bytes.subspan(line.offset, line.text.size());
    Require(std::string(held.begin(), held.end()) == line.text, "text is the file's bytes");
    Require(line.ended || line.next == bytes.size(), "only the last line runs to the end");
    offset = line.next;
  }
  Require(offset == bytes.size(), "lines cover the file");
}

void CheckStep(std::string_view line) {
  const auto step = firmware::ClassifyStep(line);
  Require(step.image_name.find('\r') == std::string::npos, "no CR in an image name");
  for (const char c : step.groups) Require(c >= '0' && c <= '9', "groups are digits");
  if (step.kind == firmware::StepKind::image) firmware::FamilyOfScriptImage(step.image_name);
}

void CheckPatterns(const firmware::Script& script, const std::vector<firmware::ScriptLine>& lines) {
  for (const auto& pattern : script.patterns) {
    for (std::size_t i = 0; i < lines.size() && i < 8; ++i) {
      const bool match = firmware::MatchVersionPattern(pattern, lines[i].text);
      if (match) Require(pattern.size() >= 9 && lines[i].text.size() >= 9, "9 positions compared");
    }
    if (pattern.size() >= 9) Require(firmware::MatchVersionPattern(pattern, pattern), "self match");
    const bool wild = firmware::MatchVersionPattern("XXXXXXXXX", pattern);
    Require(wild == (pattern.size() >= 9), "nine X fit every version of 9 or more");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto lines = firmware::ScriptLines(bytes);
  CheckLines(bytes, lines);
  const auto script = firmware::ParseScript(bytes);
  Require(script.begins == (!lines.empty() && lines[0].text == "[begin1]"), "header line");
  Require(script.steps.size() < lines.size() || script.steps.empty(), "steps follow the header");
  for (const auto& line : script.steps) CheckStep(line.text);
  CheckPatterns(script, lines);
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  firmware::IsScriptPath(path);
  firmware::UnitKindTitle(path);
  Require(firmware::NamePart(path).size() <= size, "name part inside the path");
  return 0;
}
