#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

// Whether the opening screen is shown: only "-O" (exactly) as the first or the
// second argument suppresses it.
bool OpeningScreenWanted(const std::vector<std::string>& args);

// The file of "--trace FILE" or "--trace=FILE", taken out of `args` so that
// the rest keep the places the program looks for them in; an empty name when
// "--trace" has none. Nothing when there is no "--trace".
std::optional<std::string> TakeTraceFile(std::vector<std::string>& args);

// Whether the usage text is wanted instead of the window: "--help" or "-h" in
// the same places as "-O", so that the other arguments keep their meaning.
bool HelpWanted(const std::vector<std::string>& args);

// Whether the program's version is wanted instead of the window: "--version" in
// the same places.
bool VersionWanted(const std::vector<std::string>& args);

// The folder part of a full path, with its trailing separator; empty when there is none.
std::string FolderOf(const std::string& path);

}  // namespace app
