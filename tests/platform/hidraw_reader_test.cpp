#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

}  // namespace
