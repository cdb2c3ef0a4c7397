#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// An image of `size` bytes that starts with `head` (version text, finish wait),
// has varied bytes behind it and, when it holds a last record, a correct checksum
// in that record's second byte.
inline std::vector<std::uint8_t> MakeImage(std::size_t size, std::string_view head = "6MA123456") {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  for (std::size_t i = 0; i < head.size() && i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(head[i]);
  }
  const std::size_t records = size / 2;
  if (records == 0) return bytes;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < 2 * records; ++i) sum += bytes[i];
  bytes[2 * records - 1] = static_cast<std::uint8_t>(sum);
  return bytes;
}
