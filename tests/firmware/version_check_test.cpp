#include <gtest/gtest.h>

#include "firmware/version_compare.h"
#include "form_fixture.h"

namespace {

using firmware::VersionVerdict;

TEST(VersionCheck, CompareVersions) {
  const struct {
    const char* file;
    const char* unit;
    VersionVerdict verdict;
  } cases[] = {
      {"3M0100002", "3M0100002", VersionVerdict::fits},
      {"3M0100001", "3M0100002", VersionVerdict::older},
      {"3M0100003", "3M0100002", VersionVerdict::fits},
      {"3M0100002", "3M010000", VersionVerdict::fits},
      {"3M010000", "3M0100002", VersionVerdict::older},
      {"3M9999999", "4M0000001", VersionVerdict::wrong_type},
      {"3M0100002", "3D0100002", VersionVerdict::wrong_type},
      {"3M\xE0", "3M\x7F", VersionVerdict::fits},  // bytes compare unsigned
      {"3", "3M0100002", VersionVerdict::wrong_type},
      {"3M0100002", "", VersionVerdict::wrong_type},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(firmware::CompareVersions(c.file, c.unit), c.verdict) << c.file << " " << c.unit;
  }
}

TEST(VersionCheck, AccessLevel) {
  const struct {
    const char* unit;
    unsigned level;
    bool passes;
  } cases[] = {{"1E0100001", 300, true}, {"1E", 65535, true},     {"3M0100001", 3, true},
               {"3M0100001", 4, false},  {"1D0100001", 4, false}, {"", 0, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(firmware::AccessLevelAllowsDownload(c.unit, c.level), c.passes)
        << c.unit << " " << c.level;
  }
}

struct Identified : FormFixture {
  Identified() {
    serial.add_port("COM1");
    form->link_kind = firmware::Link::serial;
    EXPECT_TRUE(form->EnsurePortOpen());
  }
};

TEST(VersionCheck, PanelOrAccessRequest) {
  const struct {
    const char* file;
    const char* unit;
    const char* line1;  // nullptr: the access request goes out
  } cases[] = {
      {"3M0100002", "3M0100002", nullptr},
      {"3M0100001", "3M0100002", "The Version of the Firmware is older"},
      {"3M0100009", "4M0100001", "File type is not compatible to the system"},
  };
  for (const auto& c : cases) {
    Identified f;
    TForm1& w = *f.form;
    w.StaticText_version_info_File.caption = c.file;
    w.StaticText_version_info.caption = c.unit;
    w.ShowBusy(true);
    w.VersionCheck();
    if (c.line1 == nullptr) {
      EXPECT_EQ(f.Letters(), "a");
      EXPECT_FALSE(w.Panel_olderversion_text.visible);
      continue;
    }
    EXPECT_TRUE(f.Writes().empty());
    EXPECT_TRUE(w.Panel_olderversion_text.visible);
    EXPECT_FALSE(w.AdvCircularProgress1.visible);
    EXPECT_EQ(w.Label_version_error_txt1.caption, c.line1);
    w.Button_Ignore_olderversion.click();
    EXPECT_EQ(f.Letters(), "a") << "Ignore overrides both warnings";
  }
}

TEST(VersionCheck, ScriptPatterns) {
  const struct {
    const char* patterns;
    const char* unit;
    const char* sent;  // "" when the type-mismatch panel shows
  } cases[] = {
      {"XXXXXXXXX\r\n", "3M0100001", "a"},
      {"6MXXXXXXX\r\n", "6M0199999", "a"},
      {"6MXXXXXXX\r\n", "6D0199999", ""},
      {"6Mxxxxxxx\r\n", "6M0199999", ""},
      {"4MXXXXXXX\r\n3M01XXXXX\r\n", "3M0100001", "a"},
      {"5MAXXXXXX\r\n", "5MA100001", "W"},
      {"", "3M0100001", ""},
  };
  for (const auto& c : cases) {
    Identified f;
    TForm1& w = *f.form;
    const std::string script =
        std::string("[begin1]\r\n[end1]\r\n[begin2]\r\n") + c.patterns + "[begin3]\r\n[end3]";
    w.script_file_name =
        f.WriteFile("s.fm1", std::vector<std::uint8_t>(script.begin(), script.end()));
    w.staged_download = true;
    w.StaticText_version_info.caption = c.unit;
    w.PatternCheck();
    EXPECT_EQ(f.Letters(), c.sent) << c.patterns << c.unit;
    EXPECT_EQ(w.Panel_olderversion_text.visible, std::string(c.sent).empty()) << c.unit;
  }
}

}  // namespace
