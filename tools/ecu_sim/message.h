#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ecu_sim {

using Bytes = std::vector<std::uint8_t>;

// Sum of the bytes modulo 256: the last byte of every request and reply.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

// `code`, the payload, then the checksum of everything before it.
Bytes ChecksummedReply(char code, std::span<const std::uint8_t> payload);
Bytes TextReply(char code, std::string_view text);
Bytes ValueReply(char code, std::uint16_t value);

// True when the last byte is the checksum of the bytes before it.
bool HasValidChecksum(std::span<const std::uint8_t> message);

}  // namespace ecu_sim
