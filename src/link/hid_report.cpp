#include "link/hid_report.h"

#include <algorithm>

namespace links {

std::array<std::uint8_t, hid_report_size> OutputReport(std::span<const std::uint8_t> request,
                                                       std::size_t n) {
  std::array<std::uint8_t, hid_report_size> report{};
  n = std::min(n, hid_max_payload);
  report[0] = bridge_output_report;
  report[1] = static_cast<std::uint8_t>(n);
  const std::size_t copied = std::min(n, request.size());
  std::copy_n(request.begin(), copied, report.begin() + 2);
  return report;
}

std::span<const std::uint8_t> InputPayload(std::span<const std::uint8_t> data) {
  if (data.empty()) return {};
  const std::size_t n = std::min<std::size_t>(data[0], data.size() - 1);
  return data.subspan(1, n);
}

}  // namespace links
