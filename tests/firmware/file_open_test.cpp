#include <gtest/gtest.h>

#include "form_fixture.h"
#include "test_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Opened : FormFixture {
  // Opens `path` through the dialog, with auto-selection as given.
  void Open(const std::string& path, bool autoselect = false) {
    form->CheckBox_Autoselect_comport.checked = autoselect;
    dialogs.files.push_back(path);
    form->SpeedButton_open_file.click();
  }
  bool Armed() const { return form->Timer4.enabled(); }
  std::string Panel() const {
    const TForm1& w = *form;
    if (!w.Panel_communication_offline.visible) return "";
    EXPECT_TRUE(w.Button_ok_communication_offline.visible);
    EXPECT_FALSE(w.Button_Retry_communication_offline.visible);
    EXPECT_EQ(w.Label_communication_is_offline_txt3.caption, "");
    return w.Label_communication_is_offline_txt1.caption + " / " +
           w.Label_communication_is_offline_txt2.caption;
  }
  std::string Box() const { return dialogs.boxes.empty() ? "" : dialogs.boxes.back().text; }
};

TEST(OpenFile, RefusedImagesArmNothing) {
  const std::string damaged = "Content of file is demaged / Download new file again from ZEK site";
  const struct {
    const char* name;
    Bytes bytes;
    std::string panel, box;
    bool titled = false;  // passed the checksum and size tests before failing
  } cases[] = {
      {"empty", {}, "", "Error on reading file"},
      {"one byte", {0x00}, "", "Error on reading file"},
      {"two bytes, second 0", {0x33, 0x00}, "", "Error on reading file (no 1024 data blocks)"},
      {"two bytes, second not 0", {0x33, 0x01}, damaged, ""},
      {"three bytes, second 0",
       {0x01, 0x00, 0x07},
       "",
       "Error on reading file (no 1024 data blocks)"},
      {"1039 bytes", MakeImage(1039, "3M0100001"), "",
       "Error on reading file (no 1024 data blocks)"},
      {"one block and its checksum record", MakeImage(1026, "3M0100001"), "",
       "Error on reading file (no 1024 data blocks)"},
      {"checksum wrong",
       [] {
         Bytes b = MakeImage(3 * 1024 + 2, "3M0100001");
         b[500] ^= 1;
         return b;
       }(),
       damaged, ""},
      {"last block incomplete", MakeImage(2 * 1024 + 16, "3M0100001"), damaged, ""},
      {"last block incomplete, 1023 over", MakeImage(2 * 1024 + 1023, "3M0100001"), damaged, ""},
      {"unsupported family", MakeImage(2 * 1024 + 2, "9Z0100001"),
       "This file is not / supported with this software", "", true},
      {"finish wait not a number", MakeImage(2 * 1024 + 2, "6M0100001ab12"), "",
       "Error on reading file", true},
  };
  for (const auto& c : cases) {
    Opened f;
    const std::string path = f.WriteFile("unit.fm0", c.bytes);
    f.Open(path);
    EXPECT_FALSE(f.Armed()) << c.name;
    EXPECT_EQ(f.Panel(), c.panel) << c.name;
    EXPECT_EQ(f.Box(), c.box) << c.name;
    EXPECT_EQ(f.form->GroupBox_ECU_info.caption,
              c.titled ? "Motormanagement ECU info" : "  ECU info")
        << c.name;
    EXPECT_TRUE(f.serial.open_log.empty()) << c.name;
  }
  Opened f;
  f.Open((f.folder / "missing.fm0").string());
  EXPECT_EQ(f.Box(), "Error on reading file");
  EXPECT_FALSE(f.Armed());
}

TEST(OpenFile, AcceptedImagesChooseLinkPortAndRate) {
  const firmware::Link serial = firmware::Link::serial;
  const firmware::Link hid = firmware::Link::hid;
  const struct {
    const char* file;
    std::string version;
    std::size_t size;
    firmware::Link link;
    int last_block, finish_wait;
    bool fast;
    const char* box;  // the port file that is missing
    const char* title;
  } cases[] = {
      {"a.fm0", "3M0100001", 2 * 1024 + 2, serial, 1, 0, false, "Can't find com.ini file",
       "Motormanagement ECU info"},
      {"a.fm0", "3M0100001", 5 * 1024 + 15, serial, 4, 0, false, "Can't find com.ini file",
       "Motormanagement ECU info"},
      {"a.fm0", "3M0100001", 5 * 1024, serial, 4, 0, false, "Can't find com.ini file",
       "Motormanagement ECU info"},
      {"a.fd0", "2D0100001", 3 * 1024 + 3, serial, 2, 0, false, "Can't find com.ini file",
       "Display info"},
      {"a.fm0", "4M0100001", 3 * 1024 + 2, serial, 2, 0, false, "Can't find com_2.ini file",
       "Motormanagement ECU info"},
      {"a.fm0", "6M01000010150", 3 * 1024 + 2, serial, 2, 150, true, "Can't find com_2.ini file",
       "Motormanagement ECU info"},
      {"a.fm0", "3M01000010150", 3 * 1024 + 2, serial, 2, 0, false, "Can't find com.ini file",
       "Motormanagement ECU info"},
      {"a.fe0", "5E0100001", 3 * 1024 + 2, serial, 2, 0, false, "Can't find com_2.ini file",
       "ETC module info"},
      {"a.fl0", "5M0100001", 3 * 1024 + 2, hid, 2, 0, false, nullptr, "Lamdacontroller info"},
      {"a.FX0", "8D01000010000", 3 * 1024 + 2, serial, 2, 0, true, "Can't find com.ini file",
       "  ECU info"},
  };
  for (const auto& c : cases) {
    for (bool autoselect : {false, true}) {
      Opened f;
      f.form->autoselect_index = 5;
      f.Open(f.WriteFile(c.file, MakeImage(c.size, c.version)), autoselect);
      const TForm1& w = *f.form;
      EXPECT_TRUE(f.Armed()) << c.version;
      // Serial ports are searched for serial units only: the bridge is no serial port.
      const bool search = autoselect && c.link == serial;
      EXPECT_EQ(w.next_action, search ? NextAction::probe_next_port : NextAction::connect)
          << c.version;
      EXPECT_EQ(w.link_kind, c.link) << c.version;
      EXPECT_EQ(w.fast_baud, c.fast) << c.version;
      EXPECT_EQ(w.last_block_nr, c.last_block) << c.version;
      EXPECT_EQ(w.finish_wait, c.finish_wait) << c.version;
      EXPECT_EQ(w.autoselect_index, 0) << c.version;
      EXPECT_FALSE(w.staged_download) << c.version;
      EXPECT_EQ(w.StaticText_version_info_File.caption, c.version.substr(0, 9)) << c.version;
      EXPECT_EQ(w.GroupBox_ECU_info.caption, c.title) << c.version;
      EXPECT_EQ(w.ComPort1.baud_rate(), c.fast ? 921600 : 115200) << c.version;
      EXPECT_EQ(f.Box(), autoselect || c.box == nullptr ? "" : c.box) << c.version;
      EXPECT_TRUE(f.serial.open_log.empty()) << "nothing is opened before the timer fires";
    }
  }
}

TEST(OpenFile, DialogOffersTheFiltersInTheProgramFolder) {
  Opened f;
  f.form->script_finished = true;
  f.form->SpeedButton_open_file.click();  // cancelled: no file scripted
  ASSERT_EQ(f.dialogs.file_requests.size(), 1u);
  EXPECT_EQ(f.dialogs.file_requests[0].initial_folder, f.form->program_folder);
  EXPECT_EQ(f.dialogs.file_requests[0].filters.at(0).description, "All ZEK Firmware downloads");
  EXPECT_TRUE(f.form->script_finished) << "a cancelled dialog leaves the download as it was";
  EXPECT_FALSE(f.Armed());
}

struct ScriptCase {
  const char* name;
  std::string script;
  std::string outcome;                   // "armed", "silent", or the box or panel text
  std::vector<std::string> before = {};  // files opened first
  int baud = 115200;                     // of the version request, when armed
};

TEST(OpenFile, Scripts) {
  // Names a fast image and then a damaged one: refused part-way, after the
  // fast image set the link and rate.
  const std::string refused = "[begin1]\r\n[f]6Mfast.fm0\r\n[f]3Mbad.fm0\r\n[begin2]\r\n";
  const std::string empty = "[begin1]\r\n[end1]\r\n[begin2]\r\n";
  const ScriptCase cases[] = {
      {"plain",
       "[begin1]\r\n[f]3Mgood.fm0\r\n[end1]\r\n[begin2]\r\n3MXXXXXXX\r\n[begin3]\r\n[end3]",
       "armed"},
      {"no image before [begin2]: the link of the open before", empty, "armed", {"3Mgood.fm0"}},
      {"no image: the link of the last open that armed one, not of one refused part-way",
       empty,
       "armed",
       {"6Mgood.fm0", "3Mgood.fm0", "refused.fm1"}},
      {"no image, and no open armed a connection before",
       empty,
       "This script names no firmware file / Please select the correct file",
       {"refused.fm1"}},
      {"an image only after [begin2]",
       "[begin1]\r\n[end1]\r\n[begin2]\r\n[f]3Mgood.fm0\r\n",
       "armed",
       {"3Mgood.fm0"}},
      {"first line not [begin1]", "[Begin1]\r\n[begin2]\r\n", "silent"},
      {"no [begin2]", "[begin1]\r\n[f]3Mgood.fm0\r\n[end1]\r\n", "Error on reading file"},
      {"no CR at all", "[begin1]\n[f]3Mgood.fm0\n[begin2]\n", "Error on reading file"},
      {"damaged image", "[begin1]\r\n[f]3Mbad.fm0\r\n[begin2]\r\n",
       "Content of file:3Mbad.fm0 is damaged / Download new file again from ZEK site"},
      {"image with an incomplete block", "[begin1]\r\n[f]3Mshort.fm0\r\n[begin2]\r\n",
       "Content of file:3Mshort.fm0 is damaged / Download new file again from ZEK site"},
      {"image too small", "[begin1]\r\n[f]3Mtiny.fm0\r\n[begin2]\r\n",
       "Error on reading file:3Mtiny.fm0 (no 1024 data blocks)"},
      {"unsupported family", "[begin1]\r\n[f]9Zgood.fm0\r\n[begin2]\r\n",
       "This file is not / supported with this software"},
      {"missing image", "[begin1]\r\n[f]3Mnone.fm0\r\n[begin2]\r\n", "Error on reading file"},
  };
  for (const ScriptCase& c : cases) {
    Opened f;
    f.serial.add_port("COM1");
    f.WriteFile("3Mgood.fm0", MakeImage(3 * 1024 + 2, "3M0100001"));
    f.WriteFile("6Mgood.fm0", MakeImage(3 * 1024 + 2, "6M01000010000"));
    f.WriteFile("6Mfast.fm0", MakeImage(3 * 1024 + 2, "6M01000010000"));
    f.WriteFile("9Zgood.fm0", MakeImage(3 * 1024 + 2, "9Z0100001"));
    Bytes bad = MakeImage(3 * 1024 + 2, "3M0100001");
    bad[7] ^= 0x40;
    f.WriteFile("3Mbad.fm0", bad);
    f.WriteFile("3Mshort.fm0", MakeImage(2 * 1024 + 20, "3M0100001"));
    f.WriteFile("3Mtiny.fm0", MakeImage(1030, "3M0100001"));
    f.WriteFile("refused.fm1", Text(refused));
    for (const std::string& earlier : c.before) f.Open((f.folder / earlier).string());
    const std::string path = f.WriteFile("3M0test.fm1", Text(c.script));
    f.Open(path);
    EXPECT_EQ(f.form->StaticText_version_info_File.caption, "3M0test.fm1") << c.name;
    if (c.before.empty()) {
      EXPECT_EQ(f.form->GroupBox_ECU_info.caption, "  ECU info") << c.name;
    }
    if (c.outcome == "armed") {
      EXPECT_TRUE(f.Armed()) << c.name;
      EXPECT_TRUE(f.form->staged_download) << c.name;
      EXPECT_EQ(f.form->script_file_name, path) << c.name;
      f.loop.advance(30);
      EXPECT_EQ(f.Letters(), "V") << c.name;
      EXPECT_EQ(f.serial.line("COM1").baud, c.baud) << c.name;
    } else {
      EXPECT_FALSE(f.Armed()) << c.name;
      EXPECT_FALSE(f.form->staged_download) << c.name;
      const std::string shown = f.Panel().empty() ? f.Box() : f.Panel();
      EXPECT_EQ(shown, c.outcome == "silent" ? "" : c.outcome) << c.name;
    }
  }
}

// The last image decides the rate, and a name that begins with "6" or "8" is a
// fast unit whichever rule of the family table applies.
TEST(OpenFile, LastImageOfAScriptDecidesLinkAndRate) {
  const struct {
    const char* steps;
    int baud, last_block;
  } cases[] = {
      {"[f]6Dslow.fm0\r\n[f]6Mfast.fm0\r\n", 921600, 3},
      {"[f]6Mfast.fm0\r\n[f]6Dslow.fm0\r\n", 921600, 1},
      {"[f]6Mfast.fm0\r\n[f]3Mslow.fm0\r\n", 115200, 1},
      {"[f]8Fslow.ff0\r\n", 921600, 1},
  };
  for (const auto& c : cases) {
    Opened f;
    f.WriteFile("6Mfast.fm0", MakeImage(4 * 1024 + 2, "6M01000010000"));
    for (const char* name : {"6Dslow.fm0", "3Mslow.fm0", "8Fslow.ff0"}) {
      f.WriteFile(name, MakeImage(2 * 1024 + 2, std::string(name, 2) + "01000010000"));
    }
    f.serial.add_port("COM1");
    f.Open(f.WriteFile("6M0.fm1", Text(std::string("[begin1]\r\n") + c.steps + "[begin2]\r\n")));
    f.loop.advance(30);
    EXPECT_EQ(f.Letters(), "V") << c.steps;
    EXPECT_EQ(f.serial.line("COM1").baud, c.baud) << c.steps;
    EXPECT_EQ(f.form->last_block_nr, c.last_block) << c.steps;
  }
}

TEST(OpenFile, OpeningDuringADownloadAsksFirst) {
  for (ui::Answer answer : {ui::Answer::no, ui::Answer::yes}) {
    Opened f;
    TForm1& w = *f.form;
    f.serial.add_port("COM1");
    w.link_kind = firmware::Link::serial;
    ASSERT_TRUE(w.EnsurePortOpen());
    w.firmware_file_name = "/old/3M.fm0";
    w.last_block_nr = 40;
    w.download_started = true;
    w.comm_state = CommState::block;
    w.Timer2.set_enabled(true);
    const std::string other = f.WriteFile("other.fm0", MakeImage(3 * 1024 + 2, "3M0100009"));
    f.dialogs.answers.push_back(answer);
    f.Open(other);
    ASSERT_FALSE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.dialogs.boxes[0].kind, ui::BoxKind::question);
    EXPECT_EQ(f.dialogs.file_requests.size(), 1u) << "the question follows the choice";
    if (answer == ui::Answer::no) {
      EXPECT_EQ(w.firmware_file_name, "/old/3M.fm0");
      EXPECT_EQ(w.last_block_nr, 40);
      EXPECT_TRUE(w.Timer2.enabled());
      EXPECT_TRUE(w.ComPort1.connected());
    } else {
      EXPECT_EQ(w.firmware_file_name, other);
      EXPECT_EQ(w.last_block_nr, 2);
      EXPECT_FALSE(w.ComPort1.connected());
      EXPECT_FALSE(w.Timer2.enabled());
      EXPECT_TRUE(w.Timer4.enabled()) << "the new file's connection is armed";
    }
  }
}

TEST(OpenFile, NoQuestionBeforeTheDownloadStarted) {
  Opened f;
  TForm1& w = *f.form;
  w.comm_state = CommState::status;
  w.Timer2.set_enabled(true);
  f.Open(f.WriteFile("x.fm0", MakeImage(3 * 1024 + 2, "3M0100009")));
  for (const auto& b : f.dialogs.boxes) EXPECT_NE(b.kind, ui::BoxKind::question);
  EXPECT_TRUE(f.Armed());
}

}  // namespace
