#include "firmware/version_compare.h"

namespace firmware {

VersionVerdict CompareVersions(std::string_view file, std::string_view unit) {
  if (file.size() < 2 || unit.size() < 2) return VersionVerdict::wrong_type;
  if (file[0] != unit[0] || file[1] != unit[1]) return VersionVerdict::wrong_type;
  // std::string_view compares chars as unsigned char through char_traits.
  return file.compare(unit) < 0 ? VersionVerdict::older : VersionVerdict::fits;
}

bool AccessLevelAllowsDownload(std::string_view unit_version, unsigned level) {
  if (unit_version.substr(0, 2) == "1E") return true;
  return level < 4;
}

}  // namespace firmware
