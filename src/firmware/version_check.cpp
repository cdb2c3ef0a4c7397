// The checks between the unit's identity and the access request.
#include <string_view>

#include "app/main_window.h"
#include "firmware/image.h"
#include "firmware/script.h"
#include "firmware/version_compare.h"
#include "texts/texts.h"

namespace {

// Units of this family must be prepared before they take the access request.
constexpr const char* prepare_pattern = "5MAXXXXXX";

}  // namespace

void TForm1::ShowOlderVersionPanel(const char* line1, const char* line2) {
  SizeOlderVersionPanel(std::string_view(line1) != texts::older_1);
  Label_version_error_txt1.caption = line1;
  Label_version_error_txt2.caption = line2;
  Panel_olderversion_text.visible = true;
  focused = &Button_Cancel_olderversion;
}

void TForm1::VersionCheck() {
  using firmware::VersionVerdict;
  switch (firmware::CompareVersions(StaticText_version_info_File.caption,
                                    StaticText_version_info.caption)) {
    case VersionVerdict::wrong_type:
      ShowBusy(false);
      return ShowOlderVersionPanel(texts::not_compatible, texts::select_correct_file);
    case VersionVerdict::older:
      ShowBusy(false);
      return ShowOlderVersionPanel(texts::older_1, texts::older_2);
    case VersionVerdict::fits:
      Panel_olderversion_text.visible = false;
      return SendAccessRequest();
  }
}

void TForm1::PatternCheck() {
  const auto bytes = firmware::ReadWholeFile(script_file_name);
  if (!bytes) return ScriptReadFailure(script_file_name);
  const std::string& unit = StaticText_version_info.caption;
  bool matched = false;
  for (const std::string& pattern : firmware::ParseScript(*bytes).patterns) {
    matched = matched || firmware::MatchVersionPattern(pattern, unit);
  }
  if (!matched) return ShowOlderVersionPanel(texts::not_compatible, texts::select_correct_file);
  if (firmware::MatchVersionPattern(prepare_pattern, unit)) return SendPrepareRequest();
  SendAccessRequest();
}

bool TForm1::AccessLevelPasses(unsigned level) const {
  return firmware::AccessLevelAllowsDownload(StaticText_version_info.caption, level);
}
