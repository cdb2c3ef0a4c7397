// `ComPort` on the real poll loop and a real pseudo-terminal: the whole road a
// byte takes between the program and the unit.
#include <gtest/gtest.h>
#include <time.h>

#include <cstdint>
#include <vector>

#include "link/com_port.h"
#include "platform/poll_loop.h"
#include "platform/serial_port.h"
#include "pty_master.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::int64_t ThreadCpuMicros() {
  timespec ts{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

class ComPortOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    port.on_rx_char = [this](int count) {
      counts.push_back(count);
      Bytes buf(static_cast<std::size_t>(count));
      auto n = port.read(buf);
      ASSERT_TRUE(n.ok()) << n.error().describe();
      received.insert(received.end(), buf.begin(), buf.begin() + *n);
    };
    port.on_gone = [this](const core::Error& e) { gone.push_back(e); };
    ASSERT_TRUE(port.set_port(master.far_name()).ok());
    auto s = port.open();
    ASSERT_TRUE(s.ok()) << s.error().describe();
  }

  void RunUntil(const std::function<bool()>& done) {
    const std::int64_t give_up = loop.now() + 2000;
    while (!done() && loop.now() < give_up) loop.run_once(100);
  }

  PtyMaster master;
  platform::PollLoop loop;
  std::unique_ptr<platform::SerialSystem> system = platform::MakeSystemSerial();
  links::ComPort port{loop, *system};
  std::vector<int> counts;
  Bytes received;
  std::vector<core::Error> gone;
};

TEST_F(ComPortOverPty, RequestOutAndReplyInPieces) {
  Bytes block(1027);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(port.write(block).ok());
  EXPECT_EQ(master.read(block.size()), block);

  const Bytes reply{'v', 0x11, 0x13, '\r', '\n', 0x03, 0x00, 0xFF};
  for (std::size_t at = 0; at < reply.size(); at += 3) {
    ASSERT_TRUE(
        master.write(Bytes(reply.begin() + at, reply.begin() + std::min(reply.size(), at + 3))));
    RunUntil([&] { return received.size() >= std::min(reply.size(), at + 3); });
  }
  EXPECT_EQ(received, reply);
  int total = 0;
  for (int c : counts) {
    EXPECT_GT(c, 0);
    total += c;
  }
  EXPECT_EQ(total, static_cast<int>(reply.size()));
  EXPECT_TRUE(gone.empty());
}

TEST_F(ComPortOverPty, UnitGoneClosesThePortOnceAndTheLoopGoesQuiet) {
  master.close();
  RunUntil([&] { return !gone.empty(); });
  ASSERT_EQ(gone.size(), 1u);
  EXPECT_EQ(gone[0].name, master.far_name());
  EXPECT_FALSE(port.connected());
  const std::int64_t cpu = ThreadCpuMicros();
  for (int i = 0; i < 3; ++i) loop.run_once(100);
  EXPECT_LT(ThreadCpuMicros() - cpu, 20000) << "CPU time in microseconds";
  EXPECT_EQ(gone.size(), 1u);
  EXPECT_TRUE(counts.empty());
}

}  // namespace
