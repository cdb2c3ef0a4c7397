#include <gtest/gtest.h>

#include "conversation.h"
#include "played_unit.h"

namespace {

TEST(PlainDownload, FromActionZeroToTheFinishedPanel) {
  Conversation f;
  TForm1& w = *f.form;
  w.firmware_file_name = f.WriteImage("3M0100002.fm0", "3M0100002", 5);
  w.last_block_nr = 4;
  w.StaticText_version_info_File.caption = "3M0100002";
  w.next_action = NextAction::connect;
  w.Timer4.set_enabled(true);
  PlayedUnit unit;
  f.loop.advance(30);
  unit.AnswerWritten(f.serial);
  EXPECT_EQ(f.Letters(), "VSad");
  ASSERT_TRUE(w.Panel_ready_for_download.visible);
  EXPECT_EQ(w.Timer2.interval(), 500);
  w.Button_Download_ready_for_download.click();
  unit.AnswerWritten(f.serial);
  EXPECT_EQ(f.Letters(), "VSadUBBBBBu");
  EXPECT_TRUE(w.Panel_ready_for_download.visible);
  EXPECT_EQ(w.Label_ready_for_download_txt1.caption,
            "Firmware download is ready. Turn the Power off");
  EXPECT_EQ(w.Gauge_up_down_loading.percent(), 100);
  EXPECT_FALSE(w.Timer2.enabled());
  EXPECT_FALSE(w.Timer4.enabled());
  w.Button_Ok_ready_for_download.click();
  EXPECT_FALSE(w.ComPort1.connected());
}

}  // namespace
