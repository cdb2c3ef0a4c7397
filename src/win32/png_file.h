#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win32ui {

// A picture as rows of RGB bytes, top row first.
struct Rgb8Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3
};

// The picture as a PNG file's bytes: one IDAT of stored (uncompressed) deflate
// blocks, which every reader takes; the pictures are small.
std::vector<std::uint8_t> EncodePng(const Rgb8Picture& picture);
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace win32ui
