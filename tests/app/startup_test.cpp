#include <gtest/gtest.h>

#include "app/command_line.h"
#include "form_fixture.h"

namespace {

TEST(Startup, OpeningScreenUnlessMinusOIsFirstOrSecond) {
  const struct {
    std::vector<std::string> args;
    bool shown;
  } cases[] = {
      {{}, true},     {{"-O"}, false}, {{"-3", "-O"}, false},    {{"x", "-O", "-4"}, false},
      {{"-o"}, true}, {{"-O "}, true}, {{"a", "b", "-O"}, true}, {{"O"}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::OpeningScreenWanted(c.args), c.shown);
    FormFixture f(c.args);
    EXPECT_EQ(f.dialogs.modal_forms.size(), c.shown ? 1u : 0u);
    // Once closed with OK the screen is gone for good.
    EXPECT_EQ(f.form->opening_screen, nullptr);
  }
}

TEST(Startup, HelpOrVersionInsteadOfTheWindowOnlyWhereMinusOWouldCount) {
  const struct {
    std::vector<std::string> args;
    bool help, version;
  } cases[] = {
      {{"--help"}, true, false},
      {{"-O", "-h"}, true, false},
      {{"-3", "-O", "--help"}, false, false},
      {{"--HELP"}, false, false},
      {{"-help"}, false, false},
      {{}, false, false},
      {{"--version"}, false, true},
      {{"-O", "--version"}, false, true},
      {{"-O", "-1", "--version"}, false, false},
      {{"-V"}, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::HelpWanted(c.args), c.help) << testing::PrintToString(c.args);
    EXPECT_EQ(app::VersionWanted(c.args), c.version) << testing::PrintToString(c.args);
  }
}

TEST(Startup, ProgramFolderIsTheExecutablesFolderWithItsSeparator) {
  const std::pair<const char*, const char*> cases[] = {{"/opt/zek/zekflash", "/opt/zek/"},
                                                       {"C:\\ZEK\\zekflash.exe", "C:\\ZEK\\"},
                                                       {"zekflash", ""},
                                                       {"/zekflash", "/"}};
  for (auto [path, folder] : cases) EXPECT_EQ(app::FolderOf(path), folder) << path;
  FormFixture f;
  EXPECT_EQ(f.form->program_folder, (f.folder / "").string()) << "the system's own separator";
}

TEST(Startup, StartValuesAfterCreate) {
  FormFixture f;
  TForm1& w = *f.form;
  EXPECT_EQ(w.caption, "ZEK Firmware downloader V2.8 test baudrate new");
  EXPECT_EQ(std::make_pair(w.left, w.top), std::make_pair(0, 0));
  EXPECT_EQ(std::make_pair(w.width, w.height), std::make_pair(604, 328));
  EXPECT_EQ(w.comm_state, CommState::idle);
  EXPECT_TRUE(w.rx_buffer.empty());
  EXPECT_EQ(w.rx_count, 0);
  EXPECT_EQ(w.error_count, 0);
  EXPECT_EQ(w.next_action, NextAction::connect);
  EXPECT_EQ(w.link_kind, firmware::Link::none);
  EXPECT_FALSE(w.fast_baud);
  EXPECT_FALSE(w.staged_download);
  EXPECT_FALSE(w.soft_restart);
  EXPECT_EQ(w.finish_wait, 0);
  EXPECT_EQ(w.port_name, "COM1");
  EXPECT_TRUE(w.firmware_file_name.empty());
  EXPECT_FALSE(w.Timer1.enabled());
  EXPECT_FALSE(w.Timer2.enabled());
  EXPECT_FALSE(w.Timer4.enabled());
  EXPECT_EQ(w.Timer1.interval(), 10);
  EXPECT_EQ(w.Timer2.interval(), 100);
  EXPECT_EQ(w.Timer4.interval(), 30);
  EXPECT_FALSE(w.ComPort1.connected());
  EXPECT_EQ(w.label_comm_errors.caption, "Comm errors:");
  EXPECT_TRUE(w.CheckBox_Autoselect_comport.checked);
  // Nothing was opened, listed or asked at start.
  EXPECT_TRUE(f.serial.open_log.empty());
  EXPECT_TRUE(f.dialogs.boxes.empty());
  EXPECT_EQ(f.loop.pending(), 0u);
}

TEST(Startup, ShowPlacesThePanelsHiddenAndFocusesOpenFile) {
  FormFixture f;
  TForm1& w = *f.form;
  const struct {
    ui::Control* panel;
    int left, top;
  } places[] = {{&w.Panel_communication_offline, 8, 168},
                {&w.Panel_ready_for_download, 8, 168},
                {&w.Panel_Acces_level_problem, 58, 16},
                {&w.GroupBox_set_communicationport, 1, 3},
                {&w.GroupBox_gauge_up_down_loading, 107, 168},
                {&w.Panel_olderversion_text, 69, 168},
                {&w.Panel_tekstveld, 8, 8}};
  for (const auto& p : places) {
    p.panel->move_to(300, 300);
  }
  w.FormShow();
  for (const auto& p : places) {
    EXPECT_EQ(p.panel->left, p.left) << p.panel->name();
    EXPECT_EQ(p.panel->top, p.top) << p.panel->name();
    EXPECT_FALSE(p.panel->visible) << p.panel->name();
  }
  EXPECT_EQ(w.focused, &w.SpeedButton_open_file);
  EXPECT_FALSE(w.AdvCircularProgress1.visible);
  EXPECT_FALSE(w.Label_please_wait.visible);
}

TEST(Startup, PanelsStackInTheirOrder) {
  FormFixture f;
  TForm1& w = *f.form;
  const std::vector<const ui::Control*> bottom_to_top{&w.GroupBox_gauge_up_down_loading,
                                                      &w.GroupBox_ECU_info,
                                                      &w.GroupBox_File_info,
                                                      &w.SpeedButton_open_file,
                                                      &w.SpeedButton_comport_settings,
                                                      &w.Panel_olderversion_text,
                                                      &w.Panel_ready_for_download,
                                                      &w.Panel_tekstveld,
                                                      &w.Panel_communication_offline,
                                                      &w.GroupBox_set_communicationport,
                                                      &w.Panel_Acces_level_problem};
  std::vector<const ui::Control*> panels;
  for (const ui::Control* c : w.children()) {
    if (c->kind() != ui::Kind::label && c->kind() != ui::Kind::spinner) {
      panels.push_back(c);
    } else {
      EXPECT_TRUE(panels.empty()) << c->name() << " must lie below every panel";
    }
  }
  EXPECT_EQ(panels, bottom_to_top);
}

TEST(OpeningScreen, MakerLabelTurnsBlackWhenClickedAndOkCloses) {
  TOKBottomDlg_openingsscherm s;
  EXPECT_EQ(std::make_pair(s.width, s.height), std::make_pair(617, 367));
  EXPECT_EQ(s.frame, ui::Frame::borderless);
  EXPECT_TRUE(s.centred);
  EXPECT_EQ(s.Label_Tavernix_logo.font.color, s.base);
  EXPECT_TRUE(s.Label_Tavernix_logo.click());
  EXPECT_EQ(s.Label_Tavernix_logo.font.color, ui::colors::black);
  s.Label_Tavernix_logo.click();
  EXPECT_EQ(s.Label_Tavernix_logo.font.color, ui::colors::black);
  EXPECT_TRUE(s.OKBtn.is_default);
  EXPECT_TRUE(s.OKBtn.is_cancel);
  EXPECT_EQ(s.modal_result, ui::ModalResult::none);
  s.OKBtn.click();
  EXPECT_EQ(s.modal_result, ui::ModalResult::ok);
  EXPECT_EQ(s.Label_versie.caption, "2.8 test auto comsearch");
}

}  // namespace
