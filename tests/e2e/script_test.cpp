// Download scripts run by the batch front end against the simulated unit over
// real pseudo-terminals: what the unit was asked, what it holds, what was shown.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"
#include "temp_dir.h"
#include "test_image.h"

namespace {

struct ScriptCase {
  const char* name;
  std::string family;             // of the unit and both images
  std::string steps;              // between "[begin1]" and "[end1]"; A and B stand for the images
  std::vector<std::string> unit;  // extra options of the simulated unit
  int exit_status;
  std::string requests;  // what the unit was asked, one letter each
  std::vector<std::string> shown, not_shown;
  std::string images;  // the images the unit received, download by download
};

void PrintTo(const ScriptCase& c, std::ostream* os) {
  *os << '"' << c.name << '"';
}

// The request letters of the unit's log ("<ms> <kind> len=<n> -> <answer>").
std::string Requests(const std::string& log) {
  std::istringstream in(log);
  std::string letters;
  for (std::string ms, kind, rest; in >> ms >> kind && std::getline(in, rest);) {
    if (kind != "*") letters += kind;
  }
  return letters;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

class EndToEndScript : public testing::TestWithParam<ScriptCase> {};

TEST_P(EndToEndScript, Runs) {
  const ScriptCase& c = GetParam();
  TempDir dir;
  const std::vector<std::uint8_t> a = BlockImage(3, c.family + "0100002", "0030");
  const std::vector<std::uint8_t> b = BlockImage(2, c.family + "0100003", "0030");
  const std::string name_a = c.family + "0100002.fm0", name_b = c.family + "0100003.fm0";
  dir.write(name_a, a);
  dir.write(name_b, b);
  const std::string steps =
      Replace(Replace(c.steps, "[f]A", "[f]" + name_a), "[f]B", "[f]" + name_b);
  const std::string script =
      dir.write(c.family + "0.fm1", "[begin1]\r\n" + steps + "[end1]\r\n[begin2]\r\n" + c.family +
                                        "XXXXXXX\r\n[begin3]\r\n[t1]one\r\n[t2]two\r\n[end3]");

  std::vector<std::string> unit{"--version", c.family + "0100001", "--received", dir / "rx%n.bin",
                                "--log",     dir / "log.txt"};
  unit.insert(unit.end(), c.unit.begin(), c.unit.end());
  Background sim(ZEK_ECU_SIM_PATH, unit);
  ASSERT_FALSE(sim.first_line().empty()) << "the simulated unit did not start";
  const Finished run =
      RunToEnd(ZEKFLASH_CLI_PATH, {"--yes", "--timeout", "30", "--port", sim.first_line(), script},
               {"ZEKFLASH_PORTS="}, 60000);
  sim.Stop();

  const std::string printed = run.out + run.err;
  EXPECT_EQ(run.status, c.exit_status) << printed;
  EXPECT_EQ(Requests(FileText(dir / "log.txt")), c.requests) << FileText(dir / "log.txt");
  for (const auto& line : c.shown) EXPECT_NE(printed.find(line), std::string::npos) << line;
  for (const auto& line : c.not_shown) EXPECT_EQ(printed.find(line), std::string::npos) << line;
  for (std::size_t n = 0; n < c.images.size(); ++n) {
    const auto& image = c.images[n] == 'A' ? a : b;
    const std::vector<std::uint8_t> blocks(image.begin(), image.end() - 2);
    EXPECT_TRUE(FileBytes(dir / ("rx" + std::to_string(n + 1) + ".bin")) == blocks)
        << "download " << n + 1 << " is not image " << c.images[n];
  }
}

const char* const prompt = "WARNING next part of firmware downloading will start";
const char* const done = "Firmware download is ready now. Turn the Power off";

INSTANTIATE_TEST_SUITE_P(
    SimulatedUnit, EndToEndScript,
    testing::Values(ScriptCase{"power cycle between two images",
                               "3M",
                               "[f]A\r\n[HR]\r\n[f]B\r\n",
                               {"--power-cycle-after", "300"},
                               0,
                               "VSad}UBBBuUBBu",
                               {prompt, done},
                               {},
                               "AB"},
                    ScriptCase{"a power cycle reported NO, then OK after another",
                               "3M",
                               "[f]A\r\n[HR]\r\n[f]B\r\n",
                               {"--power-cycle-after", "300", "--power-on-report", "NO"},
                               0,
                               "VSad}UBBBuUBBu",
                               {prompt, done},
                               {},
                               "AB"},
                    ScriptCase{"restart the unit does itself",
                               "3M",
                               "[SR]\r\n[f]A\r\n",
                               {},
                               0,
                               "VSad}rUBBBu",
                               {done},
                               {prompt},
                               "A"},
                    ScriptCase{"restart the unit cannot do: the technician's power cycle",
                               "3M",
                               "[SR]\r\n[f]A\r\n",
                               {"--switch-answer", "F", "--power-cycle-after-switch", "1000"},
                               0,
                               "VSad}UBBBu",
                               {prompt, done},
                               {},
                               "A"},
                    ScriptCase{"two text steps in a row",
                               "3M",
                               "[t1]\r\n[t2]\r\n[f]A\r\n",
                               {},
                               0,
                               "VSad}UBBBu",
                               {"one", "two", done},
                               {},
                               "A"},
                    ScriptCase{"a text step, then the end",
                               "3M",
                               "[f]A\r\n[t1]\r\n",
                               {},
                               0,
                               "VSad}UBBBu",
                               {"one", done},
                               {},
                               "A"},
                    ScriptCase{"a line that is no step",
                               "3M",
                               "[f]A\r\n[XR]\r\n[f]B\r\n",
                               {},
                               1,
                               "VSad}UBBBu",
                               {"stops at its line 3, \"[XR]\", which is no step"},
                               {done},
                               "A"},
                    ScriptCase{"a fast display unit at 921600",
                               "6D",
                               "[f]A\r\n",
                               {},
                               0,
                               "VSad}UBBBu",
                               {done},
                               {},
                               "A"}),
    [](const testing::TestParamInfo<ScriptCase>& info) {
      std::string n = info.param.name;
      for (char& ch : n) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return n;
    });

}  // namespace
