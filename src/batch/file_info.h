#pragma once

#include <ostream>
#include <string>

#include "firmware/acceptance.h"

namespace batch {

// --info: what a firmware file holds and how the program would treat it (kind,
// version text, family, link, port kind, baud, blocks, finish wait, checksum),
// found by the same check the window makes. Connects to nothing. Returns
// whether opening the file would be accepted.
bool PrintFileInfo(const std::string& path, std::ostream& out);

// Why opening the file would be refused, in --info's words; an image named in a
// script is named first.
std::string RefusalText(const firmware::Refusal& refusal);

bool PrintImageInfo(const std::string& path, const firmware::Acceptance& verdict,
                    std::ostream& out);
bool PrintScriptInfo(const std::string& path, const firmware::Acceptance& verdict,
                     std::ostream& out);

}  // namespace batch
