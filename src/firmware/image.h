#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Firmware images: the memory image of one unit's firmware, read as 16-bit
// records (low byte first, so every field is a plain byte offset), cut into
// 1024-byte data blocks, with a 9-character version text at its start and a
// checksum byte in the second byte of its last record.
namespace firmware {

inline constexpr std::size_t block_size = 1024;
inline constexpr std::size_t version_length = 9;
inline constexpr std::size_t finish_wait_offset = 9;
inline constexpr std::size_t finish_wait_length = 4;
// No unit's firmware comes near this; a larger file is a wrong choice in the
// file dialog and is refused as unreadable instead of being pulled into memory.
inline constexpr std::uintmax_t max_file_size = 64u * 1024 * 1024;

struct ImageLayout {
  std::size_t records = 0;           // R: the size divided by 2, rounded down
  std::int32_t last_block_nr = 0;    // L = (R − 8) / 512, rounded toward zero (0 when R < 8)
  bool checksum_ok = false;          // sum of bytes 0 … 2R−3 modulo 256 equals byte 2R−1;
                                     // false when R = 0: there is no checksum byte
  std::uint8_t checksum_stored = 0;  // byte 2R−1 (0 when R = 0)
  std::uint8_t checksum_summed = 0;  // sum of bytes 0 … 2R−3 modulo 256
  bool blocks_complete = false;      // the file holds blocks 0 … L whole
};

// The checks made on an image of `bytes` (the whole file).
ImageLayout InspectImage(std::span<const std::uint8_t> bytes);

// The version text: the first 9 bytes (fewer when the file is shorter).
std::string ImageVersion(std::span<const std::uint8_t> bytes);

// The finish wait held in bytes 9 to 12 (tenths of a second). The four characters
// are taken as a decimal integer the way a usual text-to-integer conversion does:
// leading blanks and one "+" are allowed, then at least one digit "0" to "9", and
// nothing else, not even a trailing blank. A "-" is refused: a negative wait is no
// time the finish time-out can run for. Nothing when the file is shorter than 13
// bytes or the text is not such an integer.
std::optional<std::int32_t> ImageFinishWait(std::span<const std::uint8_t> bytes);

// Data block n: bytes 1024·n to 1024·n + 1023; an empty span when the file does not hold it whole.
std::span<const std::uint8_t> DataBlock(std::span<const std::uint8_t> bytes, std::int32_t n);

// Reads a whole file in one bulk read. Nothing when it is not a regular file, is
// larger than `max_file_size`, or cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Reads data block `block_nr` (bytes 1024·n to 1024·n + 1023) of an image file.
// Nothing when the file cannot be opened or does not hold the whole block.
std::optional<std::array<std::uint8_t, 1024>> ReadDataBlock(const std::string& path,
                                                            std::int32_t block_nr);

}  // namespace firmware
