#include <gtest/gtest.h>

#include "conversation.h"

namespace {

TEST(Timer4, ActionsOnlyDoWhatTheyAreFor) {
  for (int action : {4, 5, 7, 8, 12, 18, 21, -1}) {
    Conversation f;
    TForm1& w = *f.form;
    w.comm_state = CommState::serial_number;
    w.next_action = static_cast<NextAction>(action);
    w.Timer4.set_enabled(true);
    f.loop.advance(30);
    EXPECT_FALSE(w.Timer4.enabled()) << action;
    EXPECT_EQ(w.next_action, static_cast<NextAction>(action)) << action;
    EXPECT_EQ(w.comm_state, CommState::serial_number) << action;
    EXPECT_TRUE(f.Writes().empty()) << action;
    EXPECT_EQ(f.loop.pending(), 0u) << action;
  }
}

TEST(Timer4, PowerCycleWaitSendsNothingAndWaitsForTheUnitsOwnReport) {
  Conversation f;
  TForm1& w = *f.form;
  w.next_action = NextAction::power_cycle_wait;
  w.Timer4.set_enabled(true);
  f.loop.advance(30);
  EXPECT_EQ(w.comm_state, CommState::restart);
  EXPECT_TRUE(f.Writes().empty());
  EXPECT_FALSE(w.Timer2.enabled());
  f.loop.advance(600000);  // no time limit
  EXPECT_TRUE(f.dialogs.boxes.empty());
  w.staged_download = true;
  w.script_file_name =
      f.WriteFile("s.fm1", {'[', 'b', 'e', 'g', 'i', 'n', '1', ']', '\r', '\n', 'x', '\r', '\n'});
  w.script_position = 10;
  w.Panel_ready_for_download.visible = true;
  f.Feed(FormFixture::Reply("rOK"));
  EXPECT_EQ(w.comm_state, CommState::script_step);
  EXPECT_FALSE(w.Panel_ready_for_download.visible);
  EXPECT_EQ(w.script_position, 13) << "the next step ran";
}

TEST(Timer2, FinishRequestTimesOutAfterItsFinishWait) {
  Conversation f;
  TForm1& w = *f.form;
  w.StaticText_Serial_number.caption = "123456";
  w.finish_wait = 12;
  w.SendFinishRequest();
  EXPECT_TRUE(w.AdvCircularProgress1.visible);
  f.loop.advance(1199);
  EXPECT_TRUE(f.dialogs.boxes.empty());
  f.loop.advance(1);
  ASSERT_EQ(f.dialogs.boxes.size(), 1u);
  EXPECT_EQ(f.dialogs.boxes[0].kind, ui::BoxKind::warning);
  EXPECT_EQ(f.dialogs.boxes[0].text, "firmware download has failed !!!\r\r\nPlease try again");
  EXPECT_FALSE(w.ComPort1.connected());
  EXPECT_FALSE(w.Timer2.enabled());
  EXPECT_EQ(w.Timer2.interval(), 100);
  EXPECT_FALSE(w.AdvCircularProgress1.visible);
}

TEST(Timer2, FinishWaitZeroWaitsForEver) {
  Conversation f;
  TForm1& w = *f.form;
  w.finish_wait = 0;
  w.SendFinishRequest();
  f.loop.advance(24 * 3600 * 1000);
  EXPECT_TRUE(f.dialogs.boxes.empty());
  EXPECT_TRUE(w.Timer2.enabled());
  EXPECT_TRUE(w.AdvCircularProgress1.visible);
  EXPECT_EQ(f.Letters(), "u");
}

TEST(Timer2, UnansweredSwitchAsksForTheStatusOnceWithoutTheLabel) {
  Conversation f;
  TForm1& w = *f.form;
  w.Timer2.set_interval(500);
  w.SendSwitchRequest();
  w.label_comm_errors.caption = "marker";
  w.error_count = 2;
  f.loop.advance(500);
  EXPECT_EQ(f.Letters(), "}d");
  EXPECT_EQ(w.comm_state, CommState::status_after_switch);
  EXPECT_EQ(w.label_comm_errors.caption, "marker");
  EXPECT_EQ(w.error_count, 0);
  EXPECT_TRUE(w.Timer2.enabled());
  EXPECT_EQ(w.Timer2.interval(), 500);
}

TEST(Timer2, LostRepliesAreRepeatedOneIntervalAfterThePreviousTimeOut) {
  Conversation f;
  TForm1& w = *f.form;
  w.Timer2.set_interval(500);
  w.SendStatusRequest();
  f.loop.advance(500);
  EXPECT_EQ(f.Letters(), "dd");
  EXPECT_EQ(w.error_count, 1);
  f.loop.advance(499);
  EXPECT_EQ(f.Letters(), "dd");
  f.loop.advance(1);
  EXPECT_EQ(f.Letters(), "ddd");
}

TEST(Timer4, ProbeActionClosesThePortFirst) {
  Conversation f;
  TForm1& w = *f.form;
  f.serial.add_port("/dev/ttyUSB1");
  w.ComboBox_setCompoort2.set_items({"/dev/ttyUSB1"});
  w.autoselect_index = 0;
  w.next_action = NextAction::probe_next_port;
  w.Timer4.set_enabled(true);
  f.loop.advance(30);
  EXPECT_FALSE(f.serial.line("COM1").open);
  EXPECT_TRUE(f.serial.line("/dev/ttyUSB1").open);
  EXPECT_EQ(f.Letters("/dev/ttyUSB1"), "V");
  EXPECT_EQ(w.comm_state, CommState::probe);
  EXPECT_EQ(w.label_comm_errors.caption, "/dev/ttyUSB1 errors:0");
  EXPECT_EQ(w.Timer4.interval(), 60);
}

}  // namespace
