#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Reads data block `block_nr` (bytes 1024·n to 1024·n + 1023) of an image file.
// Nothing when the file cannot be opened or does not hold the whole block.
std::optional<std::array<std::uint8_t, 1024>> ReadDataBlock(const std::string& path,
                                                            std::int32_t block_nr);
