#include "firmware/block_reader.h"

#include <fstream>

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
