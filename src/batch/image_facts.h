#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "firmware/family.h"
#include "firmware/image.h"

namespace batch {

// What --info says about one firmware image, whether opened itself or named in a script.
struct ImageFacts {
  bool readable = false;  // read, and at least one record long
  firmware::ImageLayout layout;
  std::string version;
  firmware::Family family;

  // Why opening it would be refused, or nothing when it passes.
  std::optional<std::string> refusal() const;
};

// Reads `path`; the family from the image's own version text, or, for an image
// named in a script, from its name.
ImageFacts InspectImageFile(const std::string& path, const std::string* script_name);

// One "Name:  value" line, the names aligned.
void Field(std::ostream& out, const std::string& name, const std::string& value);

// The fields of one image; `indent` goes before each name (for the images of a script).
void PrintFamily(std::ostream& out, const firmware::Family& family, const std::string& code,
                 const std::string& indent = "");
void PrintBlocks(std::ostream& out, const ImageFacts& facts, const std::string& indent = "");
void PrintChecksum(std::ostream& out, const ImageFacts& facts, const std::string& indent = "");

}  // namespace batch
