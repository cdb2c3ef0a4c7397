#include "batch/file_info.h"

#include <cstdio>

#include "batch/image_facts.h"
#include "batch/printable.h"
#include "firmware/family.h"
#include "firmware/image.h"

namespace batch {

namespace {

// The finish wait of an image, as the open reads it: only for the fast families.
std::string FinishWaitText(const std::string& path, const ImageFacts& facts, bool& readable) {
  readable = true;
  if (!firmware::HasFinishWait(facts.version)) return "none (no time limit)";
  const auto bytes = firmware::ReadWholeFile(path);
  const auto wait = bytes ? firmware::ImageFinishWait(*bytes) : std::nullopt;
  if (!wait) {
    readable = false;
    return "unreadable (bytes 9 to 12 are no whole number)";
  }
  if (*wait == 0) return "none (no time limit)";
  char text[48];
  std::snprintf(text, sizeof text, "%d.%d s", *wait / 10, *wait % 10);
  return text;
}

}  // namespace

bool PrintFileInfo(const std::string& path, std::ostream& out) {
  return firmware::IsScriptPath(path) ? PrintScriptInfo(path, out) : PrintImageInfo(path, out);
}

bool PrintImageInfo(const std::string& path, std::ostream& out) {
  const ImageFacts facts = InspectImageFile(path, nullptr);
  Field(out, "File", Printable(path));
  const auto title = firmware::UnitKindTitle(path);
  Field(out, "Kind", "firmware image" + (title ? " (" + *title + ")" : std::string()));
  Field(out, "Version", Printable(facts.version));
  PrintFamily(out, facts.family, facts.version);
  PrintBlocks(out, facts);
  bool wait_readable = true;
  if (facts.readable) Field(out, "Finish wait", FinishWaitText(path, facts, wait_readable));
  PrintChecksum(out, facts);
  auto refusal = facts.refusal();
  if (!refusal && !wait_readable) refusal = "the finish wait cannot be read";
  Field(out, "Verdict", refusal ? "refused: " + *refusal : "accepted");
  return !refusal;
}

}  // namespace batch
