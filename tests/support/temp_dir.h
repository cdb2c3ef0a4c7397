#pragma once

// Header only, so that tests which link none of the program's code (the simulated
// unit's, the end-to-end ones) can use it as well.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A folder of its own in the temporary folder, removed with everything in it, so
// that tests may run side by side.
class TempDir {
 public:
  // A new name each time: create_directory tells whether the folder is ours.
  TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      const auto candidate = base / ("zek-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate)) {
        path_ = candidate.string();
        return;
      }
    }
    throw std::runtime_error("TempDir: no free name");
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

  // Writes `text` to `rel`, making the folders on the way; returns its path.
  std::string write(const std::string& rel, const std::string& text) const {
    return write(rel, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  std::string write(const std::string& rel, std::span<const std::uint8_t> bytes) const {
    const std::filesystem::path p = *this / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }
  void mkdir(const std::string& rel) const { std::filesystem::create_directories(*this / rel); }
  void symlink(const std::string& target, const std::string& rel) const {
    std::filesystem::create_directories(std::filesystem::path(*this / rel).parent_path());
    std::filesystem::create_symlink(target, *this / rel);
  }

 private:
  std::string path_;
};

// Every byte of the file at `path`; nothing when it cannot be read.
inline std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string FileText(const std::string& path) {
  const std::vector<std::uint8_t> bytes = FileBytes(path);
  return {bytes.begin(), bytes.end()};
}
