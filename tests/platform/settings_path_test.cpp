#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/port_record.h"
#include "form_fixture.h"
#include "platform/linux/internal.h"
#include "platform/settings_files.h"
#include "temp_dir.h"

namespace {

class FakeFacts : public platform::linux_os::SettingsFacts {
 public:
  bool exists(const std::string& path) override { return files.count(path) != 0; }
  bool writable(const std::string& folder) override { return writable_folders.count(folder) != 0; }
  std::optional<std::string> variable(const std::string& name) override {
    const auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }

  std::set<std::string> files;
  std::set<std::string> writable_folders;
  std::map<std::string, std::string> variables;
};

TEST(SettingsPath, BesideTheProgramWhereItCanBeElseInTheUsersFolder) {
  const std::map<std::string, std::string> home{{"HOME", "/home/ann"}};
  struct Case {
    const char* what;
    std::string program_folder;
    std::set<std::string> files;
    std::set<std::string> writable;
    std::map<std::string, std::string> variables;
    std::string path;  // of com.ini
  };
  const Case cases[] = {
      {"copied program", "/opt/zek/", {}, {"/opt/zek/"}, home, "/opt/zek/com.ini"},
      {"installed with the file beside it",
       "/usr/bin/",
       {"/usr/bin/com.ini"},
       {},
       home,
       "/usr/bin/com.ini"},
      {"the other file beside it counts not",
       "/usr/bin/",
       {"/usr/bin/com_2.ini"},
       {},
       home,
       "/home/ann/.config/zekflash/com.ini"},
      {"installed", "/usr/bin/", {}, {}, home, "/home/ann/.config/zekflash/com.ini"},
      {"own settings folder",
       "/usr/bin/",
       {},
       {},
       {{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}},
       "/cfg/zekflash/com.ini"},
      {"empty or relative settings folder",
       "/usr/bin/",
       {},
       {},
       {{"HOME", "/home/ann/"}, {"XDG_CONFIG_HOME", "cfg"}},
       "/home/ann/.config/zekflash/com.ini"},
      {"no home at all", "/usr/bin/", {}, {}, {{"XDG_CONFIG_HOME", ""}}, "/usr/bin/com.ini"},
      {"started by a name without a folder", "", {}, {"."}, home, "com.ini"},
  };
  for (const Case& c : cases) {
    FakeFacts facts;
    facts.files = c.files;
    facts.writable_folders = c.writable;
    facts.variables = c.variables;
    EXPECT_EQ(platform::linux_os::SettingsFilePath(c.program_folder, "com.ini", facts), c.path)
        << c.what;
  }
}

TEST(SettingsPath, MissingFoldersAreMadeForTheUserAlone) {
  TempDir dir;
  const std::string file = (dir / "config/zekflash/com.ini");
  auto settings = platform::MakeSystemSettingsFiles();
  ASSERT_TRUE(settings->make_folder(file).ok());
  ASSERT_TRUE(settings->make_folder(file).ok()) << "folders already there are no error";
  struct stat st {};
  ASSERT_EQ(::stat((dir / "config/zekflash").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

std::vector<std::string> Texts(const ui::ScriptedDialogs& dialogs) {
  std::vector<std::string> texts;
  for (const auto& box : dialogs.boxes) texts.push_back(box.text);
  return texts;
}

// A program in a folder it cannot write, with no files beside it: the system's
// settings place takes the files, and Save makes its folder.
TEST(PortSettings, AnInstalledProgramKeepsItsFilesInTheUsersSettingsFolder) {
  TempDir home;
  const char* was = ::getenv("XDG_CONFIG_HOME");
  const std::string kept = was != nullptr ? was : "";
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  const auto settings = platform::MakeSystemSettingsFiles();
  core::ManualLoop loop;
  ui::ScriptedDialogs dialogs;
  FakeSerial serial(loop);
  FakeHid hid(loop);
  TForm1 w(Environment{loop,
                       dialogs,
                       serial,
                       hid,
                       {"-O"},
                       "/nonexistent-zek/bin/zekflash",
                       nullptr,
                       settings.get()});
  serial.ports_listed = {"/dev/ttyUSB3"};
  dialogs.answers = {ui::Answer::no, ui::Answer::no};
  w.SpeedButton_comport_settings.click();
  w.CheckBox_Autoselect_comport.click();  // off: the groups take clicks
  w.Button_Save_set_communicationport_2.click();
  EXPECT_EQ(config::ReadPortFile(home / "config/zekflash/com_2.ini"), "/dev/ttyUSB3");
  EXPECT_EQ(Texts(dialogs),
            (std::vector<std::string>{
                "Can't find com.ini file", "Do you want to create a default file",
                "Can't find com_2.ini file", "Do you want to create a default file"}));
  if (was != nullptr) {
    ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
