// The batch front end against the simulated unit over real pseudo-terminals.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "process.h"
#include "temp_dir.h"
#include "test_image.h"

namespace {

struct Case {
  const char* name;
  std::string version;  // of the image; the unit runs one older
  int blocks;
  std::vector<std::string> unit;  // extra options of the simulated unit
  std::vector<std::string> cli;   // extra options of the front end
  bool port_search = false;       // find the unit instead of naming its port
  int exit_status;
  std::string shown;  // text that must appear on stdout or stderr
  bool unit_holds_image;
  double within_s = 30;
};

// A failure shows the case by its name and what sets it apart, not as raw bytes.
void PrintTo(const Case& c, std::ostream* os) {
  *os << '"' << c.name << "\": " << c.version << ", " << c.blocks << " blocks";
  if (!c.unit.empty()) *os << ", unit";
  for (const auto& a : c.unit) *os << ' ' << a;
  if (!c.cli.empty()) *os << ", front end";
  for (const auto& a : c.cli) *os << ' ' << a;
  if (c.port_search) *os << ", port search";
  *os << ", exit " << c.exit_status;
}

class EndToEnd : public testing::TestWithParam<Case> {};

TEST_P(EndToEnd, Download) {
  const Case& c = GetParam();
  TempDir dir;
  const auto bytes = BlockImage(c.blocks, c.version, "0030");
  const std::string image = dir.write(c.version + ".fm0", bytes);

  std::string unit_version = c.version;
  unit_version.back() = static_cast<char>(unit_version.back() - 1);
  std::vector<std::string> unit{"--version", unit_version, "--received", dir / "received.bin"};
  unit.insert(unit.end(), c.unit.begin(), c.unit.end());
  Background sim(ZEK_ECU_SIM_PATH, unit);
  ASSERT_FALSE(sim.first_line().empty()) << "the simulated unit did not start";

  std::vector<std::string> args{"--yes", "--timeout", "30"};
  std::vector<std::string> env{"ZEKFLASH_PORTS=" + sim.first_line()};
  if (!c.port_search) {
    args.push_back("--port");
    args.push_back(sim.first_line());
  }
  args.insert(args.end(), c.cli.begin(), c.cli.end());
  args.push_back(image);
  const Finished run = RunToEnd(ZEKFLASH_CLI_PATH, args, env, 60000);
  sim.Stop();

  const std::string printed = run.out + run.err;
  EXPECT_EQ(run.status, c.exit_status) << c.name << "\n" << printed;
  EXPECT_NE(printed.find(c.shown), std::string::npos) << c.name << "\n" << printed;
  EXPECT_LT(run.seconds, c.within_s) << c.name;
  if (c.unit_holds_image) {
    const auto received = FileBytes(dir / "received.bin");
    const std::vector<std::uint8_t> blocks(bytes.begin(), bytes.begin() + c.blocks * 1024);
    EXPECT_TRUE(received == blocks) << c.name << ": the unit holds " << received.size()
                                    << " bytes, not the file's " << blocks.size();
  }
}

const char* const finished = "Firmware download is ready. Turn the Power off";

INSTANTIATE_TEST_SUITE_P(
    SimulatedUnit, EndToEnd,
    testing::Values(
        Case{"plain", "3M0100002", 40, {}, {}, false, 0, finished, true},
        Case{"found by the port search", "3M0100002", 8, {}, {}, true, 0, finished, true},
        Case{"fast family at 921600", "6M0100002", 40, {}, {}, false, 0, finished, true},
        Case{"fast 8 family at 921600", "8M0100002", 40, {}, {}, false, 0, finished, true},
        Case{"a unit of another type on the probed port",
             "3M0100002",
             4,
             {"--version", "4M0100001"},
             {},
             true,
             1,
             "connect the correct ECU !!!",
             false},
        Case{"lost block reply retried",
             "3M0100002",
             12,
             {"--drop", "B:3"},
             {},
             false,
             0,
             finished,
             true},
        Case{"four lost replies",
             "3M0100002",
             4,
             {"--drop", "V:1", "--drop", "V:2", "--drop", "V:3", "--drop", "V:4"},
             {},
             false,
             1,
             "Communication is offline",
             false},
        Case{"busy, then OK", "3M0100002", 4, {"--busy", "1"}, {}, false, 0, finished, true},
        Case{"engine running",
             "3M0100002",
             4,
             {"--engine-raw", "80"},
             {},
             false,
             1,
             "the motor is not running !!!",
             false},
        Case{"cable pulled mid-download",
             "3M0100002",
             40,
             {"--pull-after-blocks", "5"},
             {},
             false,
             1,
             "Communication is offline",
             false,
             10}),
    [](const testing::TestParamInfo<Case>& info) {
      std::string n = info.param.name;
      for (char& ch : n) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return n;
    });

// The system's own reason reaches the technician: a missing device, and a
// plain file (the tests run as root, so a file without permission would open).
TEST(EndToEndPort, APortThatCannotBeUsedIsNamedWithTheSystemsReason) {
  TempDir dir;
  const std::string image = dir.write("3M0100002.fm0", BlockImage(2, "3M0100002", "0030"));
  dir.write("plain", "not a tty");
  const std::pair<std::string, std::string> cases[] = {
      {dir / "ttyUSB7", ": No such file or directory"},
      {dir / "plain", ": not a serial port"},
  };
  for (const auto& [port, reason] : cases) {
    const Finished run =
        RunToEnd(ZEKFLASH_CLI_PATH, {"--port", port, image}, {"ZEKFLASH_PORTS="}, 30000);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.out.find("Communication is offline"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("open " + port + reason), std::string::npos) << run.err;
  }
}

}  // namespace
