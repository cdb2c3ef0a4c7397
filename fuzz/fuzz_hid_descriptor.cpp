// HID report descriptors: arbitrary bytes never crash the parser, lengths agree
// with the bit counts, and long items, which carry nothing about reports,
// change nothing wherever an item may begin.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/common/hid_report_descriptor.h"
#include "require.h"

namespace {

using platform::HidReportKind;

void CheckLengths(const platform::HidReportLayout& layout) {
  for (HidReportKind kind : {HidReportKind::input, HidReportKind::output, HidReportKind::feature}) {
    std::size_t longest = 0;
    for (const auto& [key, bits] : layout.bits) {
      Require(layout.numbered || key.second == 0, "IDs only on a numbered descriptor");
      Require(bits <= platform::max_hid_report_bytes * 8, "no report past the limit");
      if (key.first != kind) continue;
      const std::size_t wire = layout.wire_length(kind, key.second);
      Require(wire * 8 >= bits && (wire - layout.numbered) * 8 < bits + 8, "whole bytes");
      longest = std::max(longest, wire + !layout.numbered);
    }
    Require(layout.longest(kind) == longest, "the longest report, ID byte counted");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  auto layout = platform::ParseReportDescriptor(bytes);
  if (layout) CheckLengths(*layout);

  std::vector<std::uint8_t> with_long{0xFE, 0x01, 0x42, 0x99};
  with_long.insert(with_long.end(), bytes.begin(), bytes.end());
  auto shifted = platform::ParseReportDescriptor(with_long);
  Require(shifted.ok() == layout.ok(), "a leading long item changes nothing");
  if (layout && shifted) {
    Require(shifted->bits == layout->bits && shifted->numbered == layout->numbered,
            "a leading long item changes no report");
  }
  return 0;
}
