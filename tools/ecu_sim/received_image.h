#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "message.h"

namespace ecu_sim {

// The data blocks of one download, each in its slot: a block sent again replaces
// its slot instead of being appended.
class ReceivedImage {
 public:
  static constexpr std::size_t kBlockSize = 1024;

  void Clear() { data_.clear(); }
  // `index` may be at most the number of blocks held (replace one or append one).
  bool Store(std::size_t index, std::span<const std::uint8_t> block);
  std::size_t block_count() const { return data_.size() / kBlockSize; }
  const Bytes& data() const { return data_; }

 private:
  Bytes data_;
};

// Writes `bytes` to `path` through a temporary name, so a reader never sees half a file.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error);

}  // namespace ecu_sim
