#include <optional>
#include <vector>

#include "batch/file_info.h"
#include "batch/image_facts.h"
#include "batch/printable.h"
#include "firmware/family.h"
#include "firmware/script.h"
#include "firmware/script_paths.h"

namespace batch {

namespace {

struct ScriptOpen {
  std::vector<std::string> image_names;  // "[f]" lines up to "[begin2]", as the open reads them
  std::optional<std::string> refusal;
};

// Walks the script the way the file open does: the first line, then every line
// up to and including "[begin2]".
ScriptOpen ReadAsOpened(const std::vector<std::uint8_t>* bytes) {
  ScriptOpen open;
  if (bytes == nullptr) {
    open.refusal = "the file cannot be read";
    return open;
  }
  auto line = firmware::ReadScriptLine(*bytes, 0);
  if (line && line->ended && line->text != "[begin1]") {
    open.refusal = "the first line is not [begin1]: the script is not run";
    return open;
  }
  while (line && line->ended && line->text != "[begin2]") {
    line = firmware::ReadScriptLine(*bytes, line->next);
    if (!line || !line->ended) break;
    const firmware::Step step = firmware::ClassifyStep(line->text);
    if (step.kind == firmware::StepKind::image) open.image_names.push_back(step.image_name);
  }
  if (!line || !line->ended) open.refusal = "no [begin2] line, or a line without CR LF";
  return open;
}

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

std::string PatternList(const firmware::Script& script) {
  if (script.patterns.empty()) return "none (no unit fits)";
  std::string list;
  for (const auto& p : script.patterns) list += (list.empty() ? "" : ", ") + Printable(p);
  return list;
}

// The facts of one named image; returns why it would be refused, if it would.
std::optional<std::string> PrintNamedImage(std::ostream& out, const std::string& script_path,
                                           const std::string& name, std::size_t number) {
  const ImageFacts facts = InspectImageFile(ScriptImagePath(script_path, name), &name);
  Field(out, "Image " + std::to_string(number), Printable(name));
  Field(out, "  Version", Printable(facts.version));
  PrintFamily(out, facts.family, name, "  ");
  PrintBlocks(out, facts, "  ");
  PrintChecksum(out, facts, "  ");
  const auto refusal = facts.refusal();
  if (refusal) return Printable(name) + ": " + *refusal;
  return std::nullopt;
}

}  // namespace

bool PrintScriptInfo(const std::string& path, std::ostream& out) {
  const auto bytes = firmware::ReadWholeFile(path);
  Field(out, "File", Printable(path));
  Field(out, "Kind", "download script");
  Field(out, "Version", Printable(firmware::NamePart(path)));
  ScriptOpen open = ReadAsOpened(bytes ? &*bytes : nullptr);
  if (bytes) {
    const firmware::Script script = firmware::ParseScript(*bytes);
    Field(out, "Steps", StepSummary(script));
    Field(out, "Patterns", PatternList(script));
  }
  if (!open.refusal && open.image_names.empty()) {
    Field(out, "Images", "none (the link and port of an earlier open stay in force)");
  }
  for (std::size_t i = 0; i < open.image_names.size() && !open.refusal; ++i) {
    open.refusal = PrintNamedImage(out, path, open.image_names[i], i + 1);
  }
  Field(out, "Finish wait", "not read from a script's images (none after start)");
  Field(out, "Verdict", open.refusal ? "refused: " + *open.refusal : "accepted");
  return !open.refusal;
}

}  // namespace batch
