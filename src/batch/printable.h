#pragma once

#include <string>
#include <string_view>

namespace batch {

// `text` safe to write to a terminal: control characters and bytes above 0x7E
// become "\xNN". Version texts and serial numbers come from the unit and from
// files, so they may hold anything, escape sequences included.
std::string Printable(std::string_view text);

// `text` on one line: every run of CR and LF becomes one blank, and what is left is made printable.
std::string OneLine(std::string_view text);

}  // namespace batch
