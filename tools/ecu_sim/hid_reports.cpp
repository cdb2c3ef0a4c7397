#include "hid_reports.h"

#include <algorithm>
#include <array>

namespace ecu_sim {

namespace {

// Vendor-defined page; input report 1 and output report 2, each 64 bytes of 8 bits.
constexpr std::array<std::uint8_t, 32> kDescriptor{
    0x06, 0x00, 0xFF,  // usage page, vendor defined
    0x09, 0x01,        // usage 1
    0xA1, 0x01,        // collection, application
    0x15, 0x00,        //   logical minimum 0
    0x26, 0xFF, 0x00,  //   logical maximum 255
    0x75, 0x08,        //   report size 8 bits
    0x95, 0x40,        //   report count 64
    0x85, 0x01,        //   report ID 1
    0x09, 0x02,        //   usage 2
    0x81, 0x02,        //   input: data, variable, absolute
    0x85, 0x02,        //   report ID 2
    0x09, 0x03,        //   usage 3
    0x91, 0x02,        //   output: data, variable, absolute
    0xC0,              // end of collection
};
static_assert(kMaxPayload == 0x40 - 1);

}  // namespace

std::span<const std::uint8_t> BridgeReportDescriptor() {
  return kDescriptor;
}

UnwrappedReport UnwrapOutputReport(std::span<const std::uint8_t> report) {
  UnwrappedReport out;
  if (report.size() < 2) {
    out.problem = "output report of " + std::to_string(report.size()) + " bytes";
  } else if (report[0] != kOutputReportId) {
    out.problem = "output report with ID " + std::to_string(report[0]);
  } else if (const std::size_t n = report[1]; n > report.size() - 2) {
    out.problem = "output report says " + std::to_string(n) + " bytes but holds " +
                  std::to_string(report.size() - 2);
  } else {
    out.payload.assign(report.begin() + 2, report.begin() + 2 + static_cast<std::ptrdiff_t>(n));
  }
  return out;
}

std::vector<Bytes> WrapInputReports(std::span<const std::uint8_t> bytes) {
  std::vector<Bytes> reports;
  for (std::size_t at = 0; at < bytes.size(); at += kMaxPayload) {
    const std::size_t n = std::min(kMaxPayload, bytes.size() - at);
    Bytes report(kReportSize, 0);
    report[0] = kInputReportId;
    report[1] = static_cast<std::uint8_t>(n);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), n, report.begin() + 2);
    reports.push_back(std::move(report));
  }
  return reports;
}

}  // namespace ecu_sim
