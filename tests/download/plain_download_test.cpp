#include <gtest/gtest.h>

#include "conversation.h"
#include "download/protocol.h"
#include "firmware/image.h"

namespace {

// Plays the unit: answers each request the program wrote, as a unit of the given
// version would, and returns the data of the blocks it received.
struct Unit {
  explicit Unit(Conversation& c) : f(c) {}

  Conversation& f;
  std::string version = "3M0100002";
  std::string serial = "123456";
  std::size_t answered = 0;
  std::vector<std::uint8_t> received;

  void AnswerAll() {
    while (answered < f.Writes().size()) {
      const auto request = f.Writes()[answered++];
      switch (request.at(0)) {
        case 'V':
          f.Feed(FormFixture::Reply("V" + version));
          break;
        case 'S':
          f.Feed(FormFixture::Reply("S" + serial));
          break;
        case 'a':
          f.Feed(FormFixture::Reply(std::string("a\0\x02", 3)));
          break;
        case 'd':
          f.Feed(FormFixture::StatusReply(56, 0, 56));
          break;
        case 'U':
          f.Feed(FormFixture::Reply("UOK"));
          break;
        case 'B':
          received.insert(received.end(), request.begin() + 2, request.end() - 1);
          f.Feed(FormFixture::Reply("BOK"));
          break;
        case 'u':
          f.Feed(FormFixture::Reply("uOK"));
          break;
      }
    }
  }
};

TEST(PlainDownload, FromActionZeroToTheFinishedPanel) {
  Conversation f;
  TForm1& w = *f.form;
  const std::string image = f.WriteImage("3M0100002.fm0", "3M0100002", 5);
  w.firmware_file_name = image;
  w.last_block_nr = 4;
  w.StaticText_version_info_File.caption = "3M0100002";
  w.next_action = NextAction::connect;
  w.Timer4.set_enabled(true);
  Unit unit(f);
  f.loop.advance(30);
  unit.AnswerAll();
  EXPECT_EQ(f.Letters(), "VSad");
  ASSERT_TRUE(w.Panel_ready_for_download.visible);
  EXPECT_EQ(w.Timer2.interval(), 500);
  w.Button_Download_ready_for_download.click();
  unit.AnswerAll();
  EXPECT_EQ(f.Letters(), "VSadUBBBBBu");
  EXPECT_TRUE(w.Panel_ready_for_download.visible);
  EXPECT_EQ(w.Label_ready_for_download_txt1.caption,
            "Firmware download is ready. Turn the Power off");
  EXPECT_EQ(w.Gauge_up_down_loading.percent(), 100);
  // Every byte sent is the file's byte: the five whole blocks, not the checksum record.
  const auto file = *firmware::ReadWholeFile(image);
  EXPECT_EQ(unit.received, std::vector<std::uint8_t>(file.begin(), file.begin() + 5 * 1024));
  EXPECT_FALSE(w.Timer2.enabled());
  EXPECT_FALSE(w.Timer4.enabled());
  w.Button_Ok_ready_for_download.click();
  EXPECT_FALSE(w.ComPort1.connected());
}

}  // namespace
