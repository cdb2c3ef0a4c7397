#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <sstream>
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
  // Reads with these handlers; left out, each report or error is kept.
  bool start(platform::HidReportHandler on_report = {},
             platform::HidReadErrorHandler on_error = {}) {
    if (!on_report) on_report = [this](auto r) { reports.emplace_back(r.begin(), r.end()); };
    if (!on_error) on_error = [this](const core::Error& e) { errors.push_back(e); };
    return device->start_reading(std::move(on_report), std::move(on_error)).ok();
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
    ASSERT_TRUE(node.start([&](std::span<const std::uint8_t> r) {
      on_loop_thread &= std::this_thread::get_id() == loop_thread;
      node.reports.emplace_back(r.begin(), r.end());
    }));
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
    ASSERT_TRUE(node.start([&](std::span<const std::uint8_t> r) {
      node.reports.emplace_back(r.begin(), r.end());
      node.device->stop_reading();
    }));
    for (std::uint8_t i = 1; i <= 3; ++i) node.send({1, i});
    node.run_until([] { return false; }, 200);
    EXPECT_EQ(node.reports, (std::vector<Bytes>{{1, 1}}));
    EXPECT_TRUE(node.errors.empty());
    EXPECT_FALSE(node.device->reading());
  }
  // A handler destroys the device it reads from.
  {
    Node node(true);
    ASSERT_TRUE(node.start([&](std::span<const std::uint8_t> r) {
      node.reports.emplace_back(r.begin(), r.end());
      node.device.reset();
    }));
    node.send({1, 1});
    node.send({1, 2});
    node.run_until([] { return false; }, 200);
    EXPECT_EQ(node.reports, (std::vector<Bytes>{{1, 1}}));
  }
  // The reader waits for the loop with a report in hand, and the loop's
  // thread destroys the device instead of running the loop.
  {
    Node node(true);
    ASSERT_TRUE(node.start([](auto) { ADD_FAILURE(); }, [](const core::Error&) { ADD_FAILURE(); }));
    node.send({1, 1});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    node.device.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    node.run_until([] { return false; }, 100);
  }
}

// The reader's loop every system shares, fed scripted reads ("r<byte>" a
// report, "f<code>" a failure, "s" the stop; the stop also after the last)
// on a thread of its own; the test's thread takes what it hands over, as
// "r<byte>" and "e<code>" in order. The device has gone after `gone_after`
// failures (0: never).
struct ScriptedRun {
  std::string handed;
  bool ended = false;  // the last hand-over ended the reader
  int pauses = 0;
};
ScriptedRun RunScripted(const std::string& script, int gone_after) {
  using platform::HidRead;
  ScriptedRun run;
  platform::ReportHandOver handover(
      [&](std::span<const std::uint8_t> r) { run.handed += " r" + std::to_string(r[0]); },
      [&](const core::Error& e) { run.handed += " e" + std::to_string(e.code); });
  std::atomic<bool> pending{false}, done{false};
  handover.set_signal([&] { pending = true; }, [&] { pending = false; });
  std::istringstream reads(script);
  int failures = 0;
  const platform::HidReadHooks hooks{
      [&]() -> HidRead {
        std::string step;
        if (!(reads >> step) || step[0] == 's') return {HidRead::Kind::stopped, {}, {}};
        const int value = std::stoi(step.substr(1));
        if (step[0] == 'r') return {HidRead::Kind::report, {static_cast<std::uint8_t>(value)}, {}};
        ++failures;
        return {HidRead::Kind::failed, {}, core::Error{"read report", "d", value, "x"}};
      },
      [&] { return gone_after != 0 && failures >= gone_after; },
      [&] { return ++run.pauses, true; }};
  std::thread reader([&] {
    platform::RunHidReadLoop(handover, hooks);
    done = true;
  });
  while (!done) {
    if (pending) handover.take();
    std::this_thread::yield();
  }
  reader.join();
  run.ended = !handover.running();
  if (!run.handed.empty()) run.handed.erase(0, 1);
  return run;
}

TEST(HidReadLoop, AFailedReadEndsTheReaderOnlyWhenTheDeviceHasGone) {
  const struct {
    const char* name;
    const char* reads;
    int gone_after;
    const char* handed;
    bool ended;
    int pauses;
  } cases[] = {
      {"the device goes at the first failure", "r1 f5", 1, "r1 e5", true, 0},
      {"a failure while the device stays: told, paused, read again", "r1 f31 r2 s", 0, "r1 e31 r2",
       false, 1},
      {"the same failure again is told once, until a read succeeds", "f31 f31 f31 r3 f31 s", 0,
       "e31 r3 e31", false, 4},
      {"another failure is told too", "f31 f995 s", 0, "e31 e995", false, 2},
      {"the device goes after failing while it stayed", "f31 f31 f1167", 3, "e31 e1167", true, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScriptedRun run = RunScripted(c.reads, c.gone_after);
    EXPECT_EQ(run.handed, c.handed);
    EXPECT_EQ(run.ended, c.ended);
    EXPECT_EQ(run.pauses, c.pauses);
  }
}

}  // namespace
