#include "platform/common/hid_output_report.h"

#include <algorithm>
#include <cerrno>

namespace platform {

core::Result<std::vector<std::uint8_t>> PaddedOutputReport(std::span<const std::uint8_t> report,
                                                           std::size_t output_length,
                                                           bool numbered_reports,
                                                           const std::string& name) {
  // EINVAL and EMSGSIZE are what the system would say; the kernel checks
  // neither, so a wrong report would reach the device as it stands.
  const auto refused = [&](int code, const std::string& why) {
    return core::Error{"write report", name, code, why};
  };
  if (report.empty()) return refused(EINVAL, "empty report");
  if (output_length == 0) return refused(EINVAL, "the device takes no output reports");
  if (report.size() > output_length) {
    return refused(EMSGSIZE, "report of " + std::to_string(report.size()) +
                                 " bytes, longer than the device's " +
                                 std::to_string(output_length));
  }
  if (numbered_reports && report[0] == 0) return refused(EINVAL, "report ID 0");
  if (!numbered_reports && report[0] != 0) {
    return refused(EINVAL,
                   "report ID " + std::to_string(report[0]) + " on a device without report IDs");
  }
  std::vector<std::uint8_t> bytes(output_length, 0);
  std::copy(report.begin(), report.end(), bytes.begin());
  return bytes;
}

}  // namespace platform
