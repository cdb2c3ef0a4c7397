#include "batch/options.h"

#include <gtest/gtest.h>

#include "batch/printable.h"

namespace {

using Action = batch::ParsedOptions::Action;

TEST(BatchOptions, WellFormedCommandLines) {
  struct Case {
    std::vector<std::string> args;
    std::string file;
    std::optional<std::string> port;
    bool yes, ignore, info;
    int retries;
    std::optional<int> timeout;
  } cases[] = {
      {{"a.fm0"}, "a.fm0", {}, false, false, false, 0, {}},
      {{"--port", "/dev/ttyUSB0", "a.fm0"}, "a.fm0", "/dev/ttyUSB0", false, false, false, 0, {}},
      {{"a.fm0", "--port=/dev/pts/3"}, "a.fm0", "/dev/pts/3", false, false, false, 0, {}},
      {{"--yes", "--ignore-version", "x.fm1"}, "x.fm1", {}, true, true, false, 0, {}},
      {{"--retries", "3", "--timeout", "60", "f"}, "f", {}, false, false, false, 3, 60},
      {{"--retries=0", "--timeout=1", "f"}, "f", {}, false, false, false, 0, 1},
      {{"--retries", "1000", "f"}, "f", {}, false, false, false, 1000, {}},
      {{"--info", "f"}, "f", {}, false, false, true, 0, {}},
      // After "--" a name that looks like an option is a file.
      {{"--yes", "--", "--odd.fm0"}, "--odd.fm0", {}, true, false, false, 0, {}},
      {{"-"}, "-", {}, false, false, false, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const auto parsed = batch::ParseOptions(c.args);
    ASSERT_EQ(parsed.action, Action::run) << parsed.error;
    EXPECT_EQ(parsed.options.file, c.file);
    EXPECT_EQ(parsed.options.port, c.port);
    EXPECT_EQ(parsed.options.yes, c.yes);
    EXPECT_EQ(parsed.options.ignore_version, c.ignore);
    EXPECT_EQ(parsed.options.info, c.info);
    EXPECT_EQ(parsed.options.retries, c.retries);
    EXPECT_EQ(parsed.options.timeout_s, c.timeout);
  }
}

TEST(BatchOptions, UsageErrorsNameWhatIsWrong) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "no FILE"},
      {{"--yes"}, "no FILE"},
      {{"--verbose", "f"}, "unknown option --verbose"},
      {{"-y", "f"}, "unknown option -y"},
      {{"a.fm0", "b.fm0"}, "more than one FILE"},
      {{"f", "--port"}, "--port needs a value"},
      {{"--port=", "f"}, "--port needs a port name"},
      {{"--port", "a", "--port", "b", "f"}, "--port given twice"},
      {{"--retries", "-1", "f"}, "--retries"},
      {{"--retries", "1001", "f"}, "--retries"},
      {{"--retries", "two", "f"}, "\"two\""},
      {{"--retries", "3x", "f"}, "--retries"},
      {{"--retries", "", "f"}, "--retries"},
      {{"--retries", "99999999999999999999", "f"}, "--retries"},
      {{"--timeout", "0", "f"}, "--timeout"},
      {{"--timeout", "+5", "f"}, "--timeout"},
      {{"--timeout", "1.5", "f"}, "--timeout"},
      {{"--timeout", " 5", "f"}, "--timeout"},
      {{"--yes=1", "f"}, "--yes takes no value"},
      {{"", "f"}, "FILE is empty"},
  };
  for (const auto& [args, part] : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const auto parsed = batch::ParseOptions(args);
    EXPECT_EQ(parsed.action, Action::usage_error);
    EXPECT_NE(parsed.error.find(part), std::string::npos) << parsed.error;
  }
}

TEST(BatchOptions, HelpOrVersionWinsOverEverythingAfterIt) {
  const std::pair<std::vector<std::string>, Action> cases[] = {
      {{"--help"}, Action::help},
      {{"-h"}, Action::help},
      {{"--yes", "--help", "--bogus"}, Action::help},
      {{"--version"}, Action::version},
      {{"--port", "COM3", "--version", "--bogus", "a", "b"}, Action::version},
      {{"--version", "--help"}, Action::version},
  };
  for (const auto& [args, action] : cases) {
    EXPECT_EQ(batch::ParseOptions(args).action, action) << testing::PrintToString(args);
  }
  EXPECT_NE(batch::UsageText().find("--ignore-version"), std::string::npos);
}

TEST(BatchPrintable, ControlAndHighBytesAreEscaped) {
  const std::pair<std::string, std::string> cases[] = {
      {"3M0100002", "3M0100002"},     {std::string("a\0b", 3), "a\\x00b"},
      {"\x1b[2J", "\\x1B[2J"},        {"\x7f\x80\xff", "\\x7F\\x80\\xFF"},
      {"back\\slash", "back\\slash"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(batch::Printable(in), want);
}

TEST(BatchPrintable, OneLineJoinsLineBreaks) {
  const std::pair<std::string, std::string> cases[] = {
      {"firmware download has failed !!!\r\r\nPlease try again",
       "firmware download has failed !!! Please try again"},
      {"Do not edit\r\nuse pulldown menu !!!", "Do not edit use pulldown menu !!!"},
      {"a\nb\rc", "a b c"},
      {"\r\nx\r\n", " x "},
      {"tab\there", "tab\\x09here"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(batch::OneLine(in), want);
}

}  // namespace
