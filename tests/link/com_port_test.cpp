#include "link/com_port.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/manual_loop.h"
#include "fake_serial.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ComPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"COM1", "COM3", "COM4"}) serial.add_port(name);
    port.on_rx_char = [this](int count) { counts.push_back(count); };
    port.on_gone = [this](const core::Error& e) { gone.push_back(e); };
  }

  core::ManualLoop loop;
  FakeSerial serial{loop};
  links::ComPort port{loop, serial};
  std::vector<int> counts;
  std::vector<core::Error> gone;
};

TEST_F(ComPortTest, StartsClosedOnCom1At115200) {
  EXPECT_FALSE(port.connected());
  EXPECT_EQ(port.port(), "COM1");
  EXPECT_EQ(port.baud_rate(), 115200);
  EXPECT_TRUE(serial.open_log.empty());
}

TEST_F(ComPortTest, OpenUsesTheNameAndRateSetWhileClosed) {
  ASSERT_TRUE(port.set_port("COM3").ok());
  ASSERT_TRUE(port.set_baud_rate(921600).ok());
  EXPECT_TRUE(serial.open_log.empty()) << "a closed port opens nothing";
  ASSERT_TRUE(port.open().ok());
  EXPECT_TRUE(port.connected());
  EXPECT_EQ(serial.open_log, std::vector<std::string>{"COM3"});
  EXPECT_EQ(serial.line("COM3").baud, 921600);
  // Opening an open port is no second open.
  ASSERT_TRUE(port.open().ok());
  EXPECT_EQ(serial.open_log.size(), 1u);
}

TEST_F(ComPortTest, NewNameOnAnOpenPortReopensUnderIt) {
  ASSERT_TRUE(port.set_port("COM3").ok());
  ASSERT_TRUE(port.open().ok());
  ASSERT_TRUE(port.set_port("COM3").ok());
  EXPECT_EQ(serial.open_log.size(), 1u) << "the same name changes nothing";
  ASSERT_TRUE(port.set_port("COM4").ok());
  EXPECT_TRUE(port.connected());
  EXPECT_FALSE(serial.line("COM3").open);
  EXPECT_TRUE(serial.line("COM4").open);
  EXPECT_EQ(serial.open_log, (std::vector<std::string>{"COM3", "COM4"}));
  serial.feed("COM3", "old");
  EXPECT_TRUE(counts.empty()) << "the old port is no longer watched";
  serial.feed("COM4", "new!");
  EXPECT_EQ(counts, std::vector<int>{4});
}

TEST_F(ComPortTest, ReopenUnderAMissingNameLeavesThePortClosed) {
  ASSERT_TRUE(port.open().ok());
  auto s = port.set_port("COM9");
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.error().name, "COM9");
  EXPECT_FALSE(port.connected());
  EXPECT_EQ(port.port(), "COM9");
  EXPECT_FALSE(serial.line("COM1").open);
  serial.feed("COM1", "x");
  EXPECT_TRUE(counts.empty());
}

TEST_F(ComPortTest, RateOnAnOpenPortIsAppliedAtOnceOrOnceAtTheEndOfAGroup) {
  struct Case {
    const char* what;
    int depth;               // nested begin_update calls
    std::vector<int> rates;  // set inside the group
    std::vector<int> applied_before_end;
    std::vector<int> applied_after_end;
  };
  const Case cases[] = {
      {"no group", 0, {921600}, {115200, 921600}, {115200, 921600}},
      {"no group, twice", 0, {921600, 115200}, {115200, 921600, 115200}, {115200, 921600, 115200}},
      {"group", 1, {921600}, {115200}, {115200, 921600}},
      {"group, set twice", 1, {921600, 921600}, {115200}, {115200, 921600}},
      {"group, last wins", 1, {921600, 250000}, {115200}, {115200, 250000}},
      {"nested group", 2, {921600}, {115200}, {115200}},
      {"empty group", 1, {}, {115200}, {115200}},
  };
  for (const Case& c : cases) {
    links::ComPort p{loop, serial};
    ASSERT_TRUE(p.set_port("COM3").ok());
    ASSERT_TRUE(p.open().ok());
    for (int i = 0; i < c.depth; ++i) p.begin_update();
    for (int rate : c.rates) ASSERT_TRUE(p.set_baud_rate(rate).ok());
    EXPECT_EQ(serial.line("COM3").bauds_set, c.applied_before_end) << c.what;
    if (c.depth > 0) {
      ASSERT_TRUE(p.end_update().ok());
    }
    EXPECT_EQ(serial.line("COM3").bauds_set, c.applied_after_end) << c.what;
    serial.line("COM3").bauds_set.clear();
  }
}

TEST_F(ComPortTest, NestedGroupAppliesAtTheOutermostEnd) {
  ASSERT_TRUE(port.open().ok());
  port.begin_update();
  port.begin_update();
  ASSERT_TRUE(port.set_baud_rate(921600).ok());
  ASSERT_TRUE(port.end_update().ok());
  EXPECT_EQ(serial.line("COM1").baud, 115200);
  ASSERT_TRUE(port.end_update().ok());
  EXPECT_EQ(serial.line("COM1").baud, 921600);
  EXPECT_EQ(serial.line("COM1").bauds_set, (std::vector<int>{115200, 921600}));
  // An end without a beginning applies nothing more.
  ASSERT_TRUE(port.end_update().ok());
  EXPECT_EQ(serial.line("COM1").bauds_set.size(), 2u);
}

TEST_F(ComPortTest, GroupOnAClosedPortLeavesTheRateToTheOpen) {
  port.begin_update();
  ASSERT_TRUE(port.set_baud_rate(921600).ok());
  ASSERT_TRUE(port.end_update().ok());
  EXPECT_TRUE(serial.open_log.empty());
  ASSERT_TRUE(port.open().ok());
  EXPECT_EQ(serial.line("COM1").bauds_set, std::vector<int>{921600});
}

TEST_F(ComPortTest, ReceivedBytesRaiseRxCharWithTheQueuedCount) {
  ASSERT_TRUE(port.open().ok());
  serial.feed("COM1", "ab");
  serial.feed("COM1", "cde");
  EXPECT_EQ(counts, (std::vector<int>{2, 5})) << "unread bytes stay queued and count again";
  Bytes buf(5);
  auto n = port.read(buf);
  ASSERT_TRUE(n.ok());
  EXPECT_EQ(*n, 5u);
  EXPECT_EQ(buf, (Bytes{'a', 'b', 'c', 'd', 'e'}));
  auto left = port.input_count();
  ASSERT_TRUE(left.ok());
  EXPECT_EQ(*left, 0u);
  // A wake-up with nothing queued raises nothing.
  loop.signal(serial.line("COM1").fd);
  EXPECT_EQ(counts.size(), 2u);
}

TEST_F(ComPortTest, PulledDeviceIsReportedOnceAndForgotten) {
  ASSERT_TRUE(port.open().ok());
  serial.pull("COM1");
  ASSERT_EQ(gone.size(), 1u);
  EXPECT_EQ(gone[0].name, "COM1");
  EXPECT_FALSE(port.connected());
  EXPECT_FALSE(serial.line("COM1").open);
  EXPECT_EQ(loop.signal(serial.line("COM1").fd), 0) << "still watched";
  EXPECT_EQ(gone.size(), 1u);
  EXPECT_TRUE(counts.empty());
}

TEST_F(ComPortTest, ClosingFromTheRxHandlerIsSafe) {
  port.on_rx_char = [this](int count) {
    counts.push_back(count);
    port.close();
  };
  ASSERT_TRUE(port.open().ok());
  serial.feed("COM1", "xyz");
  EXPECT_EQ(counts, std::vector<int>{3});
  EXPECT_FALSE(port.connected());
  EXPECT_EQ(loop.signal(serial.line("COM1").fd), 0);
}

TEST_F(ComPortTest, WriteTimeOutGrowsWithTheRequest) {
  ASSERT_TRUE(port.open().ok());
  for (std::size_t size : {1u, 5u, 1027u}) ASSERT_TRUE(port.write(Bytes(size, 0x42)).ok());
  EXPECT_EQ(serial.line("COM1").write_timeouts_ms, (std::vector<int>{1100, 1500, 103700}));
  EXPECT_EQ(serial.line("COM1").writes.back().size(), 1027u);
}

TEST_F(ComPortTest, ShortWriteIsAFailure) {
  serial.short_write_at = 0;
  ASSERT_TRUE(port.open().ok());
  EXPECT_FALSE(port.write(Bytes{'V', 1, 2}).ok());
}

TEST_F(ComPortTest, ClosedPortRefusesIoAndWritesNothing) {
  Bytes buf(4);
  EXPECT_FALSE(port.write(Bytes{1, 2}).ok());
  EXPECT_FALSE(port.read(buf).ok());
  EXPECT_FALSE(port.input_count().ok());
  port.clear_buffers();
  port.close();
  EXPECT_TRUE(serial.all_writes.empty());
}

TEST_F(ComPortTest, ClearBuffersDiscardsTheQueue) {
  ASSERT_TRUE(port.open().ok());
  serial.feed("COM1", "stale");
  port.clear_buffers();
  EXPECT_EQ(serial.line("COM1").discards, 1);
  auto left = port.input_count();
  ASSERT_TRUE(left.ok());
  EXPECT_EQ(*left, 0u);
}

// Each step runs after the ones above it on the same port.
TEST_F(ComPortTest, LastErrorKeepsTheLatestFailureUntilAnOpenSucceeds) {
  Bytes buf(4);
  const auto done = [](const auto&) {};  // the outcome shows in last_error()
  struct Step {
    const char* what;
    std::function<void()> act;
    std::string last_error;  // described; empty for none
  };
  const Step steps[] = {
      {"fresh", [] {}, ""},
      {"open of a missing port", [&] { done(port.set_port("COM9")), done(port.open()); },
       "open COM9: No such file or directory (error 2)"},
      {"read on the closed port", [&] { done(port.read(buf)); },
       "open COM9: No such file or directory (error 2)"},
      {"open that succeeds", [&] { done(port.set_port("COM1")), done(port.open()); }, ""},
      {"rate that fails on the open port, which it closes",
       [&] {
         serial.failing["set baud rate"] = {22, "Invalid argument"};
         done(port.set_baud_rate(921600));
         EXPECT_FALSE(port.connected());
       },
       "set baud rate COM1: Invalid argument (error 22)"},
      {"write on the port the rate closed", [&] { done(port.write(Bytes{1})); },
       "set baud rate COM1: Invalid argument (error 22)"},
      {"open that succeeds again",
       [&] {
         serial.failing.clear();
         done(port.open());
       },
       ""},
      {"write that fails",
       [&] {
         serial.failing["write"] = {5, "Input/output error"};
         done(port.write(Bytes{1}));
       },
       "write COM1: Input/output error (error 5)"},
      {"device pulled", [&] { serial.pull("COM1"); }, "read COM1: Input/output error (error 5)"},
      {"open whose rate fails",
       [&] {
         serial.failing = {{"set baud rate", {22, "Invalid argument"}}};
         done(port.open());
       },
       "set baud rate COM1: Invalid argument (error 22)"},
      {"open that fails",
       [&] {
         serial.failing = {{"open", {13, "Permission denied"}}};
         done(port.open());
       },
       "open COM1: Permission denied (error 13)"},
  };
  for (const Step& step : steps) {
    step.act();
    const auto& e = port.last_error();
    EXPECT_EQ(e ? e->describe() : "", step.last_error) << step.what;
  }
  EXPECT_FALSE(port.connected());
}

TEST_F(ComPortTest, DestroyingTheComponentClosesTheDevice) {
  {
    links::ComPort p{loop, serial};
    ASSERT_TRUE(p.set_port("COM4").ok());
    ASSERT_TRUE(p.open().ok());
    EXPECT_TRUE(serial.line("COM4").open);
  }
  EXPECT_FALSE(serial.line("COM4").open);
  EXPECT_EQ(loop.signal(serial.line("COM4").fd), 0);
}

}  // namespace
