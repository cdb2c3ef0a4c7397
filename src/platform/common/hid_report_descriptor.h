#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>

#include "core/result.h"
#include "platform/hid_device.h"

// Report sizes from a HID report descriptor, the way every system's HID
// stack derives them. Pure: bytes in, sizes out.
namespace platform {

enum class HidReportKind { input, output, feature };

struct HidReportLayout {
  // Whether the descriptor numbers its reports (has Report ID items).
  bool numbered = false;
  // Bits of data per report, by kind and report ID (0 when not numbered).
  std::map<std::pair<HidReportKind, std::uint8_t>, std::uint64_t> bits;

  // Bytes of that report as the device sends it: the data, rounded up to
  // whole bytes, and its ID byte when the reports are numbered. 0 if none.
  std::size_t wire_length(HidReportKind kind, std::uint8_t id) const;
  // The longest report of that kind with a report ID byte always counted
  // (HidReportLengths); 0 if there is none.
  std::size_t longest(HidReportKind kind) const;
  HidReportLengths lengths() const;
};

// Longest report a descriptor may declare; the kernels hold none longer.
inline constexpr std::uint64_t max_hid_report_bytes = 16384;

// Reads the short items (0, 1, 2 or 4 data bytes) and skips long ones. Refuses
// a descriptor that ends inside an item, a Pop without a Push, Push nesting
// deeper than 16, report ID 0 or above 255, and a report longer than
// max_hid_report_bytes.
core::Result<HidReportLayout> ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace platform
