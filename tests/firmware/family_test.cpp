#include "firmware/family.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

using firmware::Family;
using firmware::Link;
using firmware::PortKind;

TEST(Family, RulesInOrderForImagesAndScriptImages) {
  struct Case {
    std::string code;
    int rule;
    Link link_kind;
    PortKind port;
    bool image_fast;
    bool script_image_fast;
  };
  const PortKind none = PortKind::none;
  const PortKind rs232 = PortKind::rs232;
  const PortKind usb = PortKind::rs232_over_usb;
  const Link no_link = Link::none;
  const Link serial = Link::serial;
  const Link hid = Link::hid;
  const Case cases[] = {
      {"3MA123456", 1, serial, rs232, false, false},
      {"3D", 2, serial, rs232, false, false},
      {"1F", 2, serial, rs232, false, false},
      {"7I", 2, serial, rs232, false, false},
      {"6D", 2, serial, rs232, true, true},
      {"8F", 2, serial, rs232, true, true},
      {"4M", 3, serial, usb, false, false},
      {"6M", 3, serial, usb, true, true},
      {"8MB", 3, serial, usb, true, true},
      {"1E", 4, serial, usb, false, false},
      {"5E", 4, serial, usb, false, false},
      {"6E", 4, serial, usb, true, true},
      {"8E", 4, serial, usb, true, true},
      {"5M", 5, hid, none, false, false},
      {"5MA123456", 5, hid, none, false, false},
      {"7M", 6, no_link, none, false, false},
      {"6L", 6, no_link, none, false, false},
      {"6m", 6, no_link, none, false, false},
      {"3m", 6, no_link, none, false, false},
      {"5", 6, no_link, none, false, false},
      {"6", 6, no_link, none, false, false},
      {"", 6, no_link, none, false, false},
  };
  for (const Case& c : cases) {
    const bool supported = c.rule != 6;
    for (const bool in_script : {false, true}) {
      const Family f =
          in_script ? firmware::FamilyOfScriptImage(c.code) : firmware::FamilyOfImage(c.code);
      const std::string what = "code \"" + c.code + (in_script ? "\" in a script" : "\"");
      EXPECT_EQ(f.rule, c.rule) << what;
      EXPECT_EQ(f.supported, supported) << what;
      EXPECT_EQ(f.link_kind, c.link_kind) << what;
      EXPECT_EQ(f.port, c.port) << what;
      EXPECT_EQ(f.fast_baud, in_script ? c.script_image_fast : c.image_fast) << what;
    }
    if (supported) {
      EXPECT_EQ(firmware::FastFamily(c.code), c.image_fast) << c.code;
    }
  }
}

TEST(FileKind, ScriptByThirdAndLastCharacterInAnyCase) {
  const std::pair<const char*, bool> cases[] = {
      {"C:\\fw\\6MA.fm1", true},
      {"C:\\fw\\6MA.FM1", true},
      {"/fw/x.fe1", true},
      {"x.Fd1", true},
      {"f_1", true},
      {"x.fm0", false},
      {"x.FM0", false},
      {"x.fm1 ", false},
      {"x.gm1", false},
      {"F1", false},
      {"1", false},
      {"", false},
  };
  for (const auto& [path, script] : cases) {
    EXPECT_EQ(firmware::IsScriptPath(path), script) << path;
  }
}

TEST(FileKind, UnitKindTitleFromSecondToLastCharacter) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"a.fm0", "Motormanagement ECU info"},
      {"a.FM0", "Motormanagement ECU info"},
      {"a.fd0", "Display info"},
      {"a.ff0", "Fuel ECU info"},
      {"a.fi0", "Ignition ECU info"},
      {"a.fl0", "Lamdacontroller info"},
      {"a.fe1", "ETC module info"},
      {"a.fx0", std::nullopt},
      {"a.bat", std::nullopt},
      {"m0", "Motormanagement ECU info"},
      {"0", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [path, title] : cases) {
    EXPECT_EQ(firmware::UnitKindTitle(path), title) << path;
  }
}

// The open dialog offers every file of a unit kind the program knows, each
// under a name that shows its pattern, and all of them together first.
TEST(FileKind, OpenDialogOffersEachKindOfFileAndAllFirst) {
  const auto patterns = [](const std::string& list) {
    std::set<std::string> found;
    std::istringstream in(list);
    for (std::string p; std::getline(in, p, ';');) {
      p.erase(0, p.find_first_not_of(' '));
      if (!p.empty()) found.insert(p);
    }
    return found;
  };
  const auto& filters = firmware::OpenDialogFilters();
  ASSERT_GT(filters.size(), 1u);
  EXPECT_EQ(filters[0].description, "All ZEK Firmware downloads");
  std::set<std::string> each;
  for (std::size_t i = 1; i < filters.size(); ++i) {
    const auto one = patterns(filters[i].pattern);
    ASSERT_EQ(one.size(), 1u) << filters[i].pattern;
    const std::string& pattern = *one.begin();
    EXPECT_NE(filters[i].description.find("(" + pattern + ")"), std::string::npos) << pattern;
    EXPECT_TRUE(firmware::UnitKindTitle(pattern)) << pattern;
    each.insert(pattern);
  }
  EXPECT_EQ(patterns(filters[0].pattern), each);
}

TEST(FileKind, NamePartAfterTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\fw\\6MA10.fm1", "6MA10.fm1"},
      {"/home/u/fw/6MA10.fm0", "6MA10.fm0"},
      {"C:\\a/b\\c.fm0", "c.fm0"},
      {"plain.fm0", "plain.fm0"},
      {"dir\\", ""},
      {"", ""},
  };
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(firmware::NamePart(path), name) << path;
  }
}

}  // namespace
