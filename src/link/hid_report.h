#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace links {

// What the bridge calls itself, compared whole and letter for letter.
inline constexpr std::u16string_view bridge_product = u"HIDtoUART ZEK";
// The report ID of the bridge's output report.
inline constexpr std::uint8_t bridge_output_report = 0x02;

// The bridge's output report, for the HID link: report ID 0x02, the payload length n, n request
// bytes, zeros to the end. A request shorter than n (a start request with a
// short serial number) is padded with zeros rather than read past its end.
inline constexpr std::size_t hid_report_size = 65;
inline constexpr std::size_t hid_max_payload = 63;

std::array<std::uint8_t, hid_report_size> OutputReport(std::span<const std::uint8_t> request,
                                                       std::size_t n);

// The unit's bytes in an input report's data (the bytes after its report ID):
// as many as its first byte counts, but never more than the report holds.
std::span<const std::uint8_t> InputPayload(std::span<const std::uint8_t> data);

// A data block goes out in pieces paced by Timer1: 20 of 50 bytes, then the
// last 27 (the end of the data and the checksum) with the reply timer.
inline constexpr int block_piece_size = 50;
inline constexpr int block_full_pieces = 20;
inline constexpr int block_last_piece_size = 27;

}  // namespace links
