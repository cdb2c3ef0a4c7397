#include "firmware/script_paths.h"

std::string ScriptImagePath(std::string_view script_path, std::string_view image_name) {
  if (image_name.find_first_of("/\\") != std::string_view::npos) return std::string(image_name);
  const auto slash = script_path.find_last_of("/\\");
  if (slash == std::string_view::npos) return std::string(image_name);
  return std::string(script_path.substr(0, slash + 1)) + std::string(image_name);
}
