#include "config/port_record.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace config {

std::optional<std::string> ParsePortRecord(std::span<const std::uint8_t> file_bytes) {
  if (file_bytes.size() < port_record_size) return std::nullopt;
  const std::size_t length = file_bytes[0];
  if (length > port_name_capacity) return std::nullopt;
  const auto name = file_bytes.subspan(1, length);
  return std::string(name.begin(), name.end());
}

PortRecord MakePortRecord(std::string_view name) {
  PortRecord record{};
  const auto kept = name.substr(0, port_name_capacity);
  record[0] = static_cast<std::uint8_t>(kept.size());
  std::copy(kept.begin(), kept.end(), record.begin() + 1);
  return record;
}

std::optional<std::string> ReadPortFile(const std::string& path) {
  std::error_code ec;
  // A device or pipe in its place could block the user interface.
  if (!std::filesystem::is_regular_file(path, ec) || ec) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  PortRecord record{};
  in.read(reinterpret_cast<char*>(record.data()), record.size());
  if (in.gcount() != static_cast<std::streamsize>(record.size())) return std::nullopt;
  return ParsePortRecord(record);
}

bool WritePortFile(const std::string& path, std::string_view name) {
  const PortRecord record = MakePortRecord(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(record.data()), record.size());
  out.close();
  return !out.fail();
}

std::optional<std::string> PortFromArguments(const std::vector<std::string>& args) {
  std::optional<std::string> port;
  for (char n = '1'; n <= '9'; ++n) {
    const std::string wanted{'-', n};
    for (std::size_t i = 0; i < args.size() && i < 2; ++i) {
      if (args[i] == wanted) port = std::string("COM") + n;
    }
  }
  return port;
}

}  // namespace config
