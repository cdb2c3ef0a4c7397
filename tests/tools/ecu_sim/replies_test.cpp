// Replies byte for byte, with and without the faults asked for.
#include <gtest/gtest.h>

#include "far_end.h"
#include "sim_process.h"

namespace ecu_sim_test {
namespace {

constexpr int kReplyTimeoutMs = 1000;
constexpr int kQuietAfterMs = 30;

Bytes AccessRequest(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  return WithChecksum(Bytes{'a', a, b, c, d});
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One exchange: send `request` (if any); nothing may arrive for `quiet_ms`; then
// exactly `expected` must arrive.
struct Step {
  Bytes request;
  Bytes expected;
  int quiet_ms = 0;
};

struct ExchangeCase {
  const char* name;
  std::vector<std::string> args;
  std::vector<Step> steps;
  LineSetup line{B115200};
};

void RunExchange(const ExchangeCase& c) {
  SCOPED_TRACE(c.name);
  SimProcess sim(c.args);
  ASSERT_FALSE(sim.path().empty());
  FarEnd far(sim.path(), c.line);
  ASSERT_TRUE(far.ok());
  for (std::size_t i = 0; i < c.steps.size(); ++i) {
    const Step& step = c.steps[i];
    SCOPED_TRACE("step " + std::to_string(i + 1));
    if (!step.request.empty()) {
      ASSERT_TRUE(far.Write(step.request));
    }
    if (step.quiet_ms > 0) {
      EXPECT_EQ(Hex(far.Read(1, step.quiet_ms)), "");
    }
    EXPECT_EQ(Hex(far.Read(step.expected.size(), kReplyTimeoutMs)), Hex(step.expected));
  }
  EXPECT_EQ(Hex(far.Read(1, kQuietAfterMs)), "") << "bytes after the last reply";
}

TEST(EcuSimReplies, AnswersEachRequestByteForByte) {
  const std::vector<ExchangeCase> cases{
      {"version", {}, {{Text("V"), WithChecksum("V3M0100001")}}},
      {"version text", {"--version", "4M0200007"}, {{Text("V"), WithChecksum("V4M0200007")}}},
      {"serial", {"--serial", "654321"}, {{Text("S"), WithChecksum("S654321")}}},
      {"access level",
       {"--access-level", "3"},
       {{AccessRequest(9, 8, 7, 6), WithChecksum(Bytes{'a', 0, 3})}}},
      {"access level big-endian",
       {"--access-level", "4660"},
       {{AccessRequest(9, 8, 7, 6), WithChecksum(Bytes{'a', 0x12, 0x34})}}},
      {"access code accepted",
       {"--access-code", "0A0B0C0D"},
       {{AccessRequest(10, 11, 12, 13), WithChecksum(Bytes{'a', 0, 1})}}},
      {"access code refused",
       {"--access-code", "0A0B0C0D"},
       {{AccessRequest(10, 11, 12, 14), WithChecksum(Bytes{'a', 0xFF, 0xFF})}}},
      {"access request with a bad checksum",
       {},
       {{Bytes{'a', 1, 2, 3, 4, 0}, {}, 100}, {Text("V"), WithChecksum("V3M0100001")}}},
      {"prepare", {}, {{Text("W"), WithChecksum("WOK")}}},
      {"start", {}, {{Text("U123456"), WithChecksum("UOK")}}},
      {"start with another serial", {}, {{Text("U123457"), WithChecksum("UNO")}}},
      {"start refused", {"--start-status", "NO"}, {{Text("U123456"), WithChecksum("UNO")}}},
      {"switch confirmed", {}, {{Text("}}"), WithChecksum("}OK")}}},
      {"switch answered F", {"--switch-answer", "F"}, {{Text("}}"), Text("F")}}},
      {"switch unanswered",
       {"--switch-answer", "none"},
       {{Text("}}"), {}, 150}, {Text("W"), WithChecksum("WOK")}}},
      {"restart", {}, {{Text("rr"), WithChecksum("rOK")}}},
      {"noise before a request",
       {},
       {{Text("x}xr"), {}, 100}, {Text("S"), WithChecksum("S123456")}}},
      {"fast unit at 921600",
       {"--version", "8E0100001"},
       {{Text("V"), WithChecksum("V8E0100001")}},
       {B921600}},
  };
  for (const ExchangeCase& c : cases) RunExchange(c);
}

TEST(EcuSimReplies, FaultsHitTheKthRequestOfTheirKind) {
  const Bytes version = WithChecksum("V3M0100001");
  const Bytes serial = WithChecksum("S123456");
  Bytes bad_serial = serial;
  bad_serial.back() ^= 0xFF;
  const std::vector<ExchangeCase> cases{
      {"drop", {"--drop", "V:1"}, {{Text("V"), {}, 150}, {Text("V"), version}}},
      {"drop the second only",
       {"--drop", "version:2"},
       {{Text("V"), version}, {Text("V"), {}, 150}, {Text("V"), version}}},
      {"split",
       {"--split", "V:1:6:250"},
       {{Text("V"), Bytes(version.begin(), version.begin() + 6)},
        {{}, Bytes(version.begin() + 6, version.end()), 120}}},
      {"delay", {"--delay", "S:1:300"}, {{Text("S"), serial, 200}}},
      {"corrupt", {"--corrupt", "S:1"}, {{Text("S"), bad_serial}, {Text("S"), serial}}},
      {"stray byte first",
       {"--stray-byte"},
       {{Text("S"), Concat(Text("x"), serial)}, {Text("V"), version}}},
      {"stray before the second",
       {"--stray", "S:2"},
       {{Text("S"), serial}, {Text("S"), Concat(Text("x"), serial)}}},
      {"busy finish",
       {"--busy", "2"},
       {{Text("U123456"), WithChecksum("UOK")},
        {Text("u123456"), WithChecksum("uwK")},
        {Text("u123456"), WithChecksum("uwK")},
        {Text("u123456"), WithChecksum("uOK")}}},
      {"answer replaces a status",
       {"--answer", "u:1:NO"},
       {{Text("U123456"), WithChecksum("UOK")},
        {Text("u123456"), WithChecksum("uNO")},
        {Text("u123456"), WithChecksum("uOK")}}},
  };
  for (const ExchangeCase& c : cases) RunExchange(c);
}

struct StatusCase {
  const char* version;
  speed_t speed;
  std::uint16_t engine;
  std::uint16_t battery;
  std::size_t length;
};

TEST(EcuSimReplies, StatusCarriesEngineAndBatteryBigEndian) {
  const std::vector<StatusCase> cases{
      {"3M0100001", B115200, 0, 56, 56},
      {"1E0100001", B115200, 0x0102, 0x0A0B, 56},
      {"6M0100001", B921600, 0, 56, 72},
      {"8D0100001", B921600, 0xFFFF, 0x1234, 72},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.version);
    SimProcess sim({"--version", c.version, "--engine-raw", std::to_string(c.engine),
                    "--battery-raw", std::to_string(c.battery)});
    FarEnd far(sim.path(), {c.speed});
    ASSERT_TRUE(far.ok());
    ASSERT_TRUE(far.Write(Text("d")));
    const Bytes reply = far.Read(c.length, kReplyTimeoutMs);
    ASSERT_EQ(reply.size(), c.length) << Hex(reply);
    EXPECT_EQ(Hex(far.Read(1, kQuietAfterMs)), "");
    EXPECT_EQ(reply[0], 'd');
    EXPECT_EQ(reply[1] * 256 + reply[2], c.engine);
    EXPECT_EQ(reply[13] * 256 + reply[14], c.battery);
    EXPECT_EQ(Hex(WithChecksum(Bytes(reply.begin(), reply.end() - 1))), Hex(reply));
  }
}

}  // namespace
}  // namespace ecu_sim_test
