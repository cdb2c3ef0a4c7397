// Opening a file while the file before still has its connection, panels or download up.
#include <gtest/gtest.h>

#include <utility>

#include "form_fixture.h"
#include "played_unit.h"
#include "test_image.h"

namespace {

// A unit on COM1 that answers every request at once, reached without a port search.
struct Bench : FormFixture {
  Bench() {
    serial.add_port("COM1");
    form->UsePort("COM1");
  }
  void Open(const std::string& path) {
    dialogs.files.push_back(path);
    form->SpeedButton_open_file.click();
  }
  // Lets `ms` of virtual time pass with the unit answering; the requests sent
  // since the last run (clicks in between included).
  std::string Run(int ms = 3000) {
    for (int t = 0; t < ms; t += 10) {
      unit.AnswerWritten(serial);
      loop.advance(10);
    }
    const std::string letters = Letters();
    return letters.substr(std::exchange(seen, letters.size()));
  }
  // The download's panels and signs in view.
  std::string Shown() const {
    const TForm1& w = *form;
    std::string s;
    const std::pair<const ui::Control*, const char*> all[] = {
        {&w.Panel_ready_for_download, "ready "},      {&w.Panel_olderversion_text, "older "},
        {&w.Panel_communication_offline, "offline "}, {&w.Panel_tekstveld, "text "},
        {&w.Panel_Acces_level_problem, "access "},    {&w.GroupBox_gauge_up_down_loading, "gauge "},
        {&w.AdvCircularProgress1, "spinner "},
    };
    for (const auto& [control, name] : all) s += control->visible ? name : "";
    return s;
  }
  PlayedUnit unit;
  std::size_t seen = 0;
};

enum class Stage { asking, ready, older, busy };

// A new open starts the new connection at once, whatever the connection before
// had armed.
TEST(Reopen, ANewOpenEndsTheOldFilesConnectionFirst) {
  std::vector<std::uint8_t> damaged = BlockImage(3, "3M0100003");
  damaged[700] ^= 0x10;
  const struct {
    const char* name;
    Stage stage;                     // how far the first file got
    std::vector<std::uint8_t> next;  // the file opened next
    std::string sent, shown;
  } cases[] = {
      {"ready, then a damaged image", Stage::ready, damaged, "", "offline "},
      {"asking, then a damaged image", Stage::asking, damaged, "", "offline "},
      {"older-version panel, then a damaged image", Stage::older, damaged, "", "offline "},
      {"ready, then an older image", Stage::ready, BlockImage(2, "3M0100001"), "VS", "older "},
      {"asking, then a good image", Stage::asking, BlockImage(2, "3M0100003"), "VSad", "ready "},
      {"a busy unit's finish, then a good image", Stage::busy, BlockImage(2, "3M0100003"), "VSad",
       "ready "},
  };
  for (const auto& c : cases) {
    Bench f;
    TForm1& w = *f.form;
    f.unit.silent = c.stage == Stage::asking;
    f.Open(f.WriteImage("a.fm0", c.stage == Stage::older ? "3M0100001" : "3M0100002", 4));
    f.Run(c.stage == Stage::asking ? 40 : 3000);  // the first request goes unanswered
    f.unit.silent = false;
    if (c.stage == Stage::busy) {  // the finish is answered "wK", and "wK" again 2 s later
      f.unit.finish_status = "wK";
      w.Button_Download_ready_for_download.click();
      f.Run();
      f.dialogs.answers.push_back(ui::Answer::yes);
    }
    f.Open(f.WriteFile("b.fm0", c.next));
    EXPECT_EQ(f.Run(200), c.sent) << c.name << ": the new connection starts at once";
    EXPECT_EQ(f.Shown(), c.shown) << c.name;
    if (c.shown == "offline ") {
      EXPECT_TRUE(w.Button_ok_communication_offline.click()) << c.name;
      EXPECT_EQ(f.Shown(), "") << c.name;
      EXPECT_EQ(f.loop.pending(), 0u) << c.name << ": nothing armed";
    }
    if (c.shown != "ready ") {
      EXPECT_FALSE(w.Button_Download_ready_for_download.click()) << c.name;
      EXPECT_EQ(f.Run(), "") << c.name;
    }
  }
}

TEST(Reopen, TheRunningDownloadQuestionComesAfterTheChoice) {
  const struct {
    const char* name;
    bool chosen;
    ui::Answer answer;
    std::size_t questions;
    std::string shown, sent;  // after the open; sent after Ok on the text, where it shows
  } cases[] = {
      {"dialog cancelled", false, ui::Answer::yes, 0, "text ", "UBBu"},
      {"No", true, ui::Answer::no, 1, "text ", "UBBu"},
      {"Yes", true, ui::Answer::yes, 1, "", "VSad"},
  };
  for (const auto& c : cases) {
    Bench f;
    TForm1& w = *f.form;
    f.WriteImage("3Ma.fm0", "3M0100002", 2);
    f.Open(f.WriteText("3M0.fm1",
                       "[begin1]\r\n[t1]\r\n[f]3Ma.fm0\r\n[end1]\r\n[begin2]\r\n"
                       "XXXXXXXXX\r\n[begin3]\r\n[t1]Switch off\r\n[end3]"));
    ASSERT_EQ(f.Run(), "VSad") << c.name;
    w.Button_Download_ready_for_download.click();
    ASSERT_EQ(f.Run(), "}") << c.name;
    ASSERT_EQ(f.Shown(), "text ") << c.name;
    if (c.chosen) f.dialogs.files.push_back(f.WriteImage("b.fm0", "3M0100003", 2));
    f.dialogs.answers.push_back(c.answer);
    w.SpeedButton_open_file.click();
    EXPECT_EQ(f.dialogs.boxes.size(), c.questions) << c.name;
    EXPECT_EQ(f.Shown(), c.shown) << c.name;
    EXPECT_EQ(w.xpButton_close_tekstveld.click(), c.shown == "text ") << c.name;
    EXPECT_EQ(f.Run(), c.sent) << c.name;
  }
}

TEST(Reopen, EveryOpenSearchesFromTheFirstPort) {
  for (const char* file : {"3M0100002.fm0", "3M0.fm1"}) {
    Bench f;
    TForm1& w = *f.form;
    f.serial.add_port("COM7");
    f.serial.ports_listed = {"COM7"};
    w.autoselect_index = 5;  // where a failed search left it
    f.WriteImage("3M0100002.fm0", "3M0100002", 2);
    f.WriteText("3M0.fm1", "[begin1]\r\n[f]3M0100002.fm0\r\n[end1]\r\n[begin2]\r\n");
    w.CheckBox_Autoselect_comport.checked = true;
    f.Open((f.folder / file).string());
    f.loop.advance(30);
    EXPECT_EQ(f.Letters("COM7"), "V") << file;
    EXPECT_FALSE(w.Panel_communication_offline.visible) << file;
  }
}

}  // namespace
