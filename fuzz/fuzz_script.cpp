// Download script reading over arbitrary bytes: line splitting, sections, step
// lines, version patterns, and the open's check of a script and its images.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "acceptance_checks.h"
#include "firmware/acceptance.h"
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

// A whole image of two blocks, named in a script by any name ending in "0".
std::vector<std::uint8_t> GoodImage() {
  std::vector<std::uint8_t> image(2 * 1024 + 2, 0x5A);
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < image.size(); ++i) sum += image[i];
  image.back() = static_cast<std::uint8_t>(sum);
  return image;
}

// How many "[f]" lines the open reads from the second line up to `end`.
std::size_t ImageLines(const std::vector<firmware::ScriptLine>& lines, std::size_t end) {
  std::size_t count = 0;
  for (std::size_t i = 1; i < end && i < lines.size(); ++i) {
    count += lines[i].text.starts_with("[f]") ? 1 : 0;
  }
  return count;
}

// The open checks a script up to its first "[begin2]"; every image named before
// it is read beside the script (here: a good image for a name ending in "0",
// the script's own bytes for any other).
void CheckAcceptance(std::span<const std::uint8_t> bytes,
                     const std::vector<firmware::ScriptLine>& lines,
                     const firmware::Script& script) {
  static const std::vector<std::uint8_t> good = GoodImage();
  const std::vector<std::uint8_t> own(bytes.begin(), bytes.end());
  const std::string path = "dir/unit.fm1";
  const auto verdict = firmware::AcceptFile(path, [&](const std::string& name) {
    return name != path && name.ends_with('0') ? good : own;
  });
  Require(!std::holds_alternative<firmware::AcceptedImage>(verdict), "a script is no image");
  std::size_t begin2 = 1;
  while (begin2 < lines.size() && lines[begin2].text != "[begin2]") ++begin2;
  if (const auto* accepted = std::get_if<firmware::AcceptedScript>(&verdict)) {
    Require(script.begins && script.has_begin2, "an accepted script has its markers");
    Require(accepted->images.size() == ImageLines(lines, begin2), "every [f] line checked");
    for (const auto& image : accepted->images) RequirePassed(image);
    return;
  }
  const auto& refusal = std::get<firmware::Refusal>(verdict);
  if (refusal.NamedInScript()) {
    Require(refusal.line >= 2 && refusal.line <= begin2, "an image named before [begin2]");
    const std::string& text = lines[refusal.line - 1].text;
    Require(firmware::ClassifyStep(text).image_name == refusal.file, "the line names the image");
    Require(refusal.passed.size() == ImageLines(lines, refusal.line - 1), "images before it");
    RequireImageRefusalHolds(refusal);
  } else if (refusal.reason == firmware::RefusalReason::not_a_script) {
    Require(!script.begins && lines[0].ended, "a whole first line other than [begin1]");
  } else if (refusal.reason == firmware::RefusalReason::no_image) {
    Require(script.has_begin2 && ImageLines(lines, begin2) == 0, "no [f] line before [begin2]");
  } else {
    Require(refusal.reason == firmware::RefusalReason::no_begin2, "a script's own reason");
    for (const auto& image : refusal.passed) RequirePassed(image);
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
  CheckAcceptance(bytes, lines, script);
  CheckPatterns(script, lines);
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  firmware::IsScriptPath(path);
  firmware::UnitKindTitle(path);
  Require(firmware::NamePart(path).size() <= size, "name part inside the path");
  return 0;
}
