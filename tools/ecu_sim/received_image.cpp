#include "received_image.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ecu_sim {

bool ReceivedImage::Store(std::size_t index, std::span<const std::uint8_t> block) {
  if (block.size() != kBlockSize || index > block_count()) return false;
  if (index == block_count()) data_.resize(data_.size() + kBlockSize);
  std::copy(block.begin(), block.end(), data_.begin() + index * kBlockSize);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
  const std::string temp = path + ".part";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) {
    error = temp + ": " + std::strerror(errno);
    return false;
  }
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
    error = path + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace ecu_sim
