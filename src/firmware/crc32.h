#pragma once

#include <cstdint>
#include <span>

namespace firmware {

// The CRC-32 of `bytes` as zip, PNG and `crc32` compute it (reflected
// polynomial 0xEDB88320, all ones in and out): what a technician's own tools
// show for the same file.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace firmware
