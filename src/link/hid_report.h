#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace links {

// The bridge's output report, for the HID link: report ID 0x02, the payload length n, n request
// bytes, zeros to the end. A request shorter than n (a start request with a
// short serial number) is padded with zeros rather than read past its end.
inline constexpr std::size_t hid_report_size = 65;
inline constexpr std::size_t hid_max_payload = 63;

std::array<std::uint8_t, hid_report_size> OutputReport(std::span<const std::uint8_t> request,
                                                       std::size_t n);

}  // namespace links
