#pragma once

#include <string>
#include <string_view>

// Where an image named in a script lives: a name without a folder is found in
// the script's own folder; a name with one is used as it stands.
std::string ScriptImagePath(std::string_view script_path, std::string_view image_name);
