// Downloads: what the unit keeps of the blocks, the finish, the pulled cable and
// the power cycle.
#include <gtest/gtest.h>

#include "far_end.h"
#include "sim_process.h"
#include "temp_dir.h"

namespace ecu_sim_test {
namespace {

constexpr int kReplyTimeoutMs = 1000;

Bytes Exchange(FarEnd& far, const Bytes& request, std::size_t reply_length) {
  if (!far.Write(request)) return {};
  return far.Read(reply_length, kReplyTimeoutMs);
}

TEST(EcuSimDownload, ThreeBlocksArriveAsSent) {
  TempDir dir;
  SimProcess sim({"--received", dir / "rx.bin", "--log", dir / "log.txt", "--exit-after-finish"});
  FarEnd far(sim.path(), {B115200});
  ASSERT_TRUE(far.ok());
  ASSERT_EQ(Hex(Exchange(far, Text("U123456"), 4)), Hex(WithChecksum("UOK")));
  Bytes sent;
  for (unsigned n = 0; n < 3; ++n) {
    const Bytes data = BlockData(n);
    sent.insert(sent.end(), data.begin(), data.end());
    ASSERT_EQ(Hex(Exchange(far, BlockRequest(static_cast<std::uint8_t>(n), data), 4)),
              Hex(WithChecksum("BOK")));
  }
  ASSERT_EQ(Hex(Exchange(far, Text("u123456"), 4)), Hex(WithChecksum("uOK")));
  EXPECT_EQ(sim.WaitExit(3000), 0);
  EXPECT_TRUE(FileBytes(dir / "rx.bin") == sent);
  const std::string log = FileText(dir / "log.txt");
  EXPECT_NE(log.find("B len=1027 -> OK block 2"), std::string::npos) << log;
  EXPECT_NE(log.find("u len=7 -> OK 3 blocks received"), std::string::npos) << log;
}

struct BlockSend {
  unsigned number;  // sent modulo 256
  unsigned tag;     // which data
  bool bad_checksum;
  const char* status;
};

struct BlockCase {
  const char* name;
  std::vector<std::string> args;
  bool start;
  std::vector<BlockSend> sends;
  std::vector<unsigned> kept;  // data tags of the blocks the unit holds, in order
};

Bytes Image(const std::vector<unsigned>& tags) {
  Bytes image;
  for (unsigned tag : tags) {
    const Bytes data = BlockData(tag);
    image.insert(image.end(), data.begin(), data.end());
  }
  return image;
}

void RunBlocks(const BlockCase& c) {
  SCOPED_TRACE(c.name);
  TempDir dir;
  std::vector<std::string> args = c.args;
  args.insert(args.end(), {"--received", dir / "rx.bin"});
  SimProcess sim(args);
  FarEnd far(sim.path(), {B115200});
  ASSERT_TRUE(far.ok());
  if (c.start) {
    ASSERT_EQ(Hex(Exchange(far, Text("U123456"), 4)), Hex(WithChecksum("UOK")));
  }
  for (std::size_t i = 0; i < c.sends.size(); ++i) {
    const BlockSend& send = c.sends[i];
    Bytes request = BlockRequest(static_cast<std::uint8_t>(send.number % 256), BlockData(send.tag));
    if (send.bad_checksum) request.back() ^= 0x01;
    EXPECT_EQ(Hex(Exchange(far, request, 4)), Hex(WithChecksum(std::string("B") + send.status)))
        << "send " << i + 1;
  }
  EXPECT_EQ(sim.Terminate(), 0);
  const Bytes kept = FileBytes(dir / "rx.bin");
  EXPECT_EQ(kept.size(), c.kept.size() * 1024);
  EXPECT_TRUE(kept == Image(c.kept));
}

TEST(EcuSimDownload, BlocksAreJudgedAndKeptInTheirSlots) {
  std::vector<BlockSend> wrap;
  std::vector<unsigned> wrap_kept;
  for (unsigned n = 0; n <= 257; ++n) {
    wrap.push_back({n, n, false, "OK"});
    wrap_kept.push_back(n);
  }
  const std::vector<BlockCase> cases{
      {"bad checksum is not taken",
       {},
       true,
       {{0, 0, false, "OK"}, {1, 1, true, "FF"}, {1, 1, false, "OK"}},
       {0, 1}},
      {"a repeat replaces its slot",
       {},
       true,
       {{0, 0, false, "OK"}, {1, 1, false, "OK"}, {1, 7, false, "OK"}, {2, 2, false, "OK"}},
       {0, 7, 2}},
      {"out of sequence", {}, true, {{0, 0, false, "OK"}, {2, 2, false, "FF"}}, {0}},
      {"no download started", {}, false, {{0, 0, false, "FF"}}, {}},
      {"memory fault asked for",
       {"--answer", "B:2:MM"},
       true,
       {{0, 0, false, "OK"}, {1, 1, false, "MM"}},
       {0}},
      {"not taken, asked for",
       {"--answer", "block:1:FF"},
       true,
       {{0, 3, false, "FF"}, {0, 0, false, "OK"}},
       {0}},
      {"block numbers wrap after 256", {}, true, wrap, wrap_kept},
  };
  for (const BlockCase& c : cases) RunBlocks(c);
}

TEST(EcuSimDownload, PulledCableHangsUpTheLine) {
  TempDir dir;
  SimProcess sim({"--pull-after-blocks", "2", "--received", dir / "rx.bin"});
  FarEnd far(sim.path(), {B115200});
  ASSERT_TRUE(far.ok());
  ASSERT_EQ(Hex(Exchange(far, Text("U123456"), 4)), Hex(WithChecksum("UOK")));
  for (unsigned n = 0; n < 2; ++n) {
    ASSERT_EQ(Hex(Exchange(far, BlockRequest(static_cast<std::uint8_t>(n), BlockData(n)), 4)),
              Hex(WithChecksum("BOK")));
  }
  EXPECT_TRUE(far.SeesHangUp(2000));
  EXPECT_EQ(sim.WaitExit(2000), 3);
  EXPECT_TRUE(FileBytes(dir / "rx.bin") == Image({0, 1}));
}

TEST(EcuSimDownload, PowerCycleReportsBackAfterTheFinish) {
  TempDir dir;
  SimProcess sim(
      {"--power-cycle-after", "300", "--power-on-report", "NO", "--received", dir / "rx%n.bin"});
  FarEnd far(sim.path(), {B115200});
  ASSERT_TRUE(far.ok());
  for (unsigned download = 1; download <= 2; ++download) {
    SCOPED_TRACE(download);
    ASSERT_EQ(Hex(Exchange(far, Text("U123456"), 4)), Hex(WithChecksum("UOK")));
    ASSERT_EQ(Hex(Exchange(far, BlockRequest(0, BlockData(download)), 4)),
              Hex(WithChecksum("BOK")));
    ASSERT_EQ(Hex(Exchange(far, Text("u123456"), 4)), Hex(WithChecksum("uOK")));
    // Switched off: no answer, and the report comes by itself once it is on again;
    // the first one says "NO", and the next follows one more power cycle later.
    ASSERT_TRUE(far.Write(Text("V")));
    EXPECT_EQ(Hex(far.Read(1, 150)), "");
    if (download == 1) {
      EXPECT_EQ(Hex(far.Read(4, 1000)), Hex(WithChecksum("rNO")));
    }
    EXPECT_EQ(Hex(far.Read(4, 1000)), Hex(WithChecksum("rOK")));
    EXPECT_EQ(Hex(Exchange(far, Text("V"), 11)), Hex(WithChecksum("V3M0100001")));
    EXPECT_TRUE(FileBytes(dir / ("rx" + std::to_string(download) + ".bin")) == BlockData(download));
  }
}

}  // namespace
}  // namespace ecu_sim_test
