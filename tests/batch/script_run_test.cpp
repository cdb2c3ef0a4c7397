#include <gtest/gtest.h>

#include "batch_bench.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::vector<std::uint8_t> Text(const std::string& s) {
  return {s.begin(), s.end()};
}

// A script of two images with a text for the user and a power cycle between them.
std::string WriteScript(BatchBench& b) {
  b.WriteImage("3M0100002.fm0", "3M0100002", 2);
  b.WriteImage("3M0100003.fm0", "3M0100003", 3);
  return b.WriteFile("3M0_two_parts.fm1",
                     Text("[begin1]\r\n[f]3M0100002.fm0\r\n[t1]\r\n[HR]\r\n[f]3M0100003.fm0\r\n"
                          "[end1]\r\n[begin2]\r\n3MXXXXXXX\r\n[begin3]\r\n"
                          "[t1]Switch the power off and on\r\n[t1]when the lamp blinks\r\n"
                          "[end3]"));
}

// The unit's first report after the power cycle says NO: the prompt stays, the
// technician switches again, and the next report's OK goes on.
TEST(BatchScriptRun, AllStagesToTheFinalMessage) {
  BatchBench b;
  b.reports = {"NO"};
  const std::string script = WriteScript(b);
  EXPECT_EQ(b.Run({"--port", "COM1", "--yes", script}), 0) << b.err.str() << b.out.str();
  EXPECT_EQ(b.UnitLetters().substr(0, 10), "VSad}UBBuU") << b.UnitLetters();
  EXPECT_EQ(b.Count('B'), 5);
  EXPECT_EQ(b.unit.received.size(), 5u * 1024);
  const std::string out = b.out.str();
  for (const char* line : {
           "File info: Version info: 3M0_two_parts.fm1",
           "> Download",
           "Switch the power off and on",
           "when the lamp blinks",
           "> Ok",
           "WARNING next part of firmware downloading will start",
           "Firmware download is ready now. Turn the Power off",
       }) {
    EXPECT_TRUE(HasLine(out, line)) << line << "\n" << out;
  }
  EXPECT_EQ(Lines(out).back(), "> Ok");
  // Each image has a gauge of its own, and each is followed to its end.
  int gauges = 0, ends = 0;
  for (const auto& line : Lines(out)) {
    gauges += line == "Down-loading firmware";
    ends += line.rfind("100 %", 0) == 0;
  }
  EXPECT_EQ(gauges, 2);
  EXPECT_EQ(ends, 2);
}

TEST(BatchScriptRun, TheTextPanelWaitsForAnAnswer) {
  struct Case {
    bool terminal;
    const char* typed;
    int status;
  } cases[] = {
      {true, "y\ny\n", 0}, {true, "y\nn\n", 1}, {true, "y\n", 1},  // input ends at the text panel
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    BatchBench b;
    b.in_is_terminal = c.terminal;
    b.in.str(c.typed);
    const std::string script = WriteScript(b);
    EXPECT_EQ(b.Run({"--port", "COM1", script}), c.status) << b.err.str();
    EXPECT_TRUE(Contains(b.out.str(), "Press Ok [y/n] ")) << b.out.str();
    if (c.status != 0) {
      EXPECT_EQ(b.Count('B'), 2);
      EXPECT_TRUE(Contains(b.err.str(), "waits for Ok")) << b.err.str();
    }
  }
}

// Lines that follow one another on stdout in this order (others may come between).
bool InOrder(const std::string& text, const std::vector<std::string>& wanted) {
  std::size_t next = 0;
  for (const auto& line : Lines(text)) {
    if (next < wanted.size() && line == wanted[next]) ++next;
  }
  return next == wanted.size();
}

// Every panel is answered however it came up, also inside the handler of the
// button just pressed, and the run ends by itself once nothing more can happen;
// a unit that reports NO after every power cycle keeps it waiting to --timeout.
TEST(BatchScriptRun, AnswersEveryPanelAndEndsWhenNothingMoreCanHappen) {
  const std::string done = "Firmware download is ready now. Turn the Power off";
  const struct {
    std::string steps;
    int status;
    std::vector<std::string> lines;  // on stdout, in order
    std::string err;                 // part of stderr
  } cases[] = {
      {"[f]3M0100002.fm0\r\n[t1]\r\n[end1]\r\n", 0, {"> Download", "one", "> Ok", done}, ""},
      {"[f]3M0100002.fm0\r\n[t1]\r\n[t2]\r\n[end1]\r\n",
       0,
       {"one", "> Ok", "two", "> Ok", done},
       ""},
      {"[f]3M0100002.fm0\r\n[t1]\r\n[t1]\r\n[end1]\r\n",
       0,
       {"one", "> Ok", "one", "> Ok", done},
       ""},
      {"[f]3M0100002.fm0\r\n[XR]\r\n[end1]\r\n",
       1,
       {"> Download"},
       "the download script stops at its line 3, \"[XR]\", which is no step"},
      {"[f]3M0100002.fm0\r\n[HR]\r\n[end1]\r\n",
       1,
       {"> Download", "WARNING next part of firmware downloading will start"},
       "gave up after 60 s (--timeout) waiting for the unit on COM1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    BatchBench b;
    b.unit.restart_status = "NO";
    b.WriteImage("3M0100002.fm0", "3M0100002", 2);
    const std::string script = b.WriteText(
        "3M0_x.fm1", "[begin1]\r\n" + c.steps +
                         "[begin2]\r\n3MXXXXXXX\r\n[begin3]\r\n[t1]one\r\n[t2]two\r\n[end3]");
    EXPECT_EQ(b.Run({"--port", "COM1", "--yes", "--timeout", "60", script}), c.status);
    EXPECT_EQ(b.UnitLetters(), "VSad}UBBu");
    EXPECT_TRUE(InOrder(b.out.str(), c.lines)) << b.out.str();
    EXPECT_TRUE(Contains(b.err.str(), c.err)) << b.err.str();
  }
}

}  // namespace
