#include <gtest/gtest.h>

#include "config/port_record.h"
#include "form_fixture.h"
#include "temp_dir.h"
#include "texts/texts.h"

namespace {

std::vector<std::string> Texts(const ui::ScriptedDialogs& d) {
  std::vector<std::string> t;
  for (const auto& b : d.boxes) t.push_back(b.text);
  return t;
}

TEST(PortSettings, MissingFilesOfferDefaults) {
  for (ui::Answer answer : {ui::Answer::yes, ui::Answer::no}) {
    FormFixture f;
    TForm1& w = *f.form;
    f.serial.ports_listed = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
    f.dialogs.answers = {answer, answer};
    w.SpeedButton_comport_settings.click();
    EXPECT_EQ(Texts(f.dialogs),
              (std::vector<std::string>{
                  "Can't find com.ini file", "Do you want to create a default file",
                  "Can't find com_2.ini file", "Do you want to create a default file"}));
    EXPECT_TRUE(w.GroupBox_set_communicationport.visible);
    EXPECT_EQ(w.focused, &w.Button_Cancel_set_communicationport);
    for (const char* file : {"com.ini", "com_2.ini"}) {
      const auto path = f.folder / file;
      EXPECT_EQ(std::filesystem::exists(path), answer == ui::Answer::yes) << file;
      if (answer == ui::Answer::yes) {
        EXPECT_EQ(std::filesystem::file_size(path), 21u);
        EXPECT_EQ(config::ReadPortFile(path.string()), "COM1");
      }
    }
    EXPECT_EQ(w.ComboBox_setCompoort1.text, "/dev/ttyUSB0") << "the first port found, not COM1";
    EXPECT_EQ(w.ComboBox_setCompoort2.text, "/dev/ttyUSB0");
  }
}

TEST(PortSettings, StoredPortsAreShownAlsoWhenTheListCannotBeRead) {
  FormFixture f;
  TForm1& w = *f.form;
  config::WritePortFile((f.folder / "com.ini").string(), "/dev/ttyS4");
  config::WritePortFile((f.folder / "com_2.ini").string(), "/dev/ttyUSB7");
  f.serial.ports_listed = {"/dev/ttyUSB0"};
  w.SpeedButton_comport_settings.click();
  EXPECT_TRUE(f.dialogs.boxes.empty());
  EXPECT_EQ(w.ComboBox_setCompoort1.text, "/dev/ttyS4");
  EXPECT_EQ(w.ComboBox_setCompoort2.text, "/dev/ttyUSB7");
  w.Button_Cancel_set_communicationport.click();
  EXPECT_FALSE(w.GroupBox_set_communicationport.visible);

  // The list fails, the files do not: one box says so, and no offer to
  // overwrite a stored port with the default comes.
  f.serial.list_fails = true;
  f.dialogs.answers = {ui::Answer::yes, ui::Answer::yes};
  w.SpeedButton_comport_settings.click();
  EXPECT_EQ(Texts(f.dialogs), std::vector<std::string>{"Registry error (win error code: 13)"});
  EXPECT_TRUE(w.GroupBox_set_communicationport.visible);
  EXPECT_EQ(w.ComboBox_setCompoort2.items, f.serial.ports_listed) << "the list as it was";
  EXPECT_EQ(w.ComboBox_setCompoort2.text, "/dev/ttyUSB7");
  EXPECT_EQ(config::ReadPortFile((f.folder / "com.ini").string()), "/dev/ttyS4");
  EXPECT_EQ(config::ReadPortFile((f.folder / "com_2.ini").string()), "/dev/ttyUSB7");
}

// Save takes only a port picked from the list. Under a running connection it
// asks first, and Yes ends it; a port that will not open again says so in its
// own words.
TEST(PortSettings, SaveAsksBeforeItEndsAConnectionAndTellsAFailedOpen) {
  const auto none = [](TForm1&) {};
  const auto awaited = [](TForm1& w) { w.SendStatusRequest(); };
  const auto checked = [](TForm1& w) {
    w.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, texts::ready_1, texts::ready_2);
  };
  const char* const question = texts::running_save_question;
  const struct {
    const char* name;
    void (*connection)(TForm1&);  // how far the connection on COM1 got
    ui::Answer answer;
    const char* picked;
    const char* box;  // "" for none
    bool saved;
  } cases[] = {
      {"typed, not picked", none, ui::Answer::no, "", "Do not edit\r\nuse pulldown menu !!!",
       false},
      {"no connection", none, ui::Answer::no, "COM3", "", true},
      {"a reply awaited, No", awaited, ui::Answer::no, "COM3", question, false},
      {"a reply awaited, Yes", awaited, ui::Answer::yes, "COM3", question, true},
      {"the unit checked, Download offered: No", checked, ui::Answer::no, "COM3", question, false},
      {"the new port will not open", none, ui::Answer::no, "/dev/ttyUSB9",
       "Can't open port /dev/ttyUSB9 (No such file or directory)", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FormFixture f;
    TForm1& w = *f.form;
    f.serial.add_port("COM1");
    f.serial.add_port("COM3");
    w.link_kind = firmware::Link::serial;
    ASSERT_TRUE(w.EnsurePortOpen());
    c.connection(w);
    w.CheckBox_Autoselect_comport.checked = false;
    w.ApplyAutoselectAppearance();
    w.GroupBox_set_communicationport.visible = true;
    w.ComboBox_setCompoort1.set_items({"COM1", c.picked});
    // No pick: the port is typed by hand instead.
    *c.picked ? w.ComboBox_setCompoort1.select(1) : w.ComboBox_setCompoort1.type_text("COM3");
    f.dialogs.answers = {c.answer};
    w.Button_Save_set_communicationport.click();
    f.loop.advance(1000);
    const bool asked = c.box == question;
    EXPECT_EQ(Texts(f.dialogs), std::vector<std::string>(*c.box ? 1 : 0, c.box));
    EXPECT_EQ(w.GroupBox_set_communicationport.visible, !c.saved);
    EXPECT_EQ(config::ReadPortFile((f.folder / "com.ini").string()).has_value(), c.saved);
    EXPECT_EQ(w.ConnectionRuns(), asked && !c.saved) << "No keeps it, Yes ends it";
    EXPECT_EQ(f.serial.line("COM1").open, !c.saved);
    EXPECT_EQ(f.serial.line("COM3").open, c.saved && !asked && *c.picked == 'C');
    EXPECT_EQ(w.port_name, c.saved ? c.picked : "COM1");
    EXPECT_EQ(w.ComPort1.port(), w.port_name);
  }
}

TEST(PortSettings, AutoSelectionGreysTheGroupsAndClicksRestoreThem) {
  FormFixture f;
  TForm1& w = *f.form;
  f.dialogs.answers = {ui::Answer::no, ui::Answer::no};
  w.SpeedButton_comport_settings.click();
  EXPECT_TRUE(w.CheckBox_Autoselect_comport.checked);
  EXPECT_FALSE(w.xpButton_rescan1.click());
  EXPECT_FALSE(w.Button_Save_set_communicationport.click());
  EXPECT_EQ(w.GroupBox_RS232.background, (ui::Color{228, 228, 228}));
  EXPECT_EQ(w.Label6.font.color, ui::colors::silver);
  w.CheckBox_Autoselect_comport.click();
  EXPECT_EQ(w.GroupBox_RS232.background, (ui::Color{214, 223, 247}));
  EXPECT_EQ(w.Label7.font.color, ui::colors::blue);
  EXPECT_EQ(w.ComboBox_setCompoort2.font.color, ui::colors::navy);
  EXPECT_TRUE(w.xpButton_rescan2.enabled);
  w.CheckBox_Autoselect_comport.click();
  EXPECT_EQ(w.GroupBox_HID.background, (ui::Color{228, 228, 228}));
  EXPECT_FALSE(w.Button_Save_set_communicationport_2.enabled);
}

TEST(PortSettings, RescanFailureKeepsTheListAndSaysWhy) {
  FormFixture f;
  TForm1& w = *f.form;
  w.CheckBox_Autoselect_comport.checked = false;
  w.ApplyAutoselectAppearance();
  w.GroupBox_set_communicationport.visible = true;
  f.serial.ports_listed = {"/dev/ttyUSB0"};
  w.xpButton_rescan1.click();
  EXPECT_EQ(w.ComboBox_setCompoort1.items, f.serial.ports_listed);
  EXPECT_EQ(w.ComboBox_setCompoort1.item_index, 0);
  f.serial.list_fails = true;
  w.xpButton_rescan1.click();
  EXPECT_EQ(w.ComboBox_setCompoort1.items, f.serial.ports_listed);
  EXPECT_EQ(Texts(f.dialogs), std::vector<std::string>{"Registry error (win error code: 13)"});
}

}  // namespace
