#include <gtest/gtest.h>

#include <limits>

#include "conversation.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using F = FormFixture;

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes BadChecksum(Bytes reply) {
  reply.back() = static_cast<std::uint8_t>(reply.back() + 1);
  return reply;
}

TEST(Dispatcher, JudgesARepliesOnWhatIsHeldWhenItsMinimumArrives) {
  const Bytes v11 = F::Reply("V3M01000A1");
  const Bytes v13 = F::Reply("V3M01000A1xy");
  const struct {
    const char* name;
    std::vector<Bytes> pieces;
    bool link_error;
    std::string sent_after;  // letters the program wrote after the version request
  } cases[] = {
      {"whole", {v11}, false, "S"},
      {"in two pieces of 6 and 5",
       {Bytes(v11.begin(), v11.begin() + 6), Bytes(v11.begin() + 6, v11.end())},
       false,
       "S"},
      {"13 bytes at once, checksum in byte 13", {v13}, false, "S"},
      {"13 bytes as 11 and 2: byte 11 is no checksum",
       {Bytes(v13.begin(), v13.begin() + 11), Bytes(v13.begin() + 11, v13.end())},
       true,
       ""},
      {"ten bytes only: still waiting", {Bytes(v11.begin(), v11.begin() + 10)}, false, ""},
      {"bad checksum", {Cat(Bytes(v11.begin(), v11.end() - 1), {0})}, true, ""},
      {"another reply code", {F::Reply("S123456")}, true, ""},
      {"a stray first byte", {Cat({'x'}, v11)}, true, ""},
      {"a stray byte then the reply", {{'x'}, v11}, true, ""},
  };
  for (const auto& c : cases) {
    Conversation f;
    f.form->SendVersionRequest();
    for (const Bytes& p : c.pieces) f.Feed(p);
    EXPECT_EQ(f.LinkErrorReported(), c.link_error) << c.name;
    EXPECT_EQ(f.Letters(), "V" + c.sent_after) << c.name;
    if (!c.sent_after.empty()) {
      const Bytes& held = c.pieces.size() == 1 ? c.pieces[0] : v11;
      EXPECT_EQ(f.form->StaticText_version_info.caption,
                std::string(held.begin() + 1, held.end() - 1))
          << c.name;
    }
  }
}

// A stray first byte is a link error only while a reply is awaited; at any other
// time bytes answer nothing and are dropped: nothing counted, nothing re-sent.
TEST(Dispatcher, StrayBytesCountOnlyWhileAReplyIsAwaited) {
  for (CommState state : {CommState::version, CommState::block, CommState::status,
                          CommState::script_step, CommState::idle}) {
    for (bool awaited : {true, false}) {
      Conversation f;
      f.form->comm_state = state;
      f.form->Timer2.set_enabled(awaited);
      f.Feed("x");
      EXPECT_TRUE(f.form->rx_buffer.empty()) << state << awaited;
      EXPECT_EQ(f.form->rx_count, 0) << state << awaited;
      EXPECT_EQ(f.LinkErrorReported(), awaited) << state << awaited;
      if (awaited) continue;
      f.loop.advance(10000);
      EXPECT_TRUE(f.Writes().empty()) << state;
      EXPECT_EQ(f.form->error_count, 0) << state;
    }
  }
}

TEST(Dispatcher, KeepsSeventyTwoBytesButCountsThemAll) {
  Conversation f;
  // A reply timer runs in a state that judges no reply: the bytes just stay.
  f.form->comm_state = CommState::script_step;
  f.form->Timer2.set_enabled(true);
  f.Feed(Cat(F::Reply("d"), Bytes(99, 0x11)));
  EXPECT_EQ(f.form->rx_buffer.size(), 72u);
  EXPECT_EQ(f.form->rx_count, 101);
  // A unit that streams for ever: the count stops at its top, never wraps round.
  const std::int32_t top = std::numeric_limits<std::int32_t>::max();
  f.form->rx_count = top - 3;
  f.Feed(Bytes(10, 0x11));
  EXPECT_EQ(f.form->rx_count, top);
  EXPECT_EQ(f.form->rx_buffer.size(), 72u);
}

// After a power cycle the unit reports back by itself. What else the line brings
// meanwhile is dropped: no link error, no restart request nobody asked for.
TEST(Dispatcher, OnlyTheUnitsReportEndsThePowerCycleWait) {
  const Bytes report = F::Reply("rOK");
  const struct {
    const char* name;
    std::vector<Bytes> pieces;
    bool goes_on;  // the script's next step ran
  } cases[] = {
      {"the report alone", {report}, true},
      {"a break read as 0x00, then the report", {{0x00}, report}, true},
      {"noise and the report in one piece", {Cat({0x00, 0xFF, 'x', 0x00}, report)}, true},
      {"a stray 'r' before the report", {Cat({'r', 0x00}, report)}, true},
      {"the report in two pieces",
       {Bytes(report.begin(), report.begin() + 2), Bytes(report.begin() + 2, report.end())},
       true},
      {"the report with a bad checksum", {BadChecksum(report)}, false},
      {"more noise than the buffer holds", {Bytes(200, 0x00), report}, true},
      {"noise only", {{0x00}, Bytes(80, 0xFF)}, false},
  };
  for (const auto& c : cases) {
    Conversation f;
    TForm1& w = *f.form;
    w.staged_download = true;
    const std::string script = "[begin1]\r\n[HR]\r\n[end1]\r\n";
    w.script_file_name = f.WriteFile("3Mtest.fm1", Bytes(script.begin(), script.end()));
    w.StartScript();
    f.loop.advance(30);
    ASSERT_TRUE(w.PowerCycleReportAwaited()) << c.name;
    for (const Bytes& p : c.pieces) f.Feed(p);
    f.loop.advance(10000);
    EXPECT_TRUE(f.Writes().empty()) << c.name;
    EXPECT_EQ(w.error_count, 0) << c.name;
    EXPECT_EQ(w.script_finished, c.goes_on) << c.name;
    EXPECT_EQ(w.PowerCycleReportAwaited(), !c.goes_on) << c.name;
  }
}

// 'F' is the whole answer to the switch request, and the script starts at once.
// After it the unit is asked nothing the script does not ask for: no status
// request that would start the script again, no restart request in place of
// the power cycle.
TEST(Dispatcher, SwitchAnswerFStopsTheReplyTimerBeforeTheScriptStarts) {
  const struct {
    std::string first_step, sent;
    bool prompt, text;
  } cases[] = {
      {"[SR]", "}", true, false},
      {"[HR]", "}", true, false},
      {"[t1]", "}", false, true},
      {"[end1]", "}", true, false},  // the final message
  };
  for (const auto& c : cases) {
    Conversation f;
    TForm1& w = *f.form;
    w.staged_download = true;
    w.script_file_name = f.WriteText("3Mtest.fm1", "[begin1]\r\n" + c.first_step +
                                                       "\r\n[end1]\r\n[begin2]\r\n[begin3]\r\n"
                                                       "[t1]Switch off\r\n[end3]");
    w.Timer2.set_interval(500);
    w.SendSwitchRequest();
    f.Feed("F");
    f.loop.advance(10000);
    EXPECT_EQ(f.Letters(), c.sent) << c.first_step;
    EXPECT_EQ(w.Panel_ready_for_download.visible, c.prompt) << c.first_step;
    EXPECT_EQ(w.Panel_tekstveld.visible, c.text) << c.first_step;
    EXPECT_TRUE(f.dialogs.boxes.empty()) << c.first_step;
  }
}

TEST(Dispatcher, StatusReplies) {
  const struct {
    const char* name;
    CommState state;
    bool fast;
    Bytes reply;
    const char* outcome;  // "ready", "refused: <line 2>", "link error", "waiting", "script"
  } cases[] = {
      {"engine stopped, 22 V", CommState::status, false, F::StatusReply(56, 0, 56), "ready"},
      {"engine raw 1", CommState::status, false, F::StatusReply(56, 1, 56),
       "refused: the motor is not running !!!"},
      {"battery raw 12 is 11.0 V", CommState::status, false, F::StatusReply(56, 0, 12),
       "refused: the Battery voltage is higher then 11,0 Volt !!!"},
      {"battery raw 13", CommState::status, false, F::StatusReply(56, 0, 13), "ready"},
      {"wrong checksum accepted in d", CommState::status, false,
       BadChecksum(F::StatusReply(56, 0, 56)), "ready"},
      {"fast: 56 bytes are not enough", CommState::status, true, F::StatusReply(56, 0, 56),
       "waiting"},
      {"fast: 72 bytes", CommState::status, true, F::StatusReply(72, 0, 56), "ready"},
      {"after the switch: checksum checked", CommState::status_after_switch, false,
       BadChecksum(F::StatusReply(56, 0, 56)), "link error"},
  };
  for (const auto& c : cases) {
    Conversation f;
    TForm1& w = *f.form;
    w.fast_baud = c.fast;
    w.SendStatusRequest();
    w.comm_state = c.state;
    f.Feed(c.reply);
    const std::string outcome = c.outcome;
    if (outcome == "ready") {
      EXPECT_TRUE(w.Panel_ready_for_download.visible) << c.name;
      EXPECT_TRUE(w.Button_Download_ready_for_download.visible) << c.name;
      EXPECT_FALSE(w.Button_Ok_ready_for_download.visible) << c.name;
      EXPECT_EQ(w.focused, &w.Button_Download_ready_for_download) << c.name;
      EXPECT_FALSE(w.Timer2.enabled()) << c.name;
    } else if (outcome.rfind("refused: ", 0) == 0) {
      EXPECT_TRUE(w.Panel_communication_offline.visible) << c.name;
      EXPECT_TRUE(w.Button_ok_communication_offline.visible) << c.name;
      EXPECT_EQ(w.Label_communication_is_offline_txt1.caption,
                "Firmware download only Possible when")
          << c.name;
      EXPECT_EQ(w.Label_communication_is_offline_txt2.caption, outcome.substr(9)) << c.name;
      EXPECT_FALSE(w.Timer2.enabled()) << c.name;
    } else if (outcome == "link error") {
      EXPECT_TRUE(f.LinkErrorReported()) << c.name;
    } else {
      EXPECT_TRUE(w.Timer2.enabled()) << c.name;
      EXPECT_FALSE(w.Panel_ready_for_download.visible) << c.name;
    }
  }
}

TEST(Dispatcher, BlockRepliesDriveTheBlocksAndRefusals) {
  const struct {
    const char* name;
    int block, last;
    std::string status;
    std::string sent;  // what went out after the reply
    const char* line1;
    const char* line2;
    int copies = 1;  // the block went out again after each lost reply before this one
    int wait = 0;    // ms from the reply to what went out after it
  } cases[] = {
      {"OK on a middle block: the next block", 1, 3, "OK", "B", nullptr, nullptr},
      {"OK on the last block: the finish request", 3, 3, "OK", "u", nullptr, nullptr},
      // "BOK" names no block: what answers another copy must not pass for the next block's.
      {"OK on a block sent twice: the next block once the other copy's reply is due no more", 1, 3,
       "OK", "B", nullptr, nullptr, 2, 500},
      {"OK on a block sent three times", 1, 3, "OK", "B", nullptr, nullptr, 3, 1000},
      {"OK on the last block sent twice", 3, 3, "OK", "u", nullptr, nullptr, 2, 500},
      {"FF: link error", 1, 3, "FF", "", nullptr, nullptr},
      {"MM on block 0", 0, 3, "MM", "", "Not possible to change the firmware",
       "Call your supplier for information !!!"},
      {"MM on block 2", 2, 3, "MM", "", "The System memory is damaged",
       "Do NOT Powerup the system"},
      {"any other status", 2, 3, "??", "", "Switch system power off !!!",
       "Close the programm and try again"},
  };
  for (const auto& c : cases) {
    Conversation f;
    TForm1& w = *f.form;
    w.firmware_file_name = f.WriteImage("3M.fm0", "3M0100001", 4);
    w.last_block_nr = c.last;
    w.block_nr = c.block;
    w.error_count = 3 - c.copies;
    w.GroupBox_gauge_up_down_loading.visible = true;
    w.SendNextBlock();
    f.loop.advance(500 * (c.copies - 1));
    const auto copies = static_cast<std::size_t>(c.copies);
    ASSERT_EQ(f.Writes().size(), copies) << c.name;
    f.Feed(F::Reply("B" + c.status));
    if (c.wait > 0) {
      for (int i = 1; i < c.copies; ++i) f.Feed(F::Reply("BFF"));  // the other copies' replies
      f.loop.advance(c.wait - 1);
      EXPECT_EQ(f.Writes().size(), copies) << c.name;
      f.loop.advance(1);
      EXPECT_EQ(w.Timer4.interval(), 60) << c.name;
    }
    std::string sent;
    for (std::size_t i = copies; i < f.Writes().size(); ++i) {
      sent += static_cast<char>(f.Writes()[i][0]);
    }
    EXPECT_EQ(sent, c.sent) << c.name;
    if (c.status == "OK") {
      EXPECT_EQ(w.error_count, 0) << c.name;
      EXPECT_EQ(w.Gauge_up_down_loading.progress, c.block) << c.name;
      EXPECT_EQ(w.block_nr, c.block + 1) << c.name;
    }
    if (c.line1 != nullptr) {
      EXPECT_TRUE(w.Panel_communication_offline.visible) << c.name;
      EXPECT_TRUE(w.Button_ok_communication_offline.visible) << c.name;
      EXPECT_EQ(w.Label_communication_is_offline_txt1.caption, c.line1) << c.name;
      EXPECT_EQ(w.Label_communication_is_offline_txt2.caption, c.line2) << c.name;
      EXPECT_FALSE(w.UnitAwaited()) << c.name;
      f.loop.advance(5000);
      EXPECT_EQ(f.Writes().size(), 1u) << c.name << ": nothing goes out behind the panel";
    }
    EXPECT_EQ(w.GroupBox_gauge_up_down_loading.visible, c.status != "MM") << c.name;
    EXPECT_EQ(f.LinkErrorReported(), c.status == "FF") << c.name;
  }
}

TEST(Dispatcher, StartAndFinishReplies) {
  const struct {
    const char* name;
    void (TForm1::*send)();
    std::string reply;
    const char* expect;
  } cases[] = {
      {"start OK", &TForm1::SendStartRequest, "UOK", "block 0"},
      {"start NO", &TForm1::SendStartRequest, "UNO", "refused"},
      {"start other", &TForm1::SendStartRequest, "UFF", "link error"},
      {"finish OK", &TForm1::SendFinishRequest, "uOK", "finished"},
      {"finish NO", &TForm1::SendFinishRequest, "uNO", "box"},
      {"finish wK", &TForm1::SendFinishRequest, "uwK", "again in 2 s"},
      {"finish other", &TForm1::SendFinishRequest, "uMM", "link error"},
  };
  for (const auto& c : cases) {
    Conversation f;
    TForm1& w = *f.form;
    w.firmware_file_name = f.WriteImage("3M.fm0", "3M0100001", 3);
    w.last_block_nr = 2;
    w.error_count = 1;
    w.finish_wait = 50;
    (w.*c.send)();
    f.Feed(F::Reply(c.reply));
    const std::string e = c.expect;
    if (e == "block 0") {
      ASSERT_EQ(f.Letters(), "UB") << c.name;
      EXPECT_EQ(f.Writes()[1][1], 0) << c.name;
      EXPECT_TRUE(w.GroupBox_gauge_up_down_loading.visible) << c.name;
      EXPECT_EQ(w.Gauge_up_down_loading.max_value, 2) << c.name;
    } else if (e == "refused") {
      EXPECT_EQ(w.Label_communication_is_offline_txt1.caption,
                "Start firmware download has failed");
      EXPECT_EQ(w.Label_communication_is_offline_txt2.caption, "Please try again !!!");
      EXPECT_TRUE(w.Button_ok_communication_offline.visible);
    } else if (e == "link error") {
      EXPECT_TRUE(f.LinkErrorReported()) << c.name;
    } else if (e == "finished") {
      EXPECT_TRUE(w.Panel_ready_for_download.visible);
      EXPECT_TRUE(w.Button_Ok_ready_for_download.visible);
      EXPECT_FALSE(w.Button_Download_ready_for_download.visible);
      EXPECT_FALSE(w.AdvCircularProgress1.visible);
      EXPECT_EQ(w.Label_ready_for_download_txt1.caption,
                "Firmware download is ready. Turn the Power off");
      EXPECT_EQ(w.focused, &w.Button_Ok_ready_for_download);
    } else if (e == "box") {
      EXPECT_EQ(f.BoxTexts(),
                std::vector<std::string>{"firmware download has failed !!!\r\r\nPlease try again"});
    } else if (e == "again in 2 s") {
      EXPECT_EQ(w.error_count, 0);
      f.loop.advance(1999);
      EXPECT_EQ(f.Letters(), "u");
      f.loop.advance(1);
      EXPECT_EQ(f.Letters(), "uu") << "repeated without counting as an error";
      EXPECT_EQ(w.error_count, 1);
      EXPECT_EQ(w.Timer4.interval(), 60);
    }
  }
}

}  // namespace
