#include "firmware/image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

#include "core/checksum.h"

namespace firmware {

namespace {

constexpr std::size_t records_per_block = block_size / 2;
// The 8 records that the rounding of L leaves out: an image of M whole blocks
// and its checksum record comes out at L = M − 1 with up to 7 records to spare.
constexpr std::size_t spare_records = 8;

std::int32_t LastBlockNr(std::size_t records) {
  if (records < spare_records) return 0;
  const std::size_t l = (records - spare_records) / records_per_block;
  return static_cast<std::int32_t>(
      std::min<std::size_t>(l, std::numeric_limits<std::int32_t>::max()));
}

bool IsDigit(std::uint8_t c) {
  return c >= '0' && c <= '9';
}

}  // namespace

ImageLayout InspectImage(std::span<const std::uint8_t> bytes) {
  ImageLayout layout;
  layout.records = bytes.size() / 2;
  layout.last_block_nr = LastBlockNr(layout.records);
  const auto blocks_held = bytes.size() / block_size;
  layout.blocks_complete = static_cast<std::size_t>(layout.last_block_nr) < blocks_held;
  if (layout.records == 0) return layout;
  // The first byte of the last record is neither summed nor compared.
  const std::size_t checksum_at = 2 * layout.records - 1;
  layout.checksum_stored = bytes[checksum_at];
  layout.checksum_summed = core::Checksum(bytes.first(checksum_at - 1));
  layout.checksum_ok = layout.checksum_stored == layout.checksum_summed;
  return layout;
}

std::string ImageVersion(std::span<const std::uint8_t> bytes) {
  const auto head = bytes.first(std::min(bytes.size(), version_length));
  return std::string(head.begin(), head.end());
}

bool HasFinishWait(std::string_view version) {
  return !version.empty() && (version.front() == '6' || version.front() == '8');
}

std::optional<std::int32_t> ImageFinishWait(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < finish_wait_offset + finish_wait_length) return std::nullopt;
  const auto text = bytes.subspan(finish_wait_offset, finish_wait_length);
  auto it = std::find_if(text.begin(), text.end(), [](std::uint8_t c) { return c != ' '; });
  if (it != text.end() && *it == '+') ++it;
  if (it == text.end()) return std::nullopt;
  std::int32_t value = 0;  // four digits at most: no overflow
  for (; it != text.end(); ++it) {
    if (!IsDigit(*it)) return std::nullopt;
    value = value * 10 + (*it - '0');
  }
  return value;
}

std::span<const std::uint8_t> DataBlock(std::span<const std::uint8_t> bytes, std::int32_t n) {
  if (n < 0) return {};
  const auto index = static_cast<std::size_t>(n);
  if (index >= bytes.size() / block_size) return {};
  return bytes.subspan(index * block_size, block_size);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  std::error_code ec;
  // Not a directory, and no device or pipe that could block the user interface.
  if (!std::filesystem::is_regular_file(path, ec) || ec) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > max_file_size) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return std::nullopt;
  // A file that grew between the size query and the read was being written: not an image yet.
  if (in.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
  return bytes;
}

std::optional<std::array<std::uint8_t, 1024>> ReadDataBlock(const std::string& path,
                                                            std::int32_t block_nr) {
  if (block_nr < 0) return std::nullopt;
  std::ifstream in;
  // Unbuffered: the block is read in one go, not through an 8 KiB buffer on
  // every block of the download.
  in.rdbuf()->pubsetbuf(nullptr, 0);
  in.open(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(static_cast<std::streamoff>(block_nr) * 1024);
  if (!in) return std::nullopt;
  std::array<std::uint8_t, 1024> block{};
  in.read(reinterpret_cast<char*>(block.data()), block.size());
  if (in.gcount() != static_cast<std::streamsize>(block.size())) return std::nullopt;
  return block;
}

}  // namespace firmware
