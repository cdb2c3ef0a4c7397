#include <gtest/gtest.h>

#include "config/port_record.h"
#include "form_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using firmware::PortKind;

Bytes Record(const std::string& name, std::size_t size = 21) {
  Bytes r(size, 0);
  r[0] = static_cast<std::uint8_t>(name.size());
  std::copy(name.begin(), name.end(), r.begin() + 1);
  return r;
}

TEST(PortSetUp, FromTheFileOrTheCommandLine) {
  const PortKind rs232 = PortKind::rs232;
  const PortKind usb = PortKind::rs232_over_usb;
  const struct {
    const char* name;
    std::vector<std::string> args;
    PortKind kind;
    std::optional<Bytes> file;  // content of com.ini (rs232) or com_2.ini (usb)
    std::string port;
    std::string box;  // "" when none
  } cases[] = {
      {"no file, no arguments", {"-O"}, rs232, std::nullopt, "COM1", "Can't find com.ini file"},
      {"no file, -O -4", {"-O", "-4"}, usb, std::nullopt, "COM4", "Can't find com_2.ini file"},
      {"no file, -2 -7: the higher wins",
       {"-2", "-7"},
       rs232,
       std::nullopt,
       "COM7",
       "Can't find com.ini file"},
      {"no file, -7 -2: still the higher",
       {"-7", "-2"},
       rs232,
       std::nullopt,
       "COM7",
       "Can't find com.ini file"},
      {"no file, -10", {"-10"}, rs232, std::nullopt, "COM1", "Can't find com.ini file"},
      {"no file, -5 third",
       {"-O", "x", "-5"},
       rs232,
       std::nullopt,
       "COM1",
       "Can't find com.ini file"},
      {"file wins over -3", {"-3"}, rs232, Record("COM12"), "COM12", ""},
      {"5-byte file counts as missing",
       {"-O"},
       rs232,
       Bytes{4, 'C', 'O', 'M', '2'},
       "COM1",
       "Can't find com.ini file"},
      {"42-byte file: first record only",
       {"-O"},
       usb,
       [] {
         Bytes b = Record("/dev/ttyUSB3");
         Bytes second = Record("COM9");
         b.insert(b.end(), second.begin(), second.end());
         return b;
       }(),
       "/dev/ttyUSB3",
       ""},
      {"length 0 gives an empty name", {"-O"}, rs232, Record(""), "", ""},
  };
  for (const auto& c : cases) {
    FormFixture f(c.args);
    TForm1& w = *f.form;
    w.CheckBox_Autoselect_comport.checked = false;
    if (c.file) f.WriteFile(c.kind == PortKind::rs232 ? "com.ini" : "com_2.ini", *c.file);
    EXPECT_TRUE(w.PortSetUp(c.kind)) << c.name;
    EXPECT_EQ(w.port_name, c.port) << c.name;
    EXPECT_EQ(w.ComPort1.port(), c.port) << c.name;
    if (c.box.empty()) {
      EXPECT_TRUE(f.dialogs.boxes.empty()) << c.name;
    } else {
      ASSERT_EQ(f.dialogs.boxes.size(), 1u) << c.name;
      EXPECT_EQ(f.dialogs.boxes[0].text, c.box) << c.name;
      EXPECT_EQ(f.dialogs.boxes[0].kind, ui::BoxKind::plain) << c.name;
    }
    EXPECT_FALSE(std::filesystem::exists(f.folder / "com_2.ini") && c.kind == PortKind::rs232)
        << c.name;
  }
}

TEST(PortSetUp, ReadOnlyFileIsReadNotReportedMissing) {
  FormFixture f;
  TForm1& w = *f.form;
  w.CheckBox_Autoselect_comport.checked = false;
  const std::string path = f.WriteFile("com.ini", Record("/dev/ttyUSB2"));
  std::filesystem::permissions(path, static_cast<std::filesystem::perms>(0444));
  EXPECT_TRUE(w.PortSetUp(PortKind::rs232));
  EXPECT_EQ(w.port_name, "/dev/ttyUSB2");
  EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(PortSetUp, AutoSelectionListsThePortsAndLeavesThePortName) {
  FormFixture f;
  TForm1& w = *f.form;
  f.serial.ports_listed = {"/dev/ttyACM0", "/dev/ttyUSB0"};
  w.port_name = "COM5";
  for (PortKind kind : {PortKind::rs232, PortKind::rs232_over_usb}) {
    EXPECT_TRUE(w.PortSetUp(kind));
    EXPECT_EQ(w.ComboBox_setCompoort2.items, f.serial.ports_listed);
    EXPECT_EQ(w.ComboBox_setCompoort2.item_index, -1);
    EXPECT_EQ(w.port_name, "COM5");
    EXPECT_TRUE(f.dialogs.boxes.empty());
  }
  f.serial.list_fails = true;
  EXPECT_FALSE(w.PortSetUp(PortKind::rs232_over_usb)) << "a failed enumeration stops the set-up";
}

// Nothing may go out at a rate the unit does not talk at: the connection that
// follows the set-up finds the port closed and says which rate it could not run.
TEST(PortSetUp, RateThePortCannotRunIsToldWhenTheConnectionStarts) {
  for (bool open_before : {false, true}) {
    FormFixture f;
    TForm1& w = *f.form;
    f.serial.add_port("COM3");
    w.link_kind = firmware::Link::serial;
    w.UsePort("COM3");
    w.port_name = "COM3";
    if (open_before) {
      ASSERT_TRUE(w.EnsurePortOpen());
    }
    f.serial.failing["set baud rate"] = {0, "the port cannot run at 921600 baud"};
    w.fast_baud = true;
    ASSERT_TRUE(w.PortSetUp(PortKind::rs232_over_usb));
    w.SendVersionRequest();
    EXPECT_TRUE(f.Writes("COM3").empty()) << open_before;
    EXPECT_TRUE(w.Panel_communication_offline.visible) << open_before;
    EXPECT_TRUE(w.Button_Retry_communication_offline.visible) << open_before;
    EXPECT_EQ(w.Label_communication_is_offline_txt3.caption, "COM3 cannot run at 921600 baud")
        << open_before;
  }
}

TEST(PortSetUp, PortChosenForTheRunSkipsTheFiles) {
  FormFixture f;
  TForm1& w = *f.form;
  w.UsePort("/dev/pts/7");
  EXPECT_TRUE(w.PortSetUp(PortKind::rs232));
  EXPECT_EQ(w.port_name, "/dev/pts/7");
  EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(PortFallback, OnlyTheFirstTwoArgumentsExactly) {
  const std::pair<std::vector<std::string>, std::optional<std::string>> cases[] = {
      {{}, std::nullopt},     {{"-1"}, "COM1"},
      {{"-9", "-O"}, "COM9"}, {{"-O", "-3"}, "COM3"},
      {{"-0"}, std::nullopt}, {{"-10"}, std::nullopt},
      {{"3"}, std::nullopt},  {{"a", "b", "-4"}, std::nullopt},
      {{"-8", "-2"}, "COM8"},
  };
  for (const auto& [args, port] : cases) EXPECT_EQ(config::PortFromArguments(args), port);
}

}  // namespace
