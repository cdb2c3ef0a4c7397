#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Port configuration files (com.ini, com_2.ini): despite the name, binary files of
// 21-byte records, a length byte followed by 20 bytes of port name; only the first
// record counts. No header, checksum or line end.
namespace config {

inline constexpr std::size_t port_record_size = 21;
inline constexpr std::size_t port_name_capacity = 20;
inline constexpr std::string_view default_port_name = "COM1";

using PortRecord = std::array<std::uint8_t, port_record_size>;

// The port name of the first record. Nothing when the file is shorter than one
// record, or when its length byte is above 20: such a record was not written by
// this program, and a name cut to 20 characters would open some other port.
std::optional<std::string> ParsePortRecord(std::span<const std::uint8_t> file_bytes);

// One record holding `name` cut to its first 20 characters; the bytes behind the
// name are zero.
PortRecord MakePortRecord(std::string_view name);

// Reads the first record of the file at `path`. The file is opened for reading
// only, so a file that may be read but not written reads fine. Nothing when it is
// missing, not a regular file, too short or holds an invalid record.
std::optional<std::string> ReadPortFile(const std::string& path);

// Replaces the content of the file at `path` with exactly one record for `name`.
// False when the file cannot be created or written.
bool WritePortFile(const std::string& path, std::string_view name);

// The port named on the command line for when a port configuration file cannot
// be read: "-1" … "-9" as the first or second argument chooses "COM1" … "COM9";
// of two such arguments the higher number wins.
std::optional<std::string> PortFromArguments(const std::vector<std::string>& args);

}  // namespace config
