#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/result.h"

namespace platform {

// The bytes to write for `report` on a device whose output reports are
// `output_length` bytes (the shape of platform/hid_device.h); `name` names the
// device in errors. Shared by every system's write_report.
core::Result<std::vector<std::uint8_t>> PaddedOutputReport(std::span<const std::uint8_t> report,
                                                           std::size_t output_length,
                                                           bool numbered_reports,
                                                           const std::string& name);

}  // namespace platform
