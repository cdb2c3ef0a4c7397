#include "batch/file_info.h"

#include <gtest/gtest.h>

#include <sstream>

#include "firmware/image.h"
#include "form_fixture.h"

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// "Name:   value" lines as (name, value), in order; sub-fields keep their indent.
Fields Parse(const std::string& text) {
  Fields fields;
  std::istringstream s(text);
  for (std::string line; std::getline(s, line);) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const auto value = line.find_first_not_of(' ', colon + 1);
    fields.emplace_back(line.substr(0, colon),
                        value == std::string::npos ? "" : line.substr(value));
  }
  return fields;
}

std::string Value(const Fields& fields, const std::string& name, int occurrence = 0) {
  for (const auto& [n, v] : fields) {
    if (n == name && occurrence-- == 0) return v;
  }
  return "<missing " + name + ">";
}

struct ImageCase {
  const char* name;
  const char* file_name;
  const char* version;
  const char* finish_wait;
  int blocks;
  int damage_at;  // offset of a byte to change, or -1
  Fields want;
  bool accepted;
};

TEST(BatchFileInfo, Images) {
  const ImageCase cases[] = {
      {"rs232",
       "3M0100002.fm0",
       "3M0100002",
       "0150",
       5,
       -1,
       {{"Kind", "firmware image (Motormanagement ECU info)"},
        {"Version", "3M0100002"},
        {"Family", "3M (rule 1)"},
        {"Link", "serial port"},
        {"Port kind", "RS232 (com.ini)"},
        {"Baud", "115200"},
        {"Blocks", "5 (blocks 0 to 4, 5120 bytes)"},
        {"Finish wait", "none (no time limit)"},  // only the fast families carry one
        {"Verdict", "accepted"}},
       true},
      {"fast",
       "6M0200001.fm0",
       "6M0200001",
       "0150",
       3,
       -1,
       {{"Family", "6M (rule 3)"},
        {"Port kind", "RS232 over USB (com_2.ini)"},
        {"Baud", "921600"},
        {"Finish wait", "15.0 s"},
        {"Verdict", "accepted"}},
       true},
      {"fast display",
       "8D0100001.fd0",
       "8D0100001",
       "0007",
       2,
       -1,
       {{"Kind", "firmware image (Display info)"},
        {"Family", "8D (rule 2)"},
        {"Port kind", "RS232 (com.ini)"},
        {"Baud", "921600"},
        {"Finish wait", "0.7 s"}},
       true},
      {"hid",
       "5M0100001.fm0",
       "5M0100001",
       "0000",
       2,
       -1,
       {{"Link", "USB HID bridge"}, {"Port kind", "none"}, {"Baud", "none (HID)"}},
       true},
      {"5E is serial",
       "5E0100001.fe0",
       "5E0100001",
       "0000",
       2,
       -1,
       {{"Family", "5E (rule 4)"}, {"Link", "serial port"}},
       true},
      {"unsupported",
       "9Z0100001.fm0",
       "9Z0100001",
       "0000",
       2,
       -1,
       {{"Family", "9Z (not supported)"}, {"Verdict", "refused: the family code is not supported"}},
       false},
      {"damaged",
       "3M0100002.fm0",
       "3M0100002",
       "0000",
       2,
       100,
       {{"Verdict", "refused: the checksum is wrong: the file is damaged"}},
       false},
      {"checksum record's first byte is not summed",
       "3M0100002.fm0",
       "3M0100002",
       "0000",
       2,
       2048,
       {{"Checksum", "ok (0x"}, {"Verdict", "accepted"}},
       true},
      {"finish wait not a number",
       "6M0200001.fm0",
       "6M0200001",
       "01x0",
       2,
       -1,
       {{"Finish wait", "unreadable (bytes 9 to 12 are no whole number)"},
        {"Verdict", "refused: the finish wait cannot be read"}},
       false},
  };
  for (const ImageCase& c : cases) {
    SCOPED_TRACE(c.name);
    FormFixture f;
    const std::string path = f.WriteImage(c.file_name, c.version, c.blocks, c.finish_wait);
    if (c.damage_at >= 0) {
      auto bytes = *firmware::ReadWholeFile(path);
      bytes[static_cast<std::size_t>(c.damage_at)] ^= 0x5A;
      f.WriteFile(c.file_name, bytes);
    }
    std::ostringstream out;
    EXPECT_EQ(batch::PrintFileInfo(path, out), c.accepted) << out.str();
    const Fields fields = Parse(out.str());
    for (const auto& [name, want] : c.want) {
      EXPECT_EQ(Value(fields, name).rfind(want, 0), 0u)
          << name << ": " << Value(fields, name) << "\n"
          << out.str();
    }
  }
}

TEST(BatchFileInfo, ImagesTooSmallOrUnreadable) {
  FormFixture f;
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {{}, "refused: the file cannot be read"},
      {{0x00}, "refused: the file cannot be read"},
      {{0x41, 0x00}, "refused: no 1024 data blocks"},  // nothing summed, so the checksum holds
      {std::vector<std::uint8_t>(1026, 0), "refused: no 1024 data blocks"},
  };
  for (const auto& [bytes, verdict] : cases) {
    SCOPED_TRACE(bytes.size());
    const std::string path = f.WriteFile("small.fm0", bytes);
    std::ostringstream out;
    EXPECT_FALSE(batch::PrintFileInfo(path, out));
    EXPECT_EQ(Value(Parse(out.str()), "Verdict"), verdict) << out.str();
  }
  std::ostringstream out;
  EXPECT_FALSE(batch::PrintFileInfo((f.folder / "absent.fm0").string(), out));
  EXPECT_EQ(Value(Parse(out.str()), "Verdict"), "refused: the file cannot be read");
}

std::vector<std::uint8_t> Text(const std::string& s) {
  return {s.begin(), s.end()};
}

TEST(BatchFileInfo, Scripts) {
  FormFixture f;
  f.WriteImage("3M0100002.fm0", "3M0100002", 2);
  f.WriteImage("6E0200001.fe0", "6E0200001", 3);
  const std::string script = f.WriteFile(
      "3M0_upgrade.fm1",
      Text("[begin1]\r\n[f]3M0100002.fm0\r\n[HR]\r\n[f]6E0200001.fe0\r\n[t12]\r\n[end1]\r\n"
           "[begin2]\r\n3MXXXXXXX\r\n6EXXXXXXX\r\n[begin3]\r\n[t1]Switch off\r\n[end3]"));
  std::ostringstream out;
  EXPECT_TRUE(batch::PrintFileInfo(script, out)) << out.str();
  const Fields fields = Parse(out.str());
  EXPECT_EQ(Value(fields, "Kind"), "download script");
  EXPECT_EQ(Value(fields, "Version"), "3M0_upgrade.fm1");
  EXPECT_EQ(Value(fields, "Steps"),
            "images 2, power cycles 1, restarts 0, texts 1, [end1] present");
  EXPECT_EQ(Value(fields, "Patterns"), "3MXXXXXXX, 6EXXXXXXX");
  EXPECT_EQ(Value(fields, "Image 1"), "3M0100002.fm0");
  EXPECT_EQ(Value(fields, "Image 2"), "6E0200001.fe0");
  EXPECT_EQ(Value(fields, "  Baud", 0), "115200");
  EXPECT_EQ(Value(fields, "  Port kind", 1), "RS232 over USB (com_2.ini)");
  EXPECT_EQ(Value(fields, "  Baud", 1), "921600");
  EXPECT_EQ(Value(fields, "  Finish wait", 1), "none (no time limit)");
  EXPECT_EQ(Value(fields, "  Blocks", 1), "3 (blocks 0 to 2, 3072 bytes)");
  EXPECT_EQ(Value(fields, "  Checksum", 1).rfind("ok", 0), 0u);
  EXPECT_EQ(Value(fields, "Verdict"), "accepted");
  EXPECT_EQ(Value(fields, "Warning"), "<missing Warning>");
  // Without "[begin3]" the text steps show empty panels: accepted, with a warning.
  std::ostringstream plain;
  EXPECT_TRUE(batch::PrintFileInfo(
      f.WriteFile("3M0_plain.fm1",
                  Text("[begin1]\r\n[f]3M0100002.fm0\r\n[t1]\r\n[end1]\r\n[begin2]\r\n")),
      plain));
  EXPECT_EQ(Value(Parse(plain.str()), "Warning"),
            "text steps but no [begin3] line: their panels show no text");
}

TEST(BatchFileInfo, ScriptsRefused) {
  const std::pair<std::string, std::string> cases[] = {
      {"[begin1]\r\n[f]3M0100009.fm0\r\n[end1]\r\n[begin2]\r\n[begin3]\r\n[end3]",
       "refused: 3M0100009.fm0: the file cannot be read"},
      {"[begin1]\r\n[f]9Z0100002.fm0\r\n[end1]\r\n[begin2]\r\n",
       "refused: 9Z0100002.fm0: the family code is not supported"},
      {"begin1\r\n[end1]\r\n[begin2]\r\n",
       "refused: the first line is not [begin1]: the script "
       "is not run"},
      {"[begin1]\r\n[end1]\r\n", "refused: no [begin2] line, or a line without CR LF"},
      {"[begin1]\r\n[end1]\r\n[begin2]\r\n",
       "refused: no [f] line before [begin2]: the script names no firmware file"},
      {"[begin1]\n[end1]\n[begin2]\n", "refused: no [begin2] line, or a line without CR LF"},
  };
  for (const auto& [text, verdict] : cases) {
    SCOPED_TRACE(text);
    FormFixture f;
    f.WriteImage("9Z0100002.fm0", "3M0100002", 2);
    const std::string script = f.WriteFile("upgrade.fm1", Text(text));
    std::ostringstream out;
    EXPECT_FALSE(batch::PrintFileInfo(script, out));
    EXPECT_EQ(Value(Parse(out.str()), "Verdict"), verdict) << out.str();
  }
}

}  // namespace
