#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "message.h"

namespace ecu_sim {

// The reports of the USB HID bridge. The program writes requests as output
// report 2: [2, n, n request bytes, zeros]; the bridge answers with input
// report 1: [1, n, n reply bytes, zeros]. Both are 64 data bytes after the ID.
inline constexpr std::uint8_t kOutputReportId = 2;
inline constexpr std::uint8_t kInputReportId = 1;
inline constexpr std::size_t kReportSize = 65;  // the ID and 64 data bytes
inline constexpr std::size_t kMaxPayload = kReportSize - 2;

// The report descriptor the bridge declares.
std::span<const std::uint8_t> BridgeReportDescriptor();

// The request bytes one output report carries, or the reason it carries none.
struct UnwrappedReport {
  Bytes payload;
  std::string problem;  // empty when the report is sound
};
UnwrappedReport UnwrapOutputReport(std::span<const std::uint8_t> report);

// Reply bytes as input reports of kReportSize bytes, each as full as it can be.
std::vector<Bytes> WrapInputReports(std::span<const std::uint8_t> bytes);

}  // namespace ecu_sim
