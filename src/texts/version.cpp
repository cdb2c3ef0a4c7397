#include "texts/version.h"

#include "texts/texts.h"

namespace texts {

const char* const release_version = ZEK_VERSION;

std::string VersionLine(std::string_view program) {
  return std::string(program) + " (" + program_name + ") " + release_version + "\n";
}

}  // namespace texts
