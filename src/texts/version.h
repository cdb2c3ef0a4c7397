#pragma once

#include <string>
#include <string_view>

namespace texts {

// The release's version ("2.8"), as the build gives it; the packages carry the
// same. The window's caption and opening screen keep their own texts.
extern const char* const release_version;

// What "--version" prints: the program's name, the product and the release, one
// line ending in a newline ("zekflash-cli (ZEK Firmware downloader) 2.8\n").
std::string VersionLine(std::string_view program);

}  // namespace texts
