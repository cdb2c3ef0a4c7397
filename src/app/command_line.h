#pragma once

#include <string>
#include <vector>

namespace app {

// Whether the opening screen is shown: only "-O" (exactly) as the first or the
// second argument suppresses it.
bool OpeningScreenWanted(const std::vector<std::string>& args);

// Whether the usage text is wanted instead of the window: "--help" or "-h" in
// the same places as "-O", so that the other arguments keep their meaning.
bool HelpWanted(const std::vector<std::string>& args);

// The folder part of a full path, with its trailing separator; empty when there is none.
std::string FolderOf(const std::string& path);

}  // namespace app
