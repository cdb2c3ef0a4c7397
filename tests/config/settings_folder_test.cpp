#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "config/port_record.h"
#include "form_fixture.h"
#include "platform/settings_files.h"
#include "temp_dir.h"

namespace {

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
