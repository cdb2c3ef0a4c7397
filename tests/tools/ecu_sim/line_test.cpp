// The line: the rate and framing the unit understands, and the time bytes take.
#include <gtest/gtest.h>

#include <chrono>

#include "far_end.h"
#include "sim_process.h"
#include "temp_dir.h"

namespace ecu_sim_test {
namespace {

struct LineCase {
  const char* name;
  const char* version;
  std::vector<std::string> extra_args;
  LineSetup line;
  bool answered;
  LineSetup right;  // a setting the unit understands
};

void RunLine(const LineCase& c) {
  SCOPED_TRACE(c.name);
  TempDir dir;
  std::vector<std::string> args{"--version", c.version, "--log", dir / "log.txt"};
  args.insert(args.end(), c.extra_args.begin(), c.extra_args.end());
  SimProcess sim(args);
  FarEnd far(sim.path(), c.line);
  ASSERT_TRUE(far.ok());
  const Bytes reply = WithChecksum(std::string("V") + c.version);
  ASSERT_TRUE(far.Write(Text("V")));
  EXPECT_EQ(Hex(far.Read(reply.size(), c.answered ? 1000 : 150)), c.answered ? Hex(reply) : "");
  const std::string log = FileText(dir / "log.txt");
  EXPECT_EQ(log.find("V len=1 -> not answered"),
            c.answered ? std::string::npos : log.find("V len=1"))
      << log;
  // Set right, the same unit answers: the refused request left nothing behind.
  ASSERT_TRUE(far.Configure(c.right));
  ASSERT_TRUE(far.Write(Text("V")));
  EXPECT_EQ(Hex(far.Read(reply.size(), 1000)), Hex(reply));
  EXPECT_EQ(Hex(far.Read(1, 30)), "");
}

TEST(EcuSimLine, AnswersOnlyAtTheRateAndFramingOfItsFamily) {
  // A pseudo-terminal keeps no parity or character size of its own (always 8 bits,
  // no parity), so framing is tried with the stop bits and the local modes.
  const LineSetup slow{B115200};
  const LineSetup fast{B921600};
  const std::vector<LineCase> cases{
      {"slow unit at 115200", "3M0100001", {}, slow, true, slow},
      {"slow unit at 921600", "3M0100001", {}, fast, false, slow},
      {"fast unit at 115200", "6M0100001", {}, slow, false, fast},
      {"fast unit at 921600", "6M0100001", {}, fast, true, fast},
      {"fast 8 unit at 9600", "8M0100001", {}, {B9600}, false, fast},
      {"two stop bits", "3M0100001", {}, {B115200, CSTOPB}, false, slow},
      {"echo on", "3M0100001", {}, {B115200, 0, ECHO}, false, slow},
      {"signals on", "3M0100001", {}, {B115200, 0, ISIG}, false, slow},
      {"any rate allowed", "3M0100001", {"--baud", "0"}, {B9600}, true, {B4800}},
      {"rate named", "3M0100001", {"--baud", "230400"}, slow, false, {B230400}},
  };
  for (const LineCase& c : cases) RunLine(c);
}

TEST(EcuSimLine, PacedBlockTakesItsWireTime) {
  SimProcess sim({"--pace"});
  FarEnd far(sim.path(), {B115200});
  ASSERT_TRUE(far.ok());
  ASSERT_TRUE(far.Write(Text("U123456")));
  ASSERT_EQ(far.Read(4, 1000).size(), 4u);
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(far.Write(BlockRequest(0, BlockData(0))));
  EXPECT_EQ(Hex(far.Read(4, 1000)), Hex(WithChecksum("BOK")));
  // 1027 bytes in and 4 out at 10 bits a byte: 89.5 ms at 115200 baud.
  const auto took = std::chrono::steady_clock::now() - sent;
  EXPECT_GE(took, std::chrono::microseconds(89'400));
}

TEST(EcuSimLine, LinkFileNamesTheFarEnd) {
  TempDir dir;
  SimProcess sim({"--link-file", dir / "link"});
  ASSERT_FALSE(sim.path().empty());
  EXPECT_EQ(FileText(dir / "link"), sim.path() + "\n");
}

TEST(EcuSimLine, KeepsAnsweringWhenTheFarEndIsOpenedAgain) {
  SimProcess sim({});
  const Bytes reply = WithChecksum("V3M0100001");
  for (int open = 1; open <= 3; ++open) {
    SCOPED_TRACE(open);
    FarEnd far(sim.path(), {B115200});
    ASSERT_TRUE(far.ok());
    ASSERT_TRUE(far.Write(Text("V")));
    EXPECT_EQ(Hex(far.Read(reply.size(), 1000)), Hex(reply));
  }
  EXPECT_EQ(sim.Terminate(), 0);
}

TEST(EcuSimLine, CommandLinesThatStartNoUnit) {
  // Bad ones exit with status 2 and print no port; "--version" without a text
  // after it asks for the program's own version instead of setting the unit's.
  const std::string version = "zek-ecu-sim (ZEK Firmware downloader) " ZEK_VERSION;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--drop", "X:1"}, ""},
      {{"--drop", "V:0"}, ""},
      {{"--drop", "V"}, ""},
      {{"--split", "V:1"}, ""},
      {{"--split", "V:1:0"}, ""},
      {{"--delay", "d:1:-5"}, ""},
      {{"--answer", "B:1:MMM"}, ""},
      {{"--battery-raw", "65536"}, ""},
      {{"--engine-raw", "1x"}, ""},
      {{"--switch-answer", "yes"}, ""},
      {{"--start-status", "OKAY"}, ""},
      {{"--access-code", "0A0B0C"}, ""},
      {{"--access-code", "0A0B0C0G"}, ""},
      {{"--version", ""}, ""},
      {{"--pace=1"}, ""},
      {{"--bogus"}, ""},
      {{"stray"}, ""},
      {{"--pull-after-blocks", "0"}, ""},
      {{"--unplug-after-blocks", "2"}, ""},
      {{"--hid-name", "HIDtoUART ZEK"}, ""},
      {{"--hid", "--unplug-after-blocks", "0"}, ""},
      {{"--hid", "--replug-after", "-1"}, ""},
      {{"--hid", "--hid-name", ""}, ""},
      {{"--version"}, version},
      {{"--hid", "--serial", "1", "--version"}, version},
  };
  for (const auto& [args, first_line] : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    SimProcess sim(args);
    EXPECT_EQ(sim.path(), first_line);
    EXPECT_EQ(sim.WaitExit(2000), first_line.empty() ? 2 : 0);
  }
}

}  // namespace
}  // namespace ecu_sim_test
