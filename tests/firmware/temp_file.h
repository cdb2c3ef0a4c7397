#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>

// A file of its own in the temporary folder, removed again with the object, so
// that tests may run side by side.
class TempFile {
 public:
  TempFile() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("zek-test-" + std::to_string(random()) + std::to_string(random()) + ".bin");
  }
  ~TempFile() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  std::string path() const { return path_.string(); }

  void write(std::span<const std::uint8_t> bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::filesystem::path path_;
};
