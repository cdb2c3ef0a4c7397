#include "link/hid_report.h"

#include <gtest/gtest.h>

#include "download/protocol.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HidReport, CarriesTheRequestsOwnByteCounts) {
  const struct {
    const char* name;
    Bytes request;
    int n;
  } cases[] = {
      {"version", download::VersionRequest(), download::hid_length_single},
      {"access", download::AccessRequest(), download::hid_length_access},
      {"start, 6-character serial", download::StartRequest("123456"),
       download::hid_length_start_finish},
      {"start, short serial", download::StartRequest("12"), download::hid_length_start_finish},
      {"finish, long serial", download::FinishRequest("123456789"),
       download::hid_length_start_finish},
      {"switch", download::SwitchRequest(), download::hid_length_switch_restart},
      {"restart", download::RestartRequest(), download::hid_length_switch_restart},
  };
  for (const auto& c : cases) {
    const auto r = links::OutputReport(c.request, static_cast<std::size_t>(c.n));
    EXPECT_EQ(r[0], 0x02) << c.name;
    EXPECT_EQ(r[1], c.n) << c.name;
    for (int i = 0; i < c.n; ++i) {
      const std::uint8_t want = static_cast<std::size_t>(i) < c.request.size() ? c.request[i] : 0;
      EXPECT_EQ(r[2 + i], want) << c.name << " byte " << i;
    }
    for (std::size_t i = 2 + static_cast<std::size_t>(c.n); i < r.size(); ++i) {
      EXPECT_EQ(r[i], 0) << c.name << " byte " << i;
    }
  }
}

TEST(HidReport, PayloadNeverOverrunsTheReport) {
  const Bytes block(1027, 0xAB);
  const auto r = links::OutputReport(block, 200);
  EXPECT_EQ(r[1], 63);
  EXPECT_EQ(r[64], 0xAB);
}

}  // namespace
