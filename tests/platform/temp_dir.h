#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// A folder of its own under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = "/tmp/zek-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

  // Writes `text` to `rel`, making the folders on the way.
  void write(const std::string& rel, const std::string& text) const {
    const std::filesystem::path p = *this / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << text;
  }
  void mkdir(const std::string& rel) const { std::filesystem::create_directories(*this / rel); }
  void symlink(const std::string& target, const std::string& rel) const {
    std::filesystem::create_directories(std::filesystem::path(*this / rel).parent_path());
    std::filesystem::create_symlink(target, *this / rel);
  }

 private:
  std::string path_;
};
