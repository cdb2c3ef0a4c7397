#include "firmware/acceptance.h"

#include <utility>

#include "firmware/script.h"

namespace firmware {

namespace {

using Bytes = std::optional<std::vector<std::uint8_t>>;

ImageFacts LayoutFacts(const std::string& name, const Bytes& bytes) {
  ImageFacts facts;
  facts.name = name;
  facts.readable = bytes && bytes->size() >= 2;
  if (bytes) {
    facts.layout = InspectImage(*bytes);
    facts.version = ImageVersion(*bytes);
  }
  return facts;
}

ImageFacts OpenedImageFacts(const std::string& path, const Bytes& bytes) {
  ImageFacts facts = LayoutFacts(path, bytes);
  facts.family = FamilyOfImage(facts.version);
  facts.fast_baud = FastFamily(facts.version);
  if (facts.readable) facts.finish_wait = facts.fast_baud ? ImageFinishWait(*bytes) : 0;
  return facts;
}

ImageFacts ScriptImageFacts(const std::string& name, const Bytes& bytes) {
  ImageFacts facts = LayoutFacts(name, bytes);
  facts.family = FamilyOfScriptImage(name);
  facts.fast_baud = facts.family.fast_baud;
  if (facts.readable) facts.finish_wait = facts.fast_baud ? ImageFinishWait(*bytes) : 0;
  return facts;
}

Refusal Refused(RefusalReason reason, const std::string& file) {
  Refusal refusal;
  refusal.reason = reason;
  refusal.file = file;
  return refusal;
}

// The first check an image fails, in the order the open makes them.
std::optional<RefusalReason> FirstFailure(const ImageFacts& image) {
  using enum RefusalReason;
  if (!image.readable) return unreadable;
  if (!image.layout.checksum_ok) return damaged;
  if (image.layout.last_block_nr == 0) return no_blocks;
  // The last counted block must be held whole, or the download would stop half
  // way with the unit's memory half written.
  if (!image.layout.blocks_complete) return incomplete_last_block;
  if (!image.finish_wait) return finish_wait_unreadable;
  if (!image.family.supported) return unsupported_family;
  return std::nullopt;
}

Acceptance AcceptImage(const std::string& path, const FileReader& read) {
  ImageFacts image = OpenedImageFacts(path, read(path));
  if (const auto failure = FirstFailure(image)) {
    Refusal refusal = Refused(*failure, path);
    refusal.image = std::move(image);
    return refusal;
  }
  return AcceptedImage{std::move(image)};
}

// Walks the script as the open reads it: the first line, then each line up to
// and including "[begin2]", checking every image a "[f]" line names on the way.
Acceptance AcceptScript(const std::string& path, const FileReader& read) {
  const Bytes bytes = read(path);
  if (!bytes) return Refused(RefusalReason::unreadable, path);
  auto line = ReadScriptLine(*bytes, 0);
  std::size_t number = 1;
  if (line && line->ended && line->text != "[begin1]") {
    return Refused(RefusalReason::not_a_script, path);
  }
  std::vector<ImageFacts> images;
  while (line && line->ended && line->text != "[begin2]") {
    line = ReadScriptLine(*bytes, line->next);
    ++number;
    if (!line || !line->ended) break;
    const Step step = ClassifyStep(line->text);
    if (step.kind != StepKind::image) continue;
    Acceptance verdict = AcceptScriptImage(path, step.image_name, number, read);
    if (auto* refusal = std::get_if<Refusal>(&verdict)) {
      refusal->passed = std::move(images);
      return std::move(*refusal);
    }
    images.push_back(std::get<AcceptedImage>(std::move(verdict)));
  }
  if (!line || !line->ended) {
    Refusal refusal = Refused(RefusalReason::no_begin2, path);
    refusal.passed = std::move(images);
    return refusal;
  }
  // Without one the download can only run on the link an earlier open chose.
  if (images.empty()) return Refused(RefusalReason::no_image, path);
  return AcceptedScript{std::move(images)};
}

}  // namespace

Acceptance AcceptScriptImage(const std::string& script_path, const std::string& image_name,
                             std::size_t line, const FileReader& read) {
  ImageFacts image = ScriptImageFacts(image_name, read(ScriptImagePath(script_path, image_name)));
  if (const auto failure = FirstFailure(image)) {
    Refusal refusal = Refused(*failure, image_name);
    refusal.line = line;
    refusal.image = std::move(image);
    return refusal;
  }
  return AcceptedImage{std::move(image)};
}

Acceptance AcceptFile(const std::string& path, const FileReader& read) {
  return IsScriptPath(path) ? AcceptScript(path, read) : AcceptImage(path, read);
}

}  // namespace firmware
