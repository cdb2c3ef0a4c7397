#include <gtest/gtest.h>

#include <functional>

#include "form_fixture.h"
#include "texts/texts.h"

namespace {

// A window on the serial link with COM3 open and the reply time-out at 500 ms.
struct Link : FormFixture {
  Link() {
    serial.add_port("COM3");
    form->link_kind = firmware::Link::serial;
    form->port_name = "COM3";
    form->Timer2.set_interval(500);
    EXPECT_TRUE(form->EnsurePortOpen());
  }
  bool OfflineShown(const char* line1) const {
    const TForm1& w = *form;
    return w.Panel_communication_offline.visible &&
           w.Label_communication_is_offline_txt1.caption == line1 &&
           w.Button_Retry_communication_offline.visible &&
           w.Button_Cancel_communication_offline.visible &&
           !w.Button_ok_communication_offline.visible &&
           w.focused == &w.Button_Retry_communication_offline;
  }
};

TEST(CommErrors, ThreeLostRepliesAreResentTheFourthGivesUp) {
  const struct {
    void (TForm1::*send)();
    char letter;
  } cases[] = {{&TForm1::SendStatusRequest, 'd'},
               {&TForm1::SendAccessRequest, 'a'},
               {&TForm1::SendVersionRequest, 'V'},
               {&TForm1::SendSerialRequest, 'S'},
               {&TForm1::SendSwitchRequest, '}'}};
  for (const auto& c : cases) {
    Link f;
    TForm1& w = *f.form;
    (w.*c.send)();
    if (c.letter == '}') {
      // A silent unit after the switch request is asked for its status instead.
      f.loop.advance(500);
      EXPECT_EQ(w.comm_state, CommState::status_after_switch);
      f.loop.advance(500);
      ASSERT_EQ(f.dialogs.boxes.size(), 1u);
      EXPECT_EQ(f.dialogs.boxes[0].text, "Comm Error test2");
      continue;
    }
    for (int error = 1; error <= 3; ++error) {
      f.loop.advance(500);
      EXPECT_EQ(f.Letters("COM3"), std::string(static_cast<std::size_t>(error) + 1, c.letter));
      EXPECT_EQ(w.label_comm_errors.caption, "COM3 errors:" + std::to_string(error));
      EXPECT_FALSE(w.Panel_communication_offline.visible);
    }
    f.loop.advance(500);
    EXPECT_EQ(f.Letters("COM3").size(), 4u) << c.letter;
    EXPECT_TRUE(f.OfflineShown("Communication is offline")) << c.letter;
    EXPECT_EQ(w.Label_communication_is_offline_txt2.caption,
              "Check Power to the System and communication cable !!!");
    EXPECT_EQ(w.error_count, 0);
    EXPECT_FALSE(w.Timer2.enabled());
    EXPECT_EQ(w.label_comm_errors.caption, "COM3 errors:4");
    f.loop.advance(10000);
    EXPECT_EQ(f.Letters("COM3").size(), 4u) << "nothing more after giving up";
  }
}

// The status asked after an unanswered switch request is never re-sent, but its
// errors are counted on the running reply timer until the fourth gives up.
TEST(CommErrors, ErrorsAfterTheUnansweredSwitchGiveUpAtTheFourth) {
  std::vector<std::uint8_t> bad_status = FormFixture::StatusReply(56, 0, 56);
  bad_status.back() ^= 1;
  const struct {
    const char* name;
    std::vector<std::uint8_t> reply;  // to the status request; empty: none
  } cases[] = {
      {"no reply", {}},
      {"bad checksum", bad_status},
      {"another reply code", FormFixture::Reply("aOK")},
  };
  for (const auto& c : cases) {
    Link f;
    TForm1& w = *f.form;
    w.SendSwitchRequest();
    f.loop.advance(500);
    ASSERT_EQ(w.comm_state, CommState::status_after_switch) << c.name;
    if (!c.reply.empty()) f.serial.feed("COM3", c.reply);
    f.loop.advance(3000);
    EXPECT_EQ(f.Letters("COM3"), "}d") << c.name;
    EXPECT_EQ(f.dialogs.boxes.size(), 3u) << c.name;
    EXPECT_TRUE(f.OfflineShown("Communication is offline")) << c.name;
    EXPECT_EQ(f.loop.pending(), 0u) << c.name;
  }
}

TEST(CommErrors, ErrorsOfDifferentRequestsAddUpUntilAReplyResetsThem) {
  Link f;
  TForm1& w = *f.form;
  w.SendStatusRequest();
  f.loop.advance(1000);  // two errors on the status request
  EXPECT_EQ(w.error_count, 2);
  w.SendAccessRequest();
  f.loop.advance(500);
  EXPECT_EQ(w.error_count, 3);
  EXPECT_FALSE(w.Panel_communication_offline.visible);
  f.loop.advance(500);
  EXPECT_TRUE(f.OfflineShown("Communication is offline"));
  EXPECT_EQ(f.Letters("COM3"),
            "ddda"
            "a");
}

TEST(CommErrors, IdleStateOnlyCounts) {
  Link f;
  TForm1& w = *f.form;
  w.comm_state = CommState::script_step;
  w.HandleCommError();
  w.HandleCommError();
  EXPECT_EQ(w.error_count, 2);
  EXPECT_TRUE(f.Writes("COM3").empty());
  EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(CommErrors, RepeatedBlockIsReadAgainFromTheFile) {
  Link f;
  TForm1& w = *f.form;
  w.firmware_file_name = f.WriteImage("x.fm0", "3M0100001", 3);
  w.block_nr = 1;
  w.SendBlock();
  f.serial.feed("COM3", FormFixture::Reply("BFF"));  // not taken: send it again
  f.loop.advance(30);
  ASSERT_EQ(f.Writes("COM3").size(), 2u);
  EXPECT_EQ(f.Writes("COM3")[0], f.Writes("COM3")[1]);
  EXPECT_EQ(w.error_count, 1);
}

TEST(CommErrors, PortSearchGivesEachPortFourRequestsThenTheNoPortMessage) {
  const std::vector<std::string> ports{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"};
  Link f;
  TForm1& w = *f.form;
  for (const auto& p : ports) f.serial.add_port(p);
  w.ComboBox_setCompoort2.set_items(ports);
  w.Timer2.set_interval(100);
  w.ClosePort();
  w.autoselect_index = 0;
  w.next_action = NextAction::probe_next_port;
  w.Timer4.set_enabled(true);
  f.loop.advance(10000);
  for (const auto& p : ports) EXPECT_EQ(f.Letters(p), "VVVV") << p;
  EXPECT_TRUE(f.OfflineShown("No Com port or connection is found"));
  EXPECT_EQ(w.Label_communication_is_offline_txt2.caption,
            "Please check USB cable and that the Power(12V)");
  EXPECT_EQ(w.Label_communication_is_offline_txt3.caption, "is connected to ECU !!!");
  EXPECT_FALSE(w.ComPort1.connected());
}

TEST(CommErrors, PortSearchMovesOnFromPortsThatWillNotOpen) {
  const struct {
    std::vector<std::string> listed;
    std::vector<std::string> present;
    std::string found;                  // "" when none answers
    std::vector<std::string> relisted;  // read by the port settings panel while probing
  } cases[] = {
      {{}, {}, "", {}},
      {{"/dev/ttyUSB0", "/dev/ttyUSB1"}, {"/dev/ttyUSB1"}, "/dev/ttyUSB1", {}},
      {{"/dev/ttyUSB0", "/dev/ttyUSB1"}, {}, "", {}},
      {{"/dev/ttyUSB0", "/dev/ttyUSB1"},
       {"/dev/ttyUSB1"},
       "/dev/ttyUSB1",
       {"/dev/ttyUSB1", "/dev/ttyUSB0"}},
  };
  for (const auto& c : cases) {
    FormFixture f;
    TForm1& w = *f.form;
    w.link_kind = firmware::Link::serial;
    for (const auto& p : c.present) f.serial.add_port(p);
    w.ComboBox_setCompoort2.set_items(c.listed);
    w.StaticText_version_info_File.caption = "3M0100001";
    w.next_action = NextAction::probe_next_port;
    w.Timer4.set_enabled(true);
    f.loop.advance(30);
    if (!c.found.empty()) {
      f.loop.advance(60);  // the next candidate, 60 ms after the failed one
      ASSERT_EQ(f.Letters(c.found), "V");
      f.serial.ports_listed = c.relisted;
      if (!c.relisted.empty()) w.SpeedButton_comport_settings.click();
      f.serial.feed(c.found, FormFixture::Reply("V3M0100007"));
      EXPECT_EQ(w.port_name, c.found);
      f.loop.advance(60);
      EXPECT_EQ(f.Letters(c.found), "VV") << "the connection starts over on the port found";
      EXPECT_EQ(w.comm_state, CommState::version);
    } else {
      f.loop.advance(1000);
      EXPECT_TRUE(w.Panel_communication_offline.visible);
      EXPECT_EQ(w.Label_communication_is_offline_txt1.caption,
                "No Com port or connection is found");
    }
  }
}

TEST(CommErrors, PortSearchMovesOnFromAPortThatLeadsNowhere) {
  enum class Fault { wrong_unit, write_fails, pulled };
  const struct {
    const char* name;
    Fault fault;  // what the first candidate does with its probe
    bool second;  // whether a second candidate with the right unit is listed
    const char* first_letters;
    const char* line1;  // the panel shown at the end; "" for none
    const char* line3;
  } cases[] = {
      {"a unit of another type", Fault::wrong_unit, true, "V", "", ""},
      {"a write that fails", Fault::write_fails, true, "?", "", ""},
      {"a cable pulled while asked", Fault::pulled, true, "V", "", ""},
      {"another type, no port left", Fault::wrong_unit, false, "V",
       "File type is not compatible to the system", "connect the correct ECU !!!"},
      {"a failed write, no port left", Fault::write_fails, false, "?",
       "No Com port or connection is found", "is connected to ECU !!!"},
      {"pulled, no port left", Fault::pulled, false, "V", "No Com port or connection is found",
       "is connected to ECU !!!"},
  };
  const std::string first = "/dev/ttyUSB0", second = "/dev/ttyUSB1";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FormFixture f;
    TForm1& w = *f.form;
    w.link_kind = firmware::Link::serial;
    f.serial.add_port(first);
    f.serial.add_port(second);
    w.ComboBox_setCompoort2.set_items(c.second ? std::vector{first, second} : std::vector{first});
    w.StaticText_version_info_File.caption = "3M0100001";
    if (c.fault == Fault::write_fails) f.serial.short_write_at = 0;
    w.next_action = NextAction::probe_next_port;
    w.Timer4.set_enabled(true);
    f.loop.advance(30);
    if (c.fault == Fault::wrong_unit) f.serial.feed(first, FormFixture::Reply("V4M0100001"));
    if (c.fault == Fault::pulled) f.serial.pull(first);
    f.loop.advance(60);
    if (c.second) {
      EXPECT_EQ(f.Letters(second), "V");
      f.serial.feed(second, FormFixture::Reply("V3M0100007"));
      f.loop.advance(60);
      EXPECT_EQ(f.Letters(second), "VV") << "the connection starts over on the port found";
      EXPECT_EQ(w.comm_state, CommState::version);
    }
    f.loop.advance(1000);
    EXPECT_EQ(f.Letters(first), c.first_letters) << "the first port is not asked again";
    EXPECT_FALSE(f.serial.line(first).open);
    // A failed write is told as any other, and the search goes on.
    EXPECT_EQ(f.dialogs.boxes.size(), c.fault == Fault::write_fails ? 1u : 0u);
    for (const auto& box : f.dialogs.boxes) EXPECT_EQ(box.text, "Communicatie Error");
    EXPECT_EQ(w.Panel_communication_offline.visible, *c.line1 != '\0');
    if (*c.line1 == '\0') continue;
    EXPECT_EQ(w.Label_communication_is_offline_txt1.caption, c.line1);
    EXPECT_EQ(w.Label_communication_is_offline_txt3.caption, c.line3);
  }
}

TEST(CommErrors, RetryAndCancelOfTheOfflinePanel) {
  for (bool autoselect : {false, true}) {
    Link f;
    TForm1& w = *f.form;
    w.CheckBox_Autoselect_comport.checked = autoselect;
    f.serial.add_port("/dev/ttyUSB0");
    w.ComboBox_setCompoort2.set_items({"/dev/ttyUSB0"});
    w.autoselect_index = 2;  // where the search before gave up
    w.ShowOfflineForm("Communication is offline", "", "");
    w.Button_Retry_communication_offline.click();
    EXPECT_FALSE(w.Panel_communication_offline.visible);
    f.loop.advance(30);
    if (autoselect) {
      EXPECT_EQ(f.Letters("/dev/ttyUSB0"), "V");
      EXPECT_FALSE(f.serial.line("COM3").open) << "the probe closed the port first";
    } else {
      EXPECT_EQ(f.Letters("COM3"), "V");
      EXPECT_EQ(w.Timer2.interval(), 500);
    }
  }
  Link f;
  TForm1& w = *f.form;
  w.ShowOfflineForm("Communication is offline", "", "");
  w.Button_Cancel_communication_offline.click();
  EXPECT_FALSE(w.ComPort1.connected());
  w.SendStatusRequest();
  EXPECT_TRUE(f.Writes("COM3").empty()) << "a closed port sends nothing";
  w.SendVersionRequest();
  EXPECT_EQ(f.Letters("COM3"), "V") << "until a sender that opens the port runs";
}

TEST(CommErrors, LabelOnTheHidLinkShowsTheSerialPortsName) {
  FormFixture f;
  TForm1& w = *f.form;
  w.link_kind = firmware::Link::hid;
  w.comm_state = CommState::script_step;
  w.HandleCommError();
  EXPECT_EQ(w.label_comm_errors.caption, "COM1 errors:1");
}

TEST(CommErrors, SerialBytesOnTheHidLinkAreDroppedNotLeftQueued) {
  Link f;
  TForm1& w = *f.form;
  w.link_kind = firmware::Link::hid;
  w.comm_state = CommState::version;
  f.serial.feed("COM3", FormFixture::Reply("V3M0100001"));
  EXPECT_TRUE(f.serial.line("COM3").input.empty())
      << "left queued, they would wake the loop for ever";
  EXPECT_TRUE(w.rx_buffer.empty());
  EXPECT_EQ(w.StaticText_version_info.caption, "");
}

TEST(CommErrors, PulledCableShowsTheOfflinePanelOnlyWhileTheUnitIsAwaited) {
  const struct {
    const char* name;
    std::function<void(TForm1&)> before;
    bool offline;        // the offline panel tells of the pulled cable
    bool ready;          // the ready panel stays
    bool retry = false;  // and Retry asks for the version as soon as after any other link error
  } cases[] = {
      {"no file opened", [](TForm1&) {}, false, false},
      {"a reply awaited", [](TForm1& w) { w.SendStatusRequest(); }, true, false},
      {"a link error about to re-send",
       [](TForm1& w) {
         w.SendStatusRequest();
         w.ReportLinkError();
       },
       true, false},
      {"the unit awaited after a power cycle",
       [](TForm1& w) {
         w.next_action = NextAction::power_cycle_wait;
         w.Timer4Timer();
       },
       true, false},
      {"the ready panel offers Download",
       [](TForm1& w) {
         w.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, texts::ready_1, texts::ready_2);
       },
       true, false},
      // Timer4 had been stretched for one firing that no longer comes.
      {"the wait for the replies to a block's other copies",
       [](TForm1& w) {
         w.block_copies = 3;
         w.AwaitOtherCopiesReplies();
       },
       true, false, true},
      {"a busy unit's finish, to be asked again 2 s later",
       [](TForm1& w) {
         w.SendFinishRequest();
         w.AppendRx(FormFixture::Reply("uwK"));
         w.ReceiveDispatcher(0);
       },
       true, false, true},
      {"the finished panel",
       [](TForm1& w) {
         w.ShowReadyPanel(TForm1::ReadyButtons::ok, texts::finished_1, texts::finished_2);
       },
       false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Link f;
    TForm1& w = *f.form;
    c.before(w);
    const std::size_t written = f.Writes("COM3").size();
    f.serial.pull("COM3");
    EXPECT_FALSE(w.ComPort1.connected());
    EXPECT_EQ(w.Panel_communication_offline.visible, c.offline);
    EXPECT_EQ(w.Panel_ready_for_download.visible, c.ready) << "no offer to go on stays";
    EXPECT_EQ(f.loop.pending(), 0u) << "nothing left running";
    f.loop.advance(10000);
    EXPECT_EQ(f.Writes("COM3").size(), written);
    if (!c.offline) continue;
    EXPECT_TRUE(f.OfflineShown("Communication is offline"));
    EXPECT_EQ(w.Label_communication_is_offline_txt3.caption, "COM3 was disconnected");
    if (c.retry) {
      w.CheckBox_Autoselect_comport.checked = false;
      w.Button_Retry_communication_offline.click();
      f.loop.advance(59);
      EXPECT_EQ(f.Letters("COM3").size(), written);
      f.loop.advance(1);
      EXPECT_EQ(f.Letters("COM3").substr(written), "V");
      continue;
    }
    w.Button_Cancel_communication_offline.click();
    EXPECT_TRUE(w.Idle()) << "after Cancel nothing runs any more";
  }
}

}  // namespace
