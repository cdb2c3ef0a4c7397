#include <gtest/gtest.h>

#include <filesystem>

#include "form_fixture.h"
#include "played_unit.h"
#include "test_image.h"

namespace {

// A staged download on COM1 with the script written beside the images.
struct Staged : FormFixture {
  explicit Staged(const std::string& steps, const std::string& texts = "") {
    serial.add_port("COM1");
    TForm1& w = *form;
    w.link_kind = firmware::Link::serial;
    EXPECT_TRUE(w.EnsurePortOpen());
    WriteImage("3Ma.fm0", "3M0100001", 2);
    WriteImage("3Mb.fm0", "3M0100001", 3);
    const std::string script = "[begin1]\r\n" + steps + "[end1]\r\n[begin2]\r\nXXXXXXXXX\r\n" +
                               "[begin3]\r\n" + texts + "[end3]";
    w.script_file_name =
        WriteFile("3M0.fm1", std::vector<std::uint8_t>(script.begin(), script.end()));
    w.staged_download = true;
    w.StaticText_Serial_number.caption = "123456";
  }
  // Answers every request written so far, as a healthy unit would.
  void AnswerOk() { unit.AnswerWritten(serial); }
  // What the user was shown last: the offline panel's first line, else the last box.
  std::string Shown() const {
    if (form->Panel_communication_offline.visible) {
      return form->Label_communication_is_offline_txt1.caption;
    }
    return dialogs.boxes.empty() ? "" : dialogs.boxes.back().text;
  }
  PlayedUnit unit;
};

TEST(ScriptSteps, ImagesPowerCycleAndFinalMessage) {
  Staged f("[f]3Ma.fm0\r\n[HR]\r\n[f]3Mb.fm0\r\n");
  TForm1& w = *f.form;
  w.soft_restart = true;
  w.StartScript();
  EXPECT_EQ(w.script_position, 22) << "the first step ran";
  f.loop.advance(30);  // action 1: the start request
  f.AnswerOk();
  EXPECT_EQ(f.Letters(), "UBBu");
  EXPECT_TRUE(w.Panel_ready_for_download.visible);
  EXPECT_EQ(w.Label_ready_for_download_txt1.caption,
            "WARNING next part of firmware downloading will start");
  EXPECT_FALSE(w.Button_Ok_ready_for_download.visible);
  f.loop.advance(30);  // action 2: wait for the unit
  EXPECT_EQ(w.comm_state, CommState::restart);
  f.serial.feed("COM1", FormFixture::Reply("rOK"));
  f.loop.advance(30);
  f.AnswerOk();
  EXPECT_EQ(f.Letters(), "UBBuUBBBu");
  EXPECT_TRUE(w.script_finished);
  EXPECT_EQ(w.Label_ready_for_download_txt1.caption,
            "Firmware download is ready now. Turn the Power off");
  EXPECT_TRUE(w.Button_Ok_ready_for_download.visible);
  w.Button_Ok_ready_for_download.click();
  EXPECT_FALSE(w.ComPort1.connected()) << "after the end the Ok button closes the port";
}

TEST(ScriptSteps, TextStepShowsItsGroupsInTheOrderNamed) {
  Staged f("[t31]\r\n", "[t1]one\r\n[t3]three a\r\n[t3]three b\r\n[t2]two\r\n[t3]three c\r\n");
  TForm1& w = *f.form;
  w.StartScript();
  EXPECT_TRUE(w.Panel_tekstveld.visible);
  EXPECT_EQ(w.Label_tekstveld_regel_1.caption, "three a");
  EXPECT_EQ(w.Label_tekstveld_regel_3.caption, "three c");
  EXPECT_EQ(w.Label_tekstveld_regel_4.caption, "one");
  EXPECT_TRUE(w.Label_tekstveld_regel_4.visible);
  EXPECT_FALSE(w.Label_tekstveld_regel_5.visible);
  EXPECT_EQ(w.Panel_tekstveld.top, 8 + 6 * 22);
  EXPECT_EQ(w.focused, &w.xpButton_close_tekstveld);
  w.xpButton_close_tekstveld.click();  // the next step: [end1]
  EXPECT_TRUE(w.script_finished);
}

TEST(ScriptSteps, GroupThreeAloneWithThreeLines) {
  Staged f("[t3]\r\n", "[t3]a\r\n[t3]b\r\n[t3]c\r\n");
  TForm1& w = *f.form;
  w.StartScript();
  EXPECT_EQ(w.Panel_tekstveld.top, 162);
  EXPECT_EQ(w.Panel_tekstveld.height, 117);
  EXPECT_EQ(w.xpButton_close_tekstveld.top, 84);
}

TEST(ScriptSteps, BlankLineStallsWithoutAMessage) {
  Staged f("\r\n[f]3Ma.fm0\r\n");
  TForm1& w = *f.form;
  w.StartScript();
  f.loop.advance(10000);
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_TRUE(f.dialogs.boxes.empty());
  EXPECT_EQ(f.loop.pending(), 0u);
}

TEST(ScriptSteps, VanishedImageIsReportedByName) {
  Staged f("[f]3Mgone.fm0\r\n");
  TForm1& w = *f.form;
  w.StartScript();
  ASSERT_EQ(f.dialogs.boxes.size(), 1u);
  EXPECT_NE(f.dialogs.boxes[0].text.find("3Mgone.fm0"), std::string::npos);
  EXPECT_FALSE(w.Timer4.enabled());
}

// The image is read again when its step comes, and its own finish wait holds,
// not the one an earlier file left (15 s here).
TEST(ScriptSteps, EachImageIsCheckedAgainAndBringsItsOwnFinishWait) {
  std::vector<std::uint8_t> damaged = BlockImage(2, "3M0100001");
  damaged[900] ^= 1;
  const struct {
    const char* name;
    std::string image;
    std::vector<std::uint8_t> bytes;  // the image when its step runs
    std::string sent;
    int finish_time_out;  // ms; 0 is no limit
    std::string shown;
  } cases[] = {
      {"slow family: no limit", "3Mx.fm0", BlockImage(2, "3M0100001", "0030"), "UBBu", 0, ""},
      {"fast family: its own wait", "6Mx.fm0", BlockImage(2, "6M0100001", "0030"), "UBBu", 3000,
       ""},
      {"damaged since the open", "3Mx.fm0", damaged, "", 0, "Content of file:3Mx.fm0 is damaged"},
      {"now ends inside a block", "3Mx.fm0", MakeImage(2 * 1024 + 16, "3M0100001"), "", 0,
       "Content of file:3Mx.fm0 is damaged"},
      {"now too small", "3Mx.fm0", MakeImage(1030, "3M0100001"), "", 0,
       "Error on reading file:3Mx.fm0 (no 1024 data blocks)"},
  };
  for (const auto& c : cases) {
    Staged f("[f]" + c.image + "\r\n");
    TForm1& w = *f.form;
    f.WriteFile(c.image, c.bytes);
    w.finish_wait = 150;
    w.Timer2.set_interval(0);
    w.StartScript();
    f.loop.advance(30);
    f.AnswerOk();
    EXPECT_EQ(f.Letters(), c.sent) << c.name;
    if (!c.sent.empty()) {
      EXPECT_EQ(w.Timer2.interval(), c.finish_time_out) << c.name;
    }
    EXPECT_EQ(f.Shown(), c.shown) << c.name;
    EXPECT_EQ(f.loop.pending(), 0u) << c.name;
  }
}

TEST(ScriptSteps, AnImageNamedByItsWholePathIsReadFromThere) {
  Staged f("");
  const std::string name = (f.folder / "elsewhere/3Mx.fm0").string();
  const auto bytes = BlockImage(2, "3M0100001");
  f.WriteFile("elsewhere/3Mx.fm0", bytes);
  f.WriteText("3M0.fm1", "[begin1]\r\n[f]" + name + "\r\n[end1]\r\n[begin2]\r\n");
  f.form->StartScript();
  f.loop.advance(30);
  f.AnswerOk();
  EXPECT_EQ(f.Letters(), "UBBu");
  EXPECT_EQ(f.unit.received, std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 2));
}

// A script that cannot be read says so; one without "[begin3]" is no read
// failure: its text step shows no line, and Ok goes on.
TEST(ScriptSteps, OnlyReadFailuresSayErrorOnReadingFile) {
  const struct {
    const char* name;
    std::string script;  // "" when the script is gone
    bool serial_reply;   // the pattern check follows the serial number
    std::string sent;
  } cases[] = {
      {"pattern check on a vanished script", "", true, "S"},
      {"text step without [begin3]",
       "[begin1]\r\n[t1]\r\n[end1]\r\n[begin2]\r\nXXXXXXXXX\r\n[t1]lost\r\n", false, ""},
  };
  for (const auto& c : cases) {
    Staged f("");
    TForm1& w = *f.form;
    if (c.script.empty()) {
      std::filesystem::remove(w.script_file_name);
    } else {
      f.WriteText("3M0.fm1", c.script);
    }
    if (c.serial_reply) {
      w.SendSerialRequest();
      f.AnswerOk();
    } else {
      w.StartScript();
    }
    f.loop.advance(10000);
    EXPECT_EQ(f.Letters(), c.sent) << c.name;
    EXPECT_FALSE(w.Panel_olderversion_text.visible) << c.name;
    if (c.script.empty()) {
      EXPECT_EQ(f.Shown(), "Error on reading file: " + w.script_file_name) << c.name;
      EXPECT_FALSE(w.Panel_tekstveld.visible) << c.name;
      continue;
    }
    EXPECT_EQ(f.Shown(), "") << c.name;
    EXPECT_FALSE(w.Label_tekstveld_regel_1.visible) << c.name;
    EXPECT_TRUE(w.xpButton_close_tekstveld.click()) << c.name;
    EXPECT_TRUE(w.script_finished) << c.name;
  }
}

// Whatever the finish answer leads to, once the user is waited for nothing says
// "Please wait" any more.
TEST(ScriptSteps, TheSpinnerGoesWhenAPanelWaitsForTheUser) {
  const struct {
    const char* name;
    std::string steps, finish_status;
    std::string shown;  // the panel's first line, or the box
  } cases[] = {
      {"text", "[t1]\r\n", "OK", "a text"},
      {"power-cycle prompt", "[HR]\r\n", "OK",
       "WARNING next part of firmware downloading will start"},
      {"final message", "", "OK", "Firmware download is ready now. Turn the Power off"},
      {"image gone", "[f]3Mgone.fm0\r\n", "OK", "Error on reading file: "},
      {"finish refused", "", "NO", "firmware download has failed !!!\r\r\nPlease try again"},
      {"the next image: no panel, and no wait for the finish", "[f]3Ma.fm0\r\n", "OK", ""},
  };
  for (const auto& c : cases) {
    Staged f(c.steps, "[t1]a text\r\n");
    TForm1& w = *f.form;
    f.unit.finish_status = c.finish_status;
    w.script_position = 10;  // the first step
    w.GroupBox_gauge_up_down_loading.visible = true;
    w.SendFinishRequest();
    f.AnswerOk();
    EXPECT_EQ(f.Letters(), "u") << c.name;
    std::string shown = f.Shown();
    if (w.Panel_tekstveld.visible) shown = w.Label_tekstveld_regel_1.caption;
    if (w.Panel_ready_for_download.visible) shown = w.Label_ready_for_download_txt1.caption;
    EXPECT_EQ(shown.substr(0, c.shown.size()), c.shown) << c.name;
    EXPECT_FALSE(w.AdvCircularProgress1.visible) << c.name;
    EXPECT_FALSE(w.Label_please_wait.visible) << c.name;
    if (!c.shown.empty()) {
      EXPECT_FALSE(w.GroupBox_gauge_up_down_loading.visible) << c.name;
    }
  }
}

}  // namespace
