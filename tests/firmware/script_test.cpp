#include "firmware/script.h"

#include <gtest/gtest.h>

namespace {

using firmware::ClassifyStep;
using firmware::MatchVersionPattern;
using firmware::ParseScript;
using firmware::ScriptLines;
using firmware::StepKind;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

std::vector<std::string> Texts(std::string_view file) {
  std::vector<std::string> texts;
  for (const auto& line : ScriptLines(Bytes(file))) texts.push_back(line.text);
  return texts;
}

TEST(ScriptLines, LinesEndAtCrAndTheNextByteIsSkippedUnseen) {
  struct Case {
    std::string file;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"[begin1]\r\n[end1]\r\n", {"[begin1]", "[end1]"}},
      {"[begin1]\n[end1]\n", {"[begin1]\n[end1]\n"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rXb\r\n", {"a", "b"}},
      {"a\r\r\rb", {"a", ""}},
      {"[begin3]\r\n[t1]x\r\n[end3]", {"[begin3]", "[t1]x", "[end3]"}},
      {"a\r", {"a"}},
      {"\r\n", {""}},
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Texts(c.file), c.lines) << "file \"" << c.file << "\"";
  }
}

TEST(ScriptLines, OffsetsTileTheFile) {
  const auto bytes = Bytes("[begin1]\r\n[f]6M.fm0\r\nlast");
  const auto lines = ScriptLines(bytes);
  ASSERT_EQ(lines.size(), 3u);
  const std::size_t offsets[] = {0, 10, 21};
  const std::size_t nexts[] = {10, 21, 25};
  const bool ended[] = {true, true, false};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].offset, offsets[i]) << "line " << i;
    EXPECT_EQ(lines[i].next, nexts[i]) << "line " << i;
    EXPECT_EQ(lines[i].ended, ended[i]) << "line " << i;
  }
  EXPECT_FALSE(firmware::ReadScriptLine(bytes, 25).has_value());
  EXPECT_FALSE(firmware::ReadScriptLine(bytes, 1000).has_value());
  EXPECT_EQ(firmware::ReadScriptLine(bytes, 3)->text, "gin1]");
}

TEST(ScriptSteps, ClassifiedInOrder) {
  struct Case {
    std::string line;
    StepKind kind;
    std::string detail;  // image name or text groups
  };
  const Case cases[] = {
      {"[f]6MA12.fm0", StepKind::image, "6MA12.fm0"},
      {"[f]sub\\4MB 1.fm0", StepKind::image, "sub\\4MB 1.fm0"},
      {"[f]a\rb\r", StepKind::image, "ab"},
      {"[f]", StepKind::image, ""},
      {"[f][HR]", StepKind::image, "[HR]"},
      {"[HR]", StepKind::power_cycle, ""},
      {"[HR] now", StepKind::power_cycle, ""},
      {"[SR]", StepKind::restart, ""},
      {"[t1]", StepKind::text, "1"},
      {"[t21]", StepKind::text, "21"},
      {"[t3,3]", StepKind::text, "33"},
      {"[t1]2", StepKind::text, "1"},
      {"[t12", StepKind::text, "12"},
      {"[t]", StepKind::text, ""},
      {"[end1]", StepKind::end, ""},
      {"[end1] ", StepKind::other, ""},
      {"[hr]", StepKind::other, ""},
      {"[HR", StepKind::other, ""},
      {"[F]x", StepKind::other, ""},
      {"", StepKind::other, ""},
      {"[begin2]", StepKind::other, ""},
  };
  for (const Case& c : cases) {
    const auto step = ClassifyStep(c.line);
    EXPECT_EQ(step.kind, c.kind) << "line \"" << c.line << "\"";
    const auto& detail = c.kind == StepKind::image ? step.image_name : step.groups;
    EXPECT_EQ(detail, c.detail) << "line \"" << c.line << "\"";
  }
}

constexpr std::string_view full_script =
    "[begin1]\r\n"
    "[f]6MA10.fm0\r\n"
    "[HR]\r\n"
    "[t21]\r\n"
    "[f]6MA11.fm0\r\n"
    "[end1]\r\n"
    "[f]never.fm0\r\n"
    "[begin2]\r\n"
    "6MXXXXXXX\r\n"
    "4MA1XXXXX\r\n"
    "[begin3]\r\n"
    "[t1]Switch the power off\r\n"
    "not a text\r\n"
    "[t2]first of two\r\n"
    "[t1]and on again\r\n"
    "[t2]\r\n"
    "[t3\r\n"
    "[tx]ignored\r\n"
    "[t2x second\r\n"
    "[end3]\r\n"
    "[t4]after the end\r\n";

TEST(ScriptParse, SectionsOfAWholeScript) {
  const auto script = ParseScript(Bytes(full_script));
  EXPECT_TRUE(script.begins);
  std::vector<std::string> steps;
  for (const auto& line : script.steps) steps.push_back(line.text);
  EXPECT_EQ(steps,
            (std::vector<std::string>{"[f]6MA10.fm0", "[HR]", "[t21]", "[f]6MA11.fm0", "[end1]"}));
  EXPECT_EQ(script.steps.front().offset, 10u);
  EXPECT_TRUE(script.has_begin2);
  EXPECT_TRUE(script.has_begin3);
  EXPECT_TRUE(script.has_end3);
  EXPECT_EQ(script.patterns, (std::vector<std::string>{"6MXXXXXXX", "4MA1XXXXX"}));
  using Group = std::vector<std::string>;
  EXPECT_EQ(script.text_groups[1], (Group{"Switch the power off", "and on again"}));
  EXPECT_EQ(script.text_groups[2], (Group{"first of two", "", " second"}));
  EXPECT_EQ(script.text_groups[3], (Group{""}));
  EXPECT_TRUE(script.text_groups[4].empty());
  EXPECT_TRUE(script.text_groups[0].empty());
}

TEST(ScriptParse, MarkersMissingOrOutOfShape) {
  struct Case {
    std::string file;
    bool begins;
    std::size_t steps;
    bool begin2;
    std::size_t patterns;
    bool begin3;
    bool end3;
  };
  const Case cases[] = {
      {"", false, 0, false, 0, false, false},
      {"[begin1]", true, 0, false, 0, false, false},
      {"[begin1]\r\n[begin2]\r\n", true, 1, true, 0, false, false},
      {" [begin1]\r\n[end1]\r\n[begin2]\r\nXXXXXXXXX\r\n", false, 0, true, 1, false, false},
      {"[begin1]\n[end1]\n[begin2]\n[begin3]\n[end3]", false, 0, false, 0, false, false},
      {"[begin1]\r\n[end1]\r\n[begin2]\r\n[begin3]\r\n[end3]", true, 1, true, 0, true, true},
      {"[begin1]\r\n[end1]\r\n[begin2]\r\nA\r\n[begin3]\r\n[end3]\r\n", true, 1, true, 1, true,
       true},
      {"[begin1]\r\n[end1]\r\n[begin2]\r\nA\r\nB\r\n[begin3]\r\n[t1]a", true, 1, true, 2, true,
       false},
  };
  for (const Case& c : cases) {
    const auto script = ParseScript(Bytes(c.file));
    const std::string what = "file \"" + c.file + "\"";
    EXPECT_EQ(script.begins, c.begins) << what;
    EXPECT_EQ(script.steps.size(), c.steps) << what;
    EXPECT_EQ(script.has_begin2, c.begin2) << what;
    EXPECT_EQ(script.patterns.size(), c.patterns) << what;
    EXPECT_EQ(script.has_begin3, c.begin3) << what;
    EXPECT_EQ(script.has_end3, c.end3) << what;
  }
}

TEST(VersionPattern, NinePositionsWithUpperCaseXAsWildcard) {
  struct Case {
    std::string pattern;
    std::string version;
    bool match;
  };
  const Case cases[] = {
      {"6MXXXXXXX", "6MA123456", true},
      {"6MXXXXXXX", "6M0000000", true},
      {"6MXXXXXXX", "6MA1234567890", true},
      {"6MXXXXXXX", "6EA123456", false},
      {"6MXXXXXXX", "8MA123456", false},
      {"XXXXXXXXX", "anything!", true},
      {"5MAXXXXXX", "5MA100200", true},
      {"5MAXXXXXX", "5MB100200", false},
      {"6MA12345X", "6MA123459", true},
      {"6MA12345X", "6MA123449", false},
      {"6Mxxxxxxx", "6MA123456", false},
      {"6Mxxxxxxx", "6Mxxxxxxx", true},
      {"6MXXXXXXX", "6MA12345", false},
      {"6MXXXXXX", "6MA123456", false},
      {"XXXXXXXXX", "", false},
      {"", "6MA123456", false},
      {"6MA123456 trailing", "6MA123456", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchVersionPattern(c.pattern, c.version), c.match)
        << "pattern \"" << c.pattern << "\" version \"" << c.version << "\"";
  }
}

}  // namespace
