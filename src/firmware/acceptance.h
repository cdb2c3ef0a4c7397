#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "firmware/family.h"
#include "firmware/image.h"

// Whether a chosen file may be downloaded: the one set of rules that both the
// window and the command line's file description follow. Reads through the
// reader it is given, so that it can run on bytes in memory.
namespace firmware {

// What the bytes of one image say, read in full whatever the verdict, so that a
// refusal can still be explained.
struct ImageFacts {
  std::string name;        // the path opened, or the name a script's "[f]" line gives
  bool readable = false;   // read, and at least one record long
  ImageLayout layout;      // records, last block number, checksum, blocks held
  std::string version;     // bytes 0 to 8
  Family family;           // of the version text; for a script's image, of its name
  bool fast_baud = false;  // an opened image: version begins "6" or "8"; a script's image:
                           // the family's rate
  // Tenths of a second, 0 for no time limit: bytes 9 to 12 for a fast image (for a
  // script's image, fast by its name), else 0. Nothing when those bytes are no
  // whole number.
  std::optional<std::int32_t> finish_wait;
};

// An image that passed every check.
struct AcceptedImage : ImageFacts {};

struct AcceptedScript {
  // The "[f]" images up to "[begin2]", in order; the last one decides the link and rate.
  std::vector<ImageFacts> images;
};

// Why a file is refused. An image's checks run in the order of the first six,
// so an image refused for one passed every check above it.
enum class RefusalReason {
  unreadable,              // missing, not readable, or shorter than one record
  damaged,                 // the checksum does not hold
  no_blocks,               // last block number 0: fewer than 1040 bytes
  incomplete_last_block,   // the file ends inside its last block
  finish_wait_unreadable,  // a fast family's bytes 9 to 12 are no whole number
  unsupported_family,      // no rule of the family table applies
  not_a_script,            // the first line is not "[begin1]"
  no_begin2,               // no "[begin2]" line, or a line before it without CR LF
  no_image,                // no "[f]" line before "[begin2]": nothing chooses the link
                           // (the window runs it on the link an earlier open chose)
};

struct Refusal {
  RefusalReason reason = RefusalReason::unreadable;
  std::string file;      // the chosen path, or the image name a script's "[f]" line gives
  std::size_t line = 0;  // for an image named in a script: the script's line (1-based)
  std::optional<ImageFacts> image;  // the image refused, for an image's reasons
  std::vector<ImageFacts> passed;   // a script's images that passed before the refusal

  bool NamedInScript() const { return line != 0; }
  // Whether the refused image got past `check` (it failed a later one).
  bool Passed(RefusalReason check) const { return reason > check; }
};

using Acceptance = std::variant<AcceptedImage, AcceptedScript, Refusal>;

// Reads a whole file; nothing when it cannot. `ReadWholeFile` is the real one.
using FileReader = std::function<std::optional<std::vector<std::uint8_t>>(const std::string&)>;

// Checks the file at `path`: a download script when `IsScriptPath`, else a
// firmware image. A script's images are read beside it (`ScriptImagePath`), one
// after another as its lines name them; the first refusal ends the check.
Acceptance AcceptFile(const std::string& path, const FileReader& read);

// Checks the image that line `line` (1-based) of the script at `script_path`
// names, as the open does; the script's step checks it again before it sends
// it, since the file may have changed in between. An AcceptedImage or a Refusal.
Acceptance AcceptScriptImage(const std::string& script_path, const std::string& image_name,
                             std::size_t line, const FileReader& read);

}  // namespace firmware
