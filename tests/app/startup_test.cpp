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

// A new window rests: nothing opened, listed, asked or armed, and nothing asks the user.
TEST(Startup, ANewWindowRests) {
  FormFixture f;
  EXPECT_TRUE(f.form->Idle());
  EXPECT_FALSE(f.form->ConnectionRuns());
  EXPECT_EQ(f.form->Asking(), app::Window::Asks::nothing);
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

// Labels and the spinner lie below every panel, and the panel the window says
// asks the user (the one a technician answers) is always the one on top.
TEST(Startup, ThePanelThatAsksIsTheOneOnTop) {
  FormFixture f;
  TForm1& w = *f.form;
  const ui::Control* top_panel = nullptr;
  for (const ui::Control* c : w.children()) {
    const bool under = c->kind() == ui::Kind::label || c->kind() == ui::Kind::spinner;
    EXPECT_FALSE(under && top_panel != nullptr) << c->name() << " must lie below every panel";
    if (!under) top_panel = c;
  }
  ui::Panel* const asking[] = {&w.Panel_olderversion_text, &w.Panel_ready_for_download,
                               &w.Panel_tekstveld, &w.Panel_communication_offline,
                               &w.Panel_Acces_level_problem};
  for (ui::Panel* p : asking) p->visible = true;
  for (int answered = 0; w.Asking() != app::Window::Asks::nothing; ++answered) {
    top_panel = nullptr;
    for (const ui::Control* c : w.children()) {
      if (c->kind() == ui::Kind::panel && c->visible) top_panel = c;
    }
    ASSERT_EQ(w.AskingPanel(), top_panel) << "after " << answered << " answered";
    for (ui::Panel* p : asking) p->visible = p->visible && p != top_panel;
  }
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
