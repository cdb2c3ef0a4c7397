#pragma once

#include <cstdint>
#include <span>

namespace core {

// The message checksum: the sum modulo 256 of every byte. A request, a reply
// and a firmware image each carry it over the bytes before it, so both the
// messages and the image reader use this one sum.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

}  // namespace core
