#include "firmware/image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "temp_dir.h"
#include "test_image.h"

namespace {

using firmware::DataBlock;
using firmware::ImageFinishWait;
using firmware::ImageVersion;
using firmware::InspectImage;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST(ImageLayout, SizesGiveRecordsLastBlockAndWholeness) {
  struct Case {
    std::size_t size;
    std::size_t records;
    std::int32_t last_block_nr;
    bool blocks_complete;
  };
  const Case cases[] = {
      {0, 0, 0, false},
      {1, 0, 0, false},
      {2, 1, 0, false},
      {15, 7, 0, false},
      {16, 8, 0, false},
      {1024, 512, 0, true},
      {1026, 513, 0, true},
      {1039, 519, 0, true},
      {1040, 520, 1, false},
      {1041, 520, 1, false},
      {2047, 1023, 1, false},
      {2048, 1024, 1, true},
      {2050, 1025, 1, true},
      {2063, 1031, 1, true},
      {2064, 1032, 2, false},
      {3071, 1535, 2, false},
      {3072, 1536, 2, true},
      {3074, 1537, 2, true},
      {3087, 1543, 2, true},
      {3088, 1544, 3, false},
      {1048578, 524289, 1023, true},
      {1048576 + 16, 524296, 1024, false},
  };
  for (const Case& c : cases) {
    const auto layout = InspectImage(MakeImage(c.size));
    EXPECT_EQ(layout.records, c.records) << "size " << c.size;
    EXPECT_EQ(layout.last_block_nr, c.last_block_nr) << "size " << c.size;
    EXPECT_EQ(layout.blocks_complete, c.blocks_complete) << "size " << c.size;
  }
}

TEST(ImageChecksum, OnlyBytesBeforeTheLastRecordCount) {
  struct Case {
    const char* what;
    std::size_t size;
    std::ptrdiff_t changed;  // offset of a byte changed after the checksum was set, or -1
    bool ok;
  };
  const Case cases[] = {
      {"untouched", 2050, -1, true},
      {"first byte of the last record", 2050, 2048, true},
      {"first byte", 2050, 0, false},
      {"last summed byte", 2050, 2047, false},
      {"checksum byte", 2050, 2049, false},
      {"odd size, untouched", 2051, -1, true},
      {"odd size, the last byte", 2051, 2050, true},
      {"odd size, the checksum before it", 2051, 2049, false},
      {"whole blocks only: checksum is the block's last byte", 2048, -1, true},
      {"whole blocks only, byte 2046", 2048, 2046, true},
      {"whole blocks only, byte 2045", 2048, 2045, false},
  };
  for (const Case& c : cases) {
    auto bytes = MakeImage(c.size);
    if (c.changed >= 0) bytes[static_cast<std::size_t>(c.changed)] ^= 0x5A;
    EXPECT_EQ(InspectImage(bytes).checksum_ok, c.ok) << c.what;
  }
}

TEST(ImageChecksum, TinyFilesSumNothing) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    bool ok;
    std::uint8_t stored;
  };
  const Case cases[] = {
      {{}, false, 0},
      {{0x00}, false, 0},
      {{0x77, 0x00}, true, 0},
      {{0x77, 0x05}, false, 5},
      {{0x77, 0x00, 0x09}, true, 0},
      {{0x00, 0x01, 0x00}, false, 1},
  };
  for (const Case& c : cases) {
    const auto layout = InspectImage(c.bytes);
    EXPECT_EQ(layout.checksum_ok, c.ok) << "size " << c.bytes.size();
    EXPECT_EQ(layout.checksum_stored, c.stored) << "size " << c.bytes.size();
    EXPECT_EQ(layout.checksum_summed, 0) << "size " << c.bytes.size();
  }
}

TEST(ImageChecksum, SumWrapsModulo256) {
  std::vector<std::uint8_t> bytes(2050, 0xFF);
  bytes[2049] = static_cast<std::uint8_t>(2048 * 0xFF % 256);
  const auto layout = InspectImage(bytes);
  EXPECT_EQ(layout.checksum_summed, 0x00);
  EXPECT_TRUE(layout.checksum_ok);
}

TEST(ImageVersion, FirstNineBytes) {
  EXPECT_EQ(ImageVersion(Bytes("6MA123456015")), "6MA123456");
  EXPECT_EQ(ImageVersion(Bytes("3MB12")), "3MB12");
  EXPECT_EQ(ImageVersion({}), "");
  const auto with_zero =
      ImageVersion(std::vector<std::uint8_t>{'5', 'M', 0, 'x', 'x', 'x', 'x', 'x', 'x', 'y'});
  EXPECT_EQ(with_zero, std::string("5M\0xxxxxx", 9));
}

TEST(ImageFinishWait, FourCharactersAsDecimalInteger) {
  struct Case {
    std::string file;
    std::optional<std::int32_t> wait;
  };
  const Case cases[] = {
      {"6MA1234560150", 150},
      {"6MA1234569999", 9999},
      {"6MA1234560000", 0},
      {"6MA123456  42", 42},
      {"6MA123456+150", 150},
      {"6MA123456 +15", 15},
      {"6MA1234560150xyz", 150},
      {"6MA123456-150", std::nullopt},
      {"6MA123456    ", std::nullopt},
      {"6MA123456150 ", std::nullopt},
      {"6MA12345615 0", std::nullopt},
      {"6MA123456abcd", std::nullopt},
      {"6MA12345601a0", std::nullopt},
      {"6MA123456+ 15", std::nullopt},
      {"6MA123456   +", std::nullopt},
      {"6MA123456++15", std::nullopt},
      {"6MA123456015", std::nullopt},
      {std::string("6MA123456\0\0\0\0", 13), std::nullopt},
      {std::string("6MA12345615\0\0", 13), std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImageFinishWait(Bytes(c.file)), c.wait) << "file \"" << c.file << "\"";
  }
}

TEST(ImageDataBlock, WholeBlocksOnlyAndNeverOutside) {
  const auto bytes = MakeImage(2064);  // L = 2, but block 2 holds only 16 bytes
  struct Case {
    std::int32_t n;
    bool held;
  };
  const Case cases[] = {{-1, false},
                        {0, true},
                        {1, true},
                        {2, false},
                        {3, false},
                        {std::numeric_limits<std::int32_t>::max(), false},
                        {std::numeric_limits<std::int32_t>::min(), false}};
  for (const Case& c : cases) {
    const auto block = DataBlock(bytes, c.n);
    if (!c.held) {
      EXPECT_TRUE(block.empty()) << "block " << c.n;
      continue;
    }
    ASSERT_EQ(block.size(), firmware::block_size) << "block " << c.n;
    EXPECT_EQ(block.data(), bytes.data() + c.n * 1024) << "block " << c.n;
  }
  EXPECT_TRUE(DataBlock({}, 0).empty());
}

TEST(ReadWholeFile, ReadsEveryByteOrNothing) {
  TempDir dir;
  const auto image = MakeImage(1048578);
  EXPECT_EQ(firmware::ReadWholeFile(dir.write("image.bin", image)), image);

  const auto none = firmware::ReadWholeFile(dir.write("empty.bin", ""));
  ASSERT_TRUE(none.has_value());
  EXPECT_TRUE(none->empty());

  EXPECT_FALSE(firmware::ReadWholeFile(dir / "missing.bin").has_value());
  EXPECT_FALSE(firmware::ReadWholeFile(dir.path()));
  EXPECT_FALSE(firmware::ReadWholeFile("/dev/null").has_value());
}

TEST(ReadWholeFile, RefusesFilesBeyondTheLimit) {
  TempDir dir;
  const std::string path = dir.write("large.bin", "");
  std::filesystem::resize_file(path, firmware::max_file_size + 1);
  EXPECT_FALSE(firmware::ReadWholeFile(path).has_value());
  std::filesystem::resize_file(path, 3);
  EXPECT_EQ(firmware::ReadWholeFile(path), std::vector<std::uint8_t>(3, 0));
}

}  // namespace
