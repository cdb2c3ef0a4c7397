#include "batch/file_info.h"

#include "batch/image_facts.h"
#include "batch/printable.h"
#include "firmware/family.h"
#include "firmware/image.h"

namespace batch {

namespace {

const char* Why(firmware::RefusalReason reason) {
  using enum firmware::RefusalReason;
  switch (reason) {
    case unreadable:
      return "the file cannot be read";
    case damaged:
      return "the checksum is wrong: the file is damaged";
    case no_blocks:
      return "no 1024 data blocks";
    case incomplete_last_block:
      return "the last block is incomplete: the file is damaged";
    case finish_wait_unreadable:
      return "the finish wait cannot be read";
    case unsupported_family:
      return "the family code is not supported";
    case not_a_script:
      return "the first line is not [begin1]: the script is not run";
    case no_begin2:
      return "no [begin2] line, or a line without CR LF";
    case no_image:
      return "no [f] line before [begin2]: the script names no firmware file";
  }
  return "refused";
}

}  // namespace

std::string RefusalText(const firmware::Refusal& refusal) {
  const std::string why = Why(refusal.reason);
  return refusal.NamedInScript() ? Printable(refusal.file) + ": " + why : why;
}

bool PrintFileInfo(const std::string& path, std::ostream& out) {
  const firmware::Acceptance verdict = firmware::AcceptFile(path, firmware::ReadWholeFile);
  return firmware::IsScriptPath(path) ? PrintScriptInfo(path, verdict, out)
                                      : PrintImageInfo(path, verdict, out);
}

bool PrintImageInfo(const std::string& path, const firmware::Acceptance& verdict,
                    std::ostream& out) {
  const auto* refusal = std::get_if<firmware::Refusal>(&verdict);
  const firmware::ImageFacts& image =
      refusal != nullptr ? *refusal->image : std::get<firmware::AcceptedImage>(verdict);
  Field(out, "File", Printable(path));
  const auto title = firmware::UnitKindTitle(path);
  Field(out, "Kind", "firmware image" + (title ? " (" + *title + ")" : std::string()));
  Field(out, "Version", Printable(image.version));
  PrintFamily(out, image.family, image.version);
  PrintBlocks(out, image.layout);
  if (image.readable) Field(out, "Finish wait", FinishWaitText(image));
  PrintChecksum(out, image.layout);
  Field(out, "Verdict", refusal != nullptr ? "refused: " + RefusalText(*refusal) : "accepted");
  return refusal == nullptr;
}

}  // namespace batch
