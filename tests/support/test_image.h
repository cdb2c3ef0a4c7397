#pragma once

// Firmware images and message checksums as the tests need them. Header only, and
// every sum is taken here rather than by the program, so that a fault in the
// program's sum cannot agree with itself and the end-to-end tests need none of
// the program's code.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The bytes of `text`, as a message or a file carries them.
inline std::vector<std::uint8_t> Text(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The sum modulo 256 of `bytes`: what a message carries as its last byte.
inline std::uint8_t SumOf(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

// Puts the sum (modulo 256) of every byte before the last two-byte record into that
// record's second byte, as a sound image has it. The record's first byte takes no
// part; an odd last byte lies behind the record. Files under two bytes have none.
inline void SealImage(std::vector<std::uint8_t>& bytes) {
  const std::size_t records = bytes.size() / 2;
  if (records == 0) return;
  bytes[2 * records - 1] = SumOf(std::span(bytes).first(2 * records - 2));
}

// An image of `size` bytes that starts with `head` (version text, then the finish
// wait), has varied bytes behind it and is sealed.
inline std::vector<std::uint8_t> MakeImage(std::size_t size, std::string_view head = "6MA123456") {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  for (std::size_t i = 0; i < head.size() && i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(head[i]);
  }
  SealImage(bytes);
  return bytes;
}

// `blocks` whole 1024-byte blocks and the checksum record, with `version` at byte 0
// and `finish_wait` at byte 9, where the program reads them.
inline std::vector<std::uint8_t> BlockImage(int blocks, std::string_view version,
                                            std::string_view finish_wait = "0000") {
  std::vector<std::uint8_t> bytes = MakeImage(static_cast<std::size_t>(blocks) * 1024 + 2, "");
  std::copy(version.begin(), version.end(), bytes.begin());
  std::copy(finish_wait.begin(), finish_wait.end(), bytes.begin() + 9);
  SealImage(bytes);
  return bytes;
}
