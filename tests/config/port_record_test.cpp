#include "config/port_record.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "temp_dir.h"

namespace {

using config::MakePortRecord;
using config::ParsePortRecord;
using config::ReadPortFile;
using config::WritePortFile;

std::vector<std::uint8_t> Record(std::uint8_t length, std::string_view name,
                                 std::size_t size = 21) {
  std::vector<std::uint8_t> bytes(size, 0xEE);
  if (size > 0) bytes[0] = length;
  for (std::size_t i = 0; i < name.size() && i + 1 < size; ++i) {
    bytes[i + 1] = static_cast<std::uint8_t>(name[i]);
  }
  return bytes;
}

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool Writable(const std::string& path) {
  return std::ofstream(path, std::ios::app).is_open();
}

TEST(PortRecord, FirstRecordOnly) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::optional<std::string> name;
  };
  const Case cases[] = {
      {"empty file", {}, std::nullopt},
      {"5 bytes", Record(4, "COM1", 5), std::nullopt},
      {"20 bytes", Record(4, "COM1", 20), std::nullopt},
      {"default record", Record(4, "COM1"), "COM1"},
      {"bytes behind the name ignored", Record(3, "COM12"), "COM"},
      {"length 0", Record(0, "COM1"), ""},
      {"length 20", Record(20, "12345678901234567890"), "12345678901234567890"},
      {"length 21", Record(21, "12345678901234567890"), std::nullopt},
      {"length 255", Record(255, "COM1"), std::nullopt},
      {"42 bytes", Concat(Record(5, "COM12"), Record(4, "COM7")), "COM12"},
      {"22 bytes", Record(4, "COM9", 22), "COM9"},
      {"8-bit name", Record(2, "\xE9\x01"), "\xE9\x01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParsePortRecord(c.bytes), c.name) << c.what;
  }
}

TEST(PortRecord, MadeRecordsCutAt20AndPadWithZero) {
  struct Case {
    std::string name;
    std::string kept;
  };
  const Case cases[] = {
      {"COM1", "COM1"},
      {"", ""},
      {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"12345678901234567890", "12345678901234567890"},
      {"1234567890123456789012345", "12345678901234567890"},
  };
  for (const Case& c : cases) {
    const auto record = MakePortRecord(c.name);
    EXPECT_EQ(record[0], c.kept.size()) << c.name;
    const std::string name(record.begin() + 1, record.begin() + 1 + c.kept.size());
    EXPECT_EQ(name, c.kept);
    for (std::size_t i = 1 + c.kept.size(); i < record.size(); ++i) {
      EXPECT_EQ(record[i], 0) << c.name << " byte " << i;
    }
    EXPECT_EQ(ParsePortRecord(record), c.kept);
  }
}

TEST(PortFile, WrittenAsOneRecordThatReadsBack) {
  TempDir dir;
  const std::string file = dir.write("com.ini", std::vector<std::uint8_t>(100, 0x33));
  ASSERT_TRUE(WritePortFile(file, "COM12"));
  EXPECT_EQ(std::filesystem::file_size(file), 21u);
  EXPECT_EQ(ReadPortFile(file), "COM12");

  ASSERT_TRUE(WritePortFile(file, "ABCDEFGHIJKLMNOPQRSTUVWXY"));
  EXPECT_EQ(std::filesystem::file_size(file), 21u);
  EXPECT_EQ(ReadPortFile(file), "ABCDEFGHIJKLMNOPQRST");

  const std::string fresh = dir / "com_2.ini";
  ASSERT_TRUE(WritePortFile(fresh, "COM1"));
  EXPECT_EQ(ReadPortFile(fresh), "COM1");
}

TEST(PortFile, ShortMissingOrForeignFilesAreUnreadable) {
  // The fuzzer's starting files are port files as the program finds them.
  const std::pair<const char*, std::optional<std::string>> corpus[] = {
      // Not "com1.ini": on Windows that name is the port COM1.
      {"one_record.ini", "COM1"},
      {"five_bytes.ini", std::nullopt},
      {"long_length.ini", std::nullopt},
      {"two_records.ini", "COM12"},
  };
  for (const auto& [name, port] : corpus) {
    EXPECT_EQ(ReadPortFile(std::string(ZEK_FUZZ_CORPUS "/port_record/") + name), port) << name;
  }

  TempDir dir;
  const std::string missing = dir / "missing";
  EXPECT_EQ(ReadPortFile(missing), std::nullopt);
  EXPECT_EQ(ReadPortFile(dir.path()), std::nullopt);
  EXPECT_EQ(ReadPortFile("/dev/zero"), std::nullopt);

  EXPECT_FALSE(WritePortFile(missing + "/com.ini", "COM1"));
}

// A file that may be read but not written. Mode bits do not stop the superuser,
// so for it the file is made immutable as well.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::string path) : path_(std::move(path)) {
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
    if (Writable(path_)) immutable_ = Chattr("+i");
  }
  ~ReadOnlyFile() {
    if (immutable_) Chattr("-i");
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

 private:
  bool Chattr(const char* flag) const {
    const std::string command = std::string("chattr ") + flag + " '" + path_ + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
  }

  std::string path_;
  bool immutable_ = false;
};

TEST(PortFile, ReadOnlyFileReadsFine) {
  TempDir dir;
  const std::string file = dir / "com.ini";
  ASSERT_TRUE(WritePortFile(file, "COM5"));
  ReadOnlyFile read_only(file);
  if (Writable(file)) GTEST_SKIP() << "cannot make a file unwritable here";
  EXPECT_EQ(ReadPortFile(file), "COM5");
  EXPECT_FALSE(WritePortFile(file, "COM6"));
  EXPECT_EQ(ReadPortFile(file), "COM5");
}

}  // namespace
