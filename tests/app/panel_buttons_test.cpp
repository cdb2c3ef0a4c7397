#include <gtest/gtest.h>

#include "form_fixture.h"

namespace {

// A window with the serial link chosen and COM1 open.
struct Connected : FormFixture {
  Connected() {
    serial.add_port("COM1");
    form->link_kind = firmware::Link::serial;
    EXPECT_TRUE(form->EnsurePortOpen());
  }
};

TEST(PanelButtons, WhichButtonsCloseThePort) {
  const struct {
    const char* name;
    ui::Panel* (*panel)(TForm1&);
    ui::Button* (*button)(TForm1&);
    bool closes;
  } cases[] = {
      {"ready Cancel", [](TForm1& w) { return &w.Panel_ready_for_download; },
       [](TForm1& w) { return &w.Button_Cancel_ready_for_download; }, false},
      {"ready Ok, plain file", [](TForm1& w) { return &w.Panel_ready_for_download; },
       [](TForm1& w) { return &w.Button_Ok_ready_for_download; }, true},
      {"offline Cancel", [](TForm1& w) { return &w.Panel_communication_offline; },
       [](TForm1& w) { return &w.Button_Cancel_communication_offline; }, true},
      {"offline Ok", [](TForm1& w) { return &w.Panel_communication_offline; },
       [](TForm1& w) { return &w.Button_ok_communication_offline; }, false},
      {"access-level Ok", [](TForm1& w) { return &w.Panel_Acces_level_problem; },
       [](TForm1& w) { return &w.Button_OK_Acces_level_problem; }, true},
      {"older-version Cancel", [](TForm1& w) { return &w.Panel_olderversion_text; },
       [](TForm1& w) { return &w.Button_Cancel_olderversion; }, false},
      {"message Ok, no script", [](TForm1& w) { return &w.Panel_tekstveld; },
       [](TForm1& w) { return &w.xpButton_close_tekstveld; }, true},
  };
  for (const auto& c : cases) {
    Connected f;
    ui::Panel* panel = c.panel(*f.form);
    panel->visible = true;
    EXPECT_TRUE(c.button(*f.form)->click()) << c.name;
    EXPECT_FALSE(panel->visible) << c.name;
    EXPECT_EQ(f.form->ComPort1.connected(), !c.closes) << c.name;
    EXPECT_FALSE(f.form->Timer2.enabled()) << c.name;
    EXPECT_FALSE(f.form->Timer4.enabled()) << c.name;
  }
}

TEST(PanelButtons, MessagePanelIsSizedForItsLines) {
  const struct {
    int lines, top, height, ok_top;
  } cases[] = {{10, 8, 271, 238}, {3, 162, 117, 84}, {0, 228, 51, 18}, {1, 206, 73, 40}};
  for (const auto& c : cases) {
    FormFixture f;
    TForm1& w = *f.form;
    w.SizeMessagePanel(c.lines);
    EXPECT_EQ(w.Panel_tekstveld.top, c.top) << c.lines;
    EXPECT_EQ(w.Panel_tekstveld.height, c.height) << c.lines;
    EXPECT_EQ(w.Panel_tekstveld.top + w.Panel_tekstveld.height, 279) << c.lines;
    EXPECT_EQ(w.xpButton_close_tekstveld.top, c.ok_top) << c.lines;
    // The lines keep their places from the panel's top; only the used ones show.
    EXPECT_EQ(w.Label_tekstveld_regel_1.top, 11);
    EXPECT_EQ(w.Label_tekstveld_regel_3.visible, c.lines >= 3) << c.lines;
    EXPECT_EQ(w.Label_tekstveld_regel_4.visible, c.lines >= 4) << c.lines;
    EXPECT_EQ(w.Label_tekstveld_regel_10.visible, c.lines == 10) << c.lines;
  }
}

TEST(PanelButtons, IgnoreSendsTheAccessRequestDespiteTheWarning) {
  Connected f;
  TForm1& w = *f.form;
  w.Panel_olderversion_text.visible = true;
  w.Button_Ignore_olderversion.click();
  EXPECT_FALSE(w.Panel_olderversion_text.visible);
  EXPECT_EQ(w.comm_state, CommState::access);
  EXPECT_EQ(f.Letters(), "a");
  EXPECT_TRUE(w.Timer2.enabled());
}

TEST(PanelButtons, OfflineAndRefusalFormsShowTheirButtons) {
  Connected f;
  TForm1& w = *f.form;
  w.ShowBusy(true);
  w.Timer2.set_enabled(true);
  w.ShowOfflineForm("a", "b", "c");
  EXPECT_TRUE(w.Button_Retry_communication_offline.visible);
  EXPECT_TRUE(w.Button_Cancel_communication_offline.visible);
  EXPECT_FALSE(w.Button_ok_communication_offline.visible);
  EXPECT_EQ(w.focused, &w.Button_Retry_communication_offline);
  EXPECT_FALSE(w.AdvCircularProgress1.visible);
  EXPECT_TRUE(w.Timer2.enabled()) << "the offline form leaves the timers alone";
  w.ShowRefusalForm("x", "y", "");
  EXPECT_FALSE(w.Button_Retry_communication_offline.visible);
  EXPECT_FALSE(w.Button_Cancel_communication_offline.visible);
  EXPECT_TRUE(w.Button_ok_communication_offline.visible);
  EXPECT_EQ(w.focused, &w.Button_ok_communication_offline);
  EXPECT_FALSE(w.Timer2.enabled()) << "the refusal form stops the link timers";
  EXPECT_EQ(w.Label_communication_is_offline_txt1.caption, "x");
  EXPECT_EQ(w.Label_communication_is_offline_txt3.caption, "");
}

}  // namespace
