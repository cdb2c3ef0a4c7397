#pragma once

#include <memory>
#include <string>

#include "core/result.h"

namespace platform {

// Where a program's own settings files are read and written. A copied program
// keeps them beside itself; an installed one, whose folder its user may not
// write, keeps them in the user's folder for settings.
class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;

  // The path of the settings file `name` of a program in `program_folder`
  // (which ends in its separator, or is empty for the current folder).
  virtual std::string path(const std::string& program_folder, const std::string& name) = 0;
  // Creates the folders above `path` that are missing, before it is written.
  virtual core::Status make_folder(const std::string& path) = 0;
};

// The operating system's place for them.
std::unique_ptr<SettingsFiles> MakeSystemSettingsFiles();

}  // namespace platform
