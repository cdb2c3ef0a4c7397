#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "download/states.h"

// The messages exchanged with the unit: requests byte for byte, and the fields of replies.
// Replies are given as the bytes held, reply code first, checksum last.
namespace download {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t block_data_size = 1024;
inline constexpr std::size_t block_frame_size = 1027;
inline constexpr int status_reply_length = 56;
inline constexpr int fast_status_reply_length = 72;

Bytes VersionRequest();
Bytes SerialRequest();
Bytes PrepareRequest();
Bytes AccessRequest();
Bytes StatusRequest();
Bytes StartRequest(const std::string& serial_number);
Bytes FinishRequest(const std::string& serial_number);
Bytes SwitchRequest();
Bytes RestartRequest();
// 'B', the block number modulo 256, the data and the checksum of all before it.
Bytes BlockFrame(std::int32_t block_nr, std::span<const std::uint8_t, block_data_size> data);

// How many bytes of each request the HID link carries.
inline constexpr int hid_length_single = 1;
inline constexpr int hid_length_access = 6;
inline constexpr int hid_length_start_finish = 7;
inline constexpr int hid_length_switch_restart = 2;

// Reply time-outs (Timer2) in ms. Each request sets its own as it is sent, so
// that no request inherits another's: a finish wait of 0 (no limit) left in
// force would let one lost reply stop the download for ever.
inline constexpr int reply_time_out_ms = 500;
inline constexpr int restart_time_out_ms = 5000;
// The port search's probe: the time-out the first search after start-up has.
inline constexpr int probe_time_out_ms = 100;

// Fewest bytes that make a complete reply in `comm_state`; 0 where none is awaited.
int MinimumReplyLength(CommState comm_state, bool fast_baud);
// Whether the last byte held is the sum of all before it.
bool ChecksumHolds(std::span<const std::uint8_t> reply);
// Bytes 2 to n-1 (the text between code and checksum) as characters.
std::string PayloadText(std::span<const std::uint8_t> reply);
// The two-character status of a short reply ("OK", "FF", ...); empty when too short.
std::string Status(std::span<const std::uint8_t> reply);
// Bytes 2 and 3 as a big-endian number; 0 when too short.
unsigned Word(std::span<const std::uint8_t> reply, std::size_t first_byte_number);
// Engine speed in rpm from a status reply: the raw word times 10.
long EngineSpeed(std::span<const std::uint8_t> status_reply);
// Battery voltage in quarter volts above 8.0 V: the raw word of bytes 14 and 15.
unsigned BatteryRaw(std::span<const std::uint8_t> status_reply);
// 11.0 V or less refuses a download; the raw value 12 is exactly 11.0 V.
bool BatteryHighEnough(unsigned battery_raw);

}  // namespace download
