#pragma once

#include <string>

#include "firmware/acceptance.h"

namespace batch {

// Why opening the file would be refused, in --info's words; an image named in a
// script is named first.
std::string RefusalText(const firmware::Refusal& refusal);

}  // namespace batch
