#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <utility>

namespace vm_guest {

enum class ReportKind { kInput, kOutput, kFeature };

// Report lengths in bytes, report ID byte included when the report has one, by
// kind and report ID (0: the device uses no IDs).
using ReportLengths = std::map<std::pair<ReportKind, std::uint8_t>, std::size_t>;

// Reads the short items of a HID report descriptor; long items are skipped.
ReportLengths ParseReportLengths(std::span<const std::uint8_t> descriptor);

}  // namespace vm_guest
