#include "platform/common/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hid_reports.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::HidReportKind;

// The boot keyboard every USB keyboard can be: no report IDs; input: 8
// modifier bits, a reserved byte, six key codes; output: 5 LED bits, 3 padding.
const Bytes boot_keyboard{
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// Three numbered reports around a Push and a Pop, a long item and a 4-byte item.
const Bytes push_pop_long{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,  // mouse, application collection
                          0x85, 0x01,                          // report ID 1
                          0x75, 0x01, 0x95, 0x03, 0x81, 0x02,  // input: 3 x 1 bit
                          0xA4,                                // push (1 bit, 3, ID 1)
                          0x75, 0x05, 0x95, 0x01, 0x81, 0x01,  // input: 5 bits of padding
                          0x85, 0x02,                          // report ID 2
                          0x75, 0x08, 0x95, 0x04, 0xB1, 0x02,  // feature: 4 x 8 bits
                          0xB4,                                // pop: back to 1 bit, 3, ID 1
                          0x75, 0x08, 0x95, 0x02, 0x81, 0x06,  // input: 2 x 8 bits, still report 1
                          0xFE, 0x02, 0x10, 0xAA, 0xBB,        // long item, 2 data bytes
                          0x85, 0x03,                          // report ID 3
                          0x75, 0x10, 0x95, 0x02, 0x91, 0x02,  // output: 2 x 16 bits
                          0x27, 0xFF, 0xFF, 0x00, 0x00,        // logical maximum, 4 data bytes
                          0x95, 0x03, 0x75, 0x04, 0x91, 0x02,  // output: 3 x 4 bits, report 3
                          0xC0};

struct Wire {
  HidReportKind kind;
  std::uint8_t id;
  std::size_t bytes;
};

TEST(HidReportDescriptor, RealDescriptorsGiveTheirReportLengths) {
  struct Case {
    const char* what;
    Bytes descriptor;
    bool numbered;
    platform::HidReportLengths lengths;  // report ID byte always counted
    std::vector<Wire> wire;              // as the device sends them
  };
  const auto bridge = ecu_sim::BridgeReportDescriptor();
  const Case cases[] = {
      {"simulated bridge",
       Bytes(bridge.begin(), bridge.end()),
       true,
       {65, 65, 0},
       {{HidReportKind::input, 1, 65}, {HidReportKind::output, 2, 65}}},
      {"boot keyboard",
       boot_keyboard,
       false,
       {9, 2, 0},
       {{HidReportKind::input, 0, 8}, {HidReportKind::output, 0, 1}}},
      {"push, pop and a long item",
       push_pop_long,
       true,
       {4, 7, 5},
       {{HidReportKind::input, 1, 4},
        {HidReportKind::feature, 2, 5},
        {HidReportKind::output, 3, 7},
        {HidReportKind::input, 2, 0}}},
      {"nothing at all", {}, false, {0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto layout = platform::ParseReportDescriptor(c.descriptor);
    ASSERT_TRUE(layout.ok()) << layout.error().describe();
    EXPECT_EQ(layout->numbered, c.numbered);
    EXPECT_EQ(layout->lengths(), c.lengths);
    for (const Wire& w : c.wire) {
      EXPECT_EQ(layout->wire_length(w.kind, w.id), w.bytes) << "report " << int{w.id};
    }
  }
}

TEST(HidReportDescriptor, MalformedDescriptorsAreRefusedWhereTheyBreak) {
  struct Case {
    const char* what;
    Bytes descriptor;
    const char* why;
  };
  const Case cases[] = {
      {"short item cut short", {0x75, 0x08, 0x96, 0x40}, "item cut short at byte 2"},
      {"4-byte item cut short", {0x27, 0xFF, 0xFF, 0xFF}, "item cut short at byte 0"},
      {"long item without its header", {0x81, 0x02, 0xFE, 0x05}, "long item cut short at byte 2"},
      {"long item cut short", {0xFE, 0x04, 0x10, 0x01, 0x02}, "long item cut short at byte 0"},
      {"pop without push", {0xA4, 0xB4, 0xB4}, "Pop without Push at byte 2"},
      {"report ID 0", {0x85, 0x00}, "report ID out of range at byte 0"},
      {"report ID 256", {0x86, 0x00, 0x01}, "report ID out of range at byte 0"},
      {"report far too long",
       {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02},
       "report too long at byte 10"},
      {"reports adding up past the limit",
       {0x75, 0x08, 0x96, 0x00, 0x40, 0x81, 0x02, 0x95, 0x01, 0x81, 0x02},
       "report too long at byte 9"},
      {"push nested 17 deep", Bytes(17, 0xA4), "Push nested too deep at byte 16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto layout = platform::ParseReportDescriptor(c.descriptor);
    ASSERT_FALSE(layout.ok());
    EXPECT_EQ(layout.error().text, c.why);
  }
  // 16 deep is allowed, and the limit itself is not too long.
  EXPECT_TRUE(platform::ParseReportDescriptor(Bytes(16, 0xA4)).ok());
  auto at_limit =
      platform::ParseReportDescriptor(Bytes{0x85, 0x07, 0x75, 0x08, 0x96, 0x00, 0x40, 0x81, 0x02});
  ASSERT_TRUE(at_limit.ok());
  EXPECT_EQ(at_limit->wire_length(HidReportKind::input, 7), 16385u);
}

}  // namespace
