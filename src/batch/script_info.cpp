#include <vector>

#include "batch/file_info.h"
#include "batch/image_facts.h"
#include "batch/printable.h"
#include "firmware/family.h"
#include "firmware/image.h"
#include "firmware/script.h"

namespace batch {

namespace {

std::string StepSummary(const firmware::Script& script) {
  int images = 0, cycles = 0, restarts = 0, texts = 0;
  bool end = false;
  for (const auto& line : script.steps) {
    switch (firmware::ClassifyStep(line.text).kind) {
      case firmware::StepKind::image:
        ++images;
        break;
      case firmware::StepKind::power_cycle:
        ++cycles;
        break;
      case firmware::StepKind::restart:
        ++restarts;
        break;
      case firmware::StepKind::text:
        ++texts;
        break;
      case firmware::StepKind::end:
        end = true;
        break;
      case firmware::StepKind::other:
        break;
    }
  }
  return "images " + std::to_string(images) + ", power cycles " + std::to_string(cycles) +
         ", restarts " + std::to_string(restarts) + ", texts " + std::to_string(texts) + ", " +
         (end ? "[end1] present" : "no [end1]");
}

// Text steps find their lines after "[begin3]"; without it their panels show none.
bool TextsWithoutSection(const firmware::Script& script) {
  if (script.has_begin3) return false;
  for (const auto& line : script.steps) {
    if (firmware::ClassifyStep(line.text).kind == firmware::StepKind::text) return true;
  }
  return false;
}

std::string PatternList(const firmware::Script& script) {
  if (script.patterns.empty()) return "none (no unit fits)";
  std::string list;
  for (const auto& p : script.patterns) list += (list.empty() ? "" : ", ") + Printable(p);
  return list;
}

// The images the check went through, in order: all of an accepted script's, or
// those before the refusal and the one refused.
std::vector<firmware::ImageFacts> ImagesChecked(const firmware::Acceptance& verdict) {
  if (const auto* script = std::get_if<firmware::AcceptedScript>(&verdict)) return script->images;
  const auto* refusal = std::get_if<firmware::Refusal>(&verdict);
  if (refusal == nullptr) return {};
  std::vector<firmware::ImageFacts> images = refusal->passed;
  if (refusal->NamedInScript() && refusal->image) images.push_back(*refusal->image);
  return images;
}

void PrintNamedImage(std::ostream& out, const firmware::ImageFacts& image, std::size_t number) {
  Field(out, "Image " + std::to_string(number), Printable(image.name));
  Field(out, "  Version", Printable(image.version));
  PrintFamily(out, image.family, firmware::NamePart(image.name), "  ");
  PrintBlocks(out, image.layout, "  ");
  if (image.readable) Field(out, "  Finish wait", FinishWaitText(image));
  PrintChecksum(out, image.layout, "  ");
}

}  // namespace

bool PrintScriptInfo(const std::string& path, const firmware::Acceptance& verdict,
                     std::ostream& out) {
  const auto* refusal = std::get_if<firmware::Refusal>(&verdict);
  Field(out, "File", Printable(path));
  Field(out, "Kind", "download script");
  Field(out, "Version", Printable(firmware::NamePart(path)));
  if (const auto bytes = firmware::ReadWholeFile(path)) {
    const firmware::Script script = firmware::ParseScript(*bytes);
    Field(out, "Steps", StepSummary(script));
    Field(out, "Patterns", PatternList(script));
    if (TextsWithoutSection(script)) {
      Field(out, "Warning", "text steps but no [begin3] line: their panels show no text");
    }
  }
  const std::vector<firmware::ImageFacts> images = ImagesChecked(verdict);
  for (std::size_t i = 0; i < images.size(); ++i) PrintNamedImage(out, images[i], i + 1);
  Field(out, "Verdict", refusal != nullptr ? "refused: " + RefusalText(*refusal) : "accepted");
  return refusal == nullptr;
}

}  // namespace batch
