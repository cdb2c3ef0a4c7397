#pragma once

#include <string_view>

namespace firmware {

enum class VersionVerdict { fits, wrong_type, older };

// Compares the file's version text with the unit's. Texts shorter than two
// characters cannot show a family and count as the wrong type. Otherwise the
// whole texts are compared byte by byte as unsigned values, a prefix being the
// smaller; an equal version fits (the same firmware may be downloaded again).
VersionVerdict CompareVersions(std::string_view file, std::string_view unit);

// A unit whose version text begins with "1E" passes whatever its level; any
// other passes only below level 4.
bool AccessLevelAllowsDownload(std::string_view unit_version, unsigned level);

}  // namespace firmware
