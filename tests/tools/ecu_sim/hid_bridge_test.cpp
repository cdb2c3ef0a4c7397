// The USB HID bridge as far as this machine can test it without uhid: how
// requests are taken out of output reports and replies put into input reports,
// and the clear refusal where the kernel has no uhid. The bridge itself runs in
// the virtual machine tests (tests/vm).
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "hid_reports.h"
#include "process.h"

namespace ecu_sim_test {
namespace {

using ecu_sim::Bytes;

// A report as the program writes it: ID, count, payload, zeros up to `size`.
Bytes Report(std::uint8_t id, std::uint8_t count, const Bytes& payload, std::size_t size = 65) {
  Bytes report(size, 0);
  report[0] = id;
  report[1] = count;
  std::copy(payload.begin(), payload.end(), report.begin() + 2);
  return report;
}

Bytes Counting(std::size_t n) {
  Bytes bytes(n);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
  return bytes;
}

TEST(EcuSimBridge, TakesTheRequestBytesOutOfOutputReports) {
  struct Case {
    const char* name;
    Bytes report;
    Bytes payload;
    bool sound;
  };
  const std::vector<Case> cases{
      {"version request", Report(2, 1, {'V'}), {'V'}, true},
      {"piece of a block", Report(2, 50, Counting(50)), Counting(50), true},
      {"last piece of a block", Report(2, 27, Counting(27)), Counting(27), true},
      {"as much as a report holds", Report(2, 63, Counting(63)), Counting(63), true},
      {"nothing", Report(2, 0, {}), {}, true},
      {"shorter than declared, count within", Report(2, 2, {'}', '}'}, 4), {'}', '}'}, true},
      {"count beyond the report", Report(2, 64, Counting(63)), {}, false},
      {"count beyond a short report", Report(2, 3, {'V'}, 4), {}, false},
      {"input report ID", Report(1, 1, {'V'}), {}, false},
      {"no report ID", Report(0, 1, {'V'}), {}, false},
      {"ID alone", Bytes{2}, {}, false},
      {"empty", Bytes{}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ecu_sim::UnwrappedReport got = ecu_sim::UnwrapOutputReport(c.report);
    EXPECT_EQ(got.problem.empty(), c.sound) << got.problem;
    EXPECT_EQ(got.payload, c.payload);
  }
}

TEST(EcuSimBridge, PutsReplyBytesIntoFullInputReportsInOrder) {
  struct Case {
    std::size_t length;
    std::vector<std::uint8_t> counts;  // count byte of each report
  };
  // A short reply, the two status replies, and the lengths around one report's worth.
  const std::vector<Case> cases{
      {0, {}},    {1, {1}},      {4, {4}},      {56, {56}},      {62, {62}},
      {63, {63}}, {64, {63, 1}}, {72, {63, 9}}, {126, {63, 63}}, {127, {63, 63, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const Bytes reply = Counting(c.length);
    const std::vector<Bytes> reports = ecu_sim::WrapInputReports(reply);
    ASSERT_EQ(reports.size(), c.counts.size());
    std::size_t at = 0;
    for (std::size_t i = 0; i < reports.size(); ++i) {
      const Bytes part(reply.begin() + at, reply.begin() + at + c.counts[i]);
      EXPECT_EQ(reports[i], Report(1, c.counts[i], part)) << "report " << i;
      at += c.counts[i];
    }
  }
}

TEST(EcuSimBridge, WithoutUhidSaysSoAndExitsWithStatus2) {
  const Finished run =
      RunToEnd(ZEK_ECU_SIM_PATH, {"--hid", "--uhid", "/nonexistent/uhid"}, {}, 5000);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("/nonexistent/uhid: No such file or directory"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("no uhid"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace ecu_sim_test
