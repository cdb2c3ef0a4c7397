#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/hid_read_loop.h"
#include "platform/linux/internal.h"
#include "platform/poll_loop.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::linux_os::HidrawDevice;
using platform::linux_os::UniqueFd;

// A hidraw node stands in as one end of a packet socket: like the node, each
// read takes one whole report, and the far end's close reads as a hang-up.
struct Node {
  explicit Node(bool numbered, std::size_t input_length = 65) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) std::abort();
    far.reset(fds[1]);
    platform::HidDeviceInfo info;
    info.path = "/dev/hidraw9";
    info.numbered_reports = numbered;
    info.lengths = {input_length, input_length, 0};
    device = std::make_unique<HidrawDevice>(loop, UniqueFd(fds[0]), info);
  }
  void send(const Bytes& report) {
    ASSERT_EQ(::send(far.get(), report.data(), report.size(), 0),
              static_cast<ssize_t>(report.size()));
  }
  template <class F>
  void run_until(F done, int ms = 3000) {
    const std::int64_t give_up = loop.now() + ms;
    while (!done() && loop.now() < give_up) loop.run_once(20);
  }

  platform::PollLoop loop;
  UniqueFd far;
  std::unique_ptr<HidrawDevice> device;
  std::vector<Bytes> reports;
  std::vector<core::Error> errors;
};

TEST(HidrawReader, ReportsComeInOrderInOneShapeThenOneErrorWhenTheDeviceGoes) {
  struct Case {
    bool numbered;
    std::vector<Bytes> sent;
    std::vector<Bytes> handed;
  };
  const Case cases[] = {
      {true,
       {{1, 3, 'd', 'O', 'K'}, Bytes(65, 1), {1, 0}},
       {{1, 3, 'd', 'O', 'K'}, Bytes(65, 1), {1, 0}}},
      {false,
       {{7, 8, 9}, Bytes(8, 0xAA)},
       {{0, 7, 8, 9}, {0, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.numbered ? "numbered" : "unnumbered");
    Node node(c.numbered, c.numbered ? 65 : 9);
    const auto loop_thread = std::this_thread::get_id();
    bool on_loop_thread = true;
    ASSERT_TRUE(node.device
                    ->start_reading(
                        [&](std::span<const std::uint8_t> r) {
                          on_loop_thread &= std::this_thread::get_id() == loop_thread;
                          node.reports.emplace_back(r.begin(), r.end());
                        },
                        [&](const core::Error& e) { node.errors.push_back(e); })
                    .ok());
    for (const Bytes& r : c.sent) node.send(r);
    node.run_until([&] { return node.reports.size() == c.handed.size(); });
    node.far.reset();
    node.run_until([&] { return !node.errors.empty(); });
    node.run_until([] { return false; }, 100);
    EXPECT_EQ(node.reports, c.handed);
    EXPECT_TRUE(on_loop_thread);
    ASSERT_EQ(node.errors.size(), 1u);
    EXPECT_EQ(node.errors[0].operation, "read report");
    EXPECT_EQ(node.errors[0].name, "/dev/hidraw9");
    EXPECT_EQ(node.errors[0].code, EIO);
    EXPECT_FALSE(node.device->reading());
  }
}

TEST(HidrawReader, StoppingNeverWaitsForTheLoop) {
  // A handler stops its own reader: the reports after it are not handed over.
  {
    Node node(true);
    ASSERT_TRUE(node.device
                    ->start_reading(
                        [&](std::span<const std::uint8_t> r) {
                          node.reports.emplace_back(r.begin(), r.end());
                          node.device->stop_reading();
                        },
                        [&](const core::Error& e) { node.errors.push_back(e); })
                    .ok());
    for (std::uint8_t i = 1; i <= 3; ++i) node.send({1, i});
    node.run_until([] { return false; }, 200);
    EXPECT_EQ(node.reports, (std::vector<Bytes>{{1, 1}}));
    EXPECT_TRUE(node.errors.empty());
    EXPECT_FALSE(node.device->reading());
  }
  // A handler destroys the device it reads from.
  {
    Node node(true);
    ASSERT_TRUE(node.device
                    ->start_reading(
                        [&](std::span<const std::uint8_t> r) {
                          node.reports.emplace_back(r.begin(), r.end());
                          node.device.reset();
                        },
                        [](const core::Error&) {})
                    .ok());
    node.send({1, 1});
    node.send({1, 2});
    node.run_until([] { return false; }, 200);
    EXPECT_EQ(node.reports, (std::vector<Bytes>{{1, 1}}));
  }
  // The reader waits for the loop with a report in hand, and the loop's
  // thread destroys the device instead of running the loop.
  {
    Node node(true);
    ASSERT_TRUE(node.device
                    ->start_reading([&](std::span<const std::uint8_t>) { ADD_FAILURE(); },
                                    [](const core::Error&) { ADD_FAILURE(); })
                    .ok());
    node.send({1, 1});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    node.device.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    node.run_until([] { return false; }, 100);
  }
}

// The reader's loop every system shares, fed one scripted read after another
// on a thread of its own; the test's thread takes what it hands over.
TEST(HidReadLoop, AFailedReadEndsTheReaderOnlyWhenTheDeviceHasGone) {
  using platform::HidRead;
  // A read: a report (its one byte), a failure (its code), or the stop (0, 0).
  struct Step {
    char kind;  // 'r' report, 'f' failure, 's' stop
    int value;
  };
  struct Case {
    const char* name;
    std::vector<Step> reads;
    int gone_after;      // failures after which the device has gone; 0: never
    std::string handed;  // r<byte> and e<code>, in order
    bool ended;          // the last hand-over ended the reader
    int pauses;
  };
  const Case cases[] = {
      {"the device goes at the first failure", {{'r', 1}, {'f', 5}}, 1, "r1 e5", true, 0},
      {"a failure while the device stays: told, paused, read again",
       {{'r', 1}, {'f', 31}, {'r', 2}, {'s', 0}},
       0,
       "r1 e31 r2",
       false,
       1},
      {"the same failure again is told once, until a read succeeds",
       {{'f', 31}, {'f', 31}, {'f', 31}, {'r', 3}, {'f', 31}, {'s', 0}},
       0,
       "e31 r3 e31",
       false,
       4},
      {"another failure is told too", {{'f', 31}, {'f', 995}, {'s', 0}}, 0, "e31 e995", false, 2},
      {"the device goes after failing while it stayed",
       {{'f', 31}, {'f', 31}, {'f', 1167}},
       3,
       "e31 e1167",
       true,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string handed;
    bool ended = false;
    platform::ReportHandOver handover(
        [&](std::span<const std::uint8_t> r) {
          handed += (handed.empty() ? "r" : " r") + std::to_string(r[0]);
        },
        [&](const core::Error& e) {
          handed += (handed.empty() ? "e" : " e") + std::to_string(e.code);
        });
    std::atomic<bool> pending{false};
    handover.set_signal([&] { pending = true; }, [&] { pending = false; });
    std::size_t next = 0;
    int failures = 0, pauses = 0;
    const platform::HidReadHooks hooks{
        [&]() -> HidRead {
          if (next == c.reads.size()) return {HidRead::Kind::stopped, {}, {}};
          const Step step = c.reads[next++];
          if (step.kind == 'r') {
            return {HidRead::Kind::report, {static_cast<std::uint8_t>(step.value)}, {}};
          }
          if (step.kind == 'f') {
            ++failures;
            return {HidRead::Kind::failed, {}, core::Error{"read report", "d", step.value, "x"}};
          }
          return {HidRead::Kind::stopped, {}, {}};
        },
        [&] { return c.gone_after != 0 && failures >= c.gone_after; },
        [&] { return ++pauses, true; }};
    std::atomic<bool> done{false};
    std::thread reader([&] {
      platform::RunHidReadLoop(handover, hooks);
      done = true;
    });
    while (!done) {
      if (pending) handover.take();
      std::this_thread::yield();
    }
    reader.join();
    ended = !handover.running();
    EXPECT_EQ(handed, c.handed);
    EXPECT_EQ(ended, c.ended);
    EXPECT_EQ(pauses, c.pauses);
  }
}

}  // namespace
