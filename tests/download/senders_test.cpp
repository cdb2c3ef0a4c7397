#include <gtest/gtest.h>

#include "download/protocol.h"
#include "form_fixture.h"
#include "test_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// COM3 open on the serial link, a unit with serial number 123456, two errors
// counted, and the reply time-out a finish wait of 0 (no limit) leaves.
struct KnownState : FormFixture {
  KnownState() {
    serial.add_port("COM3");
    TForm1& w = *form;
    w.link_kind = firmware::Link::serial;
    w.port_name = "COM3";
    EXPECT_TRUE(w.EnsurePortOpen());
    w.StaticText_Serial_number.caption = "123456";
    w.error_count = 2;
    w.finish_wait = 12;
    w.Timer2.set_interval(0);
  }
};

TEST(Senders, EachSendsItsBytesSetsItsStateLabelAndTimeOut) {
  const struct {
    const char* name;
    void (TForm1::*send)();
    Bytes bytes;
    CommState state;
    bool label;
    int interval;  // Timer2 after sending
  } cases[] = {
      {"version", &TForm1::SendVersionRequest, Text("V"), CommState::version, true, 500},
      {"serial", &TForm1::SendSerialRequest, Text("S"), CommState::serial_number, false, 500},
      {"prepare", &TForm1::SendPrepareRequest, Text("W"), CommState::prepare, true, 500},
      {"access", &TForm1::SendAccessRequest, download::AccessRequest(), CommState::access, true,
       500},
      {"status", &TForm1::SendStatusRequest, Text("d"), CommState::status, true, 500},
      {"start", &TForm1::SendStartRequest, Text("U123456"), CommState::start, true, 500},
      {"block", &TForm1::SendBlock, {}, CommState::block, false, 500},
      {"finish", &TForm1::SendFinishRequest, Text("u123456"), CommState::finish, true, 1200},
      {"switch", &TForm1::SendSwitchRequest, Text("}}"), CommState::switch_request, true, 500},
      {"restart", &TForm1::SendRestartRequest, Text("rr"), CommState::restart, true, 5000},
  };
  for (const auto& c : cases) {
    KnownState f;
    TForm1& w = *f.form;
    w.firmware_file_name = f.WriteImage("3M.fm0", "3M0100001", 2);
    (w.*c.send)();
    ASSERT_EQ(f.Writes("COM3").size(), 1u) << c.name;
    if (c.state != CommState::block) {  // a block's frame has a test of its own
      EXPECT_EQ(f.Writes("COM3")[0], c.bytes) << c.name;
    }
    EXPECT_EQ(w.comm_state, c.state) << c.name;
    EXPECT_EQ(w.label_comm_errors.caption, c.label ? "COM3 errors:2" : "Comm errors:") << c.name;
    EXPECT_EQ(w.Timer2.interval(), c.interval) << c.name;
    EXPECT_EQ(w.AdvCircularProgress1.visible, c.state == CommState::finish) << c.name;
  }
}

TEST(Senders, VersionAndSerialOpenThePortOthersDoNot) {
  const struct {
    void (TForm1::*send)();
    bool opens;
  } cases[] = {{&TForm1::SendVersionRequest, true},
               {&TForm1::SendSerialRequest, true},
               {&TForm1::SendStatusRequest, false},
               {&TForm1::SendAccessRequest, false},
               {&TForm1::SendStartRequest, false}};
  for (const auto& c : cases) {
    FormFixture f;
    f.serial.add_port("COM1");
    f.form->link_kind = firmware::Link::serial;
    (f.form.get()->*c.send)();
    EXPECT_EQ(f.form->ComPort1.connected(), c.opens);
    // A request on a closed port sends nothing and starts no time-out.
    EXPECT_EQ(f.Writes().size(), c.opens ? 1u : 0u);
    // The senders that do not open the port still start the reply time-out, so
    // a request lost to a closed port is counted as a link error in time.
    EXPECT_TRUE(f.form->Timer2.enabled());
  }
}

TEST(Senders, PortThatCannotOpenShowsTheOfflinePanel) {
  FormFixture f;
  TForm1& w = *f.form;
  w.link_kind = firmware::Link::serial;
  w.port_name = "COM9";  // not present
  w.Timer4.set_enabled(true);
  w.SendVersionRequest();
  EXPECT_TRUE(w.Panel_communication_offline.visible);
  EXPECT_EQ(w.Label_communication_is_offline_txt1.caption, "Communication is offline");
  EXPECT_TRUE(w.Button_Retry_communication_offline.visible);
  EXPECT_FALSE(w.Timer4.enabled());
  EXPECT_FALSE(w.Timer2.enabled());
}

TEST(Senders, BlockIsReadFromTheFileEachTimeAndNumberedModulo256) {
  KnownState f;
  TForm1& w = *f.form;
  std::vector<std::uint8_t> image(301 * 1024);
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<std::uint8_t>(i * 7 + i / 1024);
  w.firmware_file_name = f.WriteFile("big.fm0", image);
  for (int block : {0, 300}) {
    w.block_nr = block;
    w.SendBlock();
    const Bytes& sent = f.Writes("COM3").back();
    ASSERT_EQ(sent.size(), 1027u);
    EXPECT_EQ(sent[1], block % 256);
    EXPECT_TRUE(std::equal(sent.begin() + 2, sent.end() - 1, image.begin() + block * 1024));
    EXPECT_EQ(sent.back(), SumOf(std::span(sent).first(1026)));
    EXPECT_EQ(w.comm_state, CommState::block);
  }
  EXPECT_EQ(w.label_comm_errors.caption, "Comm errors:") << "blocks never write the label";
}

TEST(Senders, UnreadableBlockSendsNothing) {
  for (const char* why : {"missing", "short"}) {
    KnownState f;
    TForm1& w = *f.form;
    w.comm_state = CommState::start;
    w.firmware_file_name = std::string(why) == "missing"
                               ? (f.folder / "gone.fm0").string()
                               : f.WriteFile("short.fm0", std::vector<std::uint8_t>(1500, 1));
    w.block_nr = 1;  // bytes 1024 … 2047: the short file holds only part of it
    w.SendBlock();
    EXPECT_TRUE(f.Writes("COM3").empty()) << why;
    ASSERT_EQ(f.dialogs.boxes.size(), 1u) << why;
    EXPECT_EQ(f.dialogs.boxes[0].text, "Error on reading blocks from file");
    EXPECT_FALSE(w.Timer2.enabled()) << why;
  }
}

TEST(Senders, ShortWriteIsAFailedSendNotASentRequest) {
  KnownState f;
  TForm1& w = *f.form;
  f.serial.short_write_at = 0;
  w.Timer4.set_enabled(true);
  w.SendStatusRequest();
  ASSERT_FALSE(f.dialogs.boxes.empty());
  EXPECT_EQ(f.dialogs.boxes[0].text, "Communicatie Error");
  EXPECT_EQ(f.dialogs.boxes[0].kind, ui::BoxKind::error);
  EXPECT_FALSE(w.Timer4.enabled());
  EXPECT_FALSE(w.Timer2.enabled()) << "after a failed write the link stands still";
  EXPECT_EQ(w.label_comm_errors.caption, "Comm errors:");
}

}  // namespace
