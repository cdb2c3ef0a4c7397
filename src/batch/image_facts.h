#pragma once

#include <ostream>
#include <string>

#include "firmware/acceptance.h"
#include "firmware/family.h"
#include "firmware/image.h"

namespace batch {

// One "Name:  value" line, the names aligned.
void Field(std::ostream& out, const std::string& name, const std::string& value);

// The fields of one image, whether opened itself or named in a script; `indent`
// goes before each name (for the images of a script).
void PrintFamily(std::ostream& out, const firmware::Family& family, const std::string& code,
                 const std::string& indent = "");
void PrintBlocks(std::ostream& out, const firmware::ImageLayout& layout,
                 const std::string& indent = "");
void PrintChecksum(std::ostream& out, const firmware::ImageLayout& layout,
                   const std::string& indent = "");
// The finish wait of an image, as the open reads it: only the fast families carry one.
std::string FinishWaitText(const firmware::ImageFacts& image);

}  // namespace batch
