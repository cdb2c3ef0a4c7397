#include "download/protocol.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/checksum.h"
#include "state_printing.h"
#include "test_image.h"

namespace {

using download::Bytes;

TEST(Protocol, ChecksumIsTheSumModulo256) {
  const std::pair<Bytes, std::uint8_t> cases[] = {
      {Text("abc"), 0x26}, {{}, 0x00}, {{0xFF, 0x01}, 0x00}, {{0x80, 0x80, 0x01}, 0x01}};
  for (const auto& [bytes, sum] : cases) EXPECT_EQ(core::Checksum(bytes), sum);
}

TEST(Protocol, RequestsByteForByte) {
  const Bytes access = download::AccessRequest();
  ASSERT_EQ(access.size(), 6u);
  EXPECT_EQ(access[0], 'a');
  EXPECT_EQ(access[5], SumOf(std::span(access).first(5)));

  const std::pair<Bytes, Bytes> cases[] = {
      {download::VersionRequest(), Text("V")},
      {download::SerialRequest(), Text("S")},
      {download::PrepareRequest(), Text("W")},
      {download::StatusRequest(), Text("d")},
      {download::StartRequest("123456"), Text("U123456")},
      {download::FinishRequest("123456"), Text("u123456")},
      {download::StartRequest(""), Text("U")},
      {download::SwitchRequest(), Bytes{0x7D, 0x7D}},
      {download::RestartRequest(), Bytes{0x72, 0x72}},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(Protocol, BlockFrameCarriesNumberModulo256AndChecksum) {
  std::array<std::uint8_t, 1024> data{};
  std::iota(data.begin(), data.end(), 0);  // 0, 1, ... 255, 0, ...
  const struct {
    std::int32_t block;
    std::uint8_t number;
  } cases[] = {{0, 0}, {1, 1}, {255, 255}, {256, 0}, {300, 44}};
  for (const auto& c : cases) {
    const Bytes f = download::BlockFrame(c.block, data);
    ASSERT_EQ(f.size(), 1027u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], c.number) << c.block;
    EXPECT_TRUE(std::equal(data.begin(), data.end(), f.begin() + 2));
    EXPECT_EQ(f[1026], SumOf(std::span(f).first(1026)));
  }
}

TEST(Protocol, MinimumReplyLengths) {
  using S = CommState;
  const struct {
    CommState state;
    bool fast;
    int min;
  } cases[] = {{S::probe, false, 11},
               {S::version, false, 11},
               {S::serial_number, false, 8},
               {S::prepare, false, 4},
               {S::access, false, 4},
               {S::status, false, 56},
               {S::status, true, 72},
               {S::status_after_switch, false, 56},
               {S::status_after_switch, true, 72},
               {S::start, false, 4},
               {S::block, true, 4},
               {S::finish, false, 4},
               {S::switch_request, false, 4},
               {S::restart, false, 4},
               {S::script_step, false, 0},
               {S::idle, false, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(download::MinimumReplyLength(c.state, c.fast), c.min) << c.state;
  }
}

TEST(Protocol, ReplyFields) {
  const Bytes v = Text("V3M0100001x");
  EXPECT_EQ(download::PayloadText(v), "3M0100001");
  EXPECT_EQ(download::Status(Text("BOK\x1b")), "OK");
  EXPECT_EQ(download::Status(Text("B")), "");
  EXPECT_EQ(download::Word(Bytes{'a', 0x01, 0x2C, 0}, 2), 300u);
  EXPECT_EQ(download::Word(Bytes{'a', 0x01}, 2), 0u) << "too short: no read past the end";
  EXPECT_TRUE(download::ChecksumHolds(Bytes{'a', 0x00, 0x03, 'a' + 3}));
  EXPECT_FALSE(download::ChecksumHolds(Bytes{'a', 0x00, 0x03, 0}));
  EXPECT_FALSE(download::ChecksumHolds(Bytes{}));

  Bytes status(56, 0);
  status[1] = 0x00;
  status[2] = 0x01;
  status[13] = 0x00;
  status[14] = 12;
  EXPECT_EQ(download::EngineSpeed(status), 10);
  EXPECT_EQ(download::BatteryRaw(status), 12u);
  const std::pair<unsigned, bool> battery[] = {{0, false}, {12, false}, {13, true}, {56, true}};
  for (auto [raw, ok] : battery) EXPECT_EQ(download::BatteryHighEnough(raw), ok) << raw;
}

}  // namespace
