// How long opening a 1 MiB firmware image takes: the whole-file read, the layout
// and checksum test and the version text, as the open button does them.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "firmware/image.h"

namespace {

constexpr std::size_t blocks = 1024;
constexpr int repetitions = 200;

// 1024 whole blocks and the checksum record.
std::vector<std::uint8_t> MakeImage() {
  std::vector<std::uint8_t> bytes(blocks * firmware::block_size + 2);
  std::mt19937 random(12345);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  const std::string head = "6MA1234560150";
  std::copy(head.begin(), head.end(), bytes.begin());
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < bytes.size(); ++i) sum += bytes[i];
  bytes.back() = static_cast<std::uint8_t>(sum);
  return bytes;
}

std::filesystem::path WriteTempImage() {
  std::random_device random;
  const auto path =
      std::filesystem::temp_directory_path() / ("zek-bench-" + std::to_string(random()) + ".fm0");
  const auto bytes = MakeImage();
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

// One open as the program makes it; false when the image does not read as built.
bool OpenOnce(const std::string& path) {
  const auto bytes = firmware::ReadWholeFile(path);
  if (!bytes) return false;
  const auto layout = firmware::InspectImage(*bytes);
  const auto version = firmware::ImageVersion(*bytes);
  return layout.checksum_ok && static_cast<std::size_t>(layout.last_block_nr) == blocks - 1 &&
         version == "6MA123456";
}

}  // namespace

int main() {
  const auto path = WriteTempImage();
  std::vector<double> ms;
  bool ok = true;
  for (int i = 0; i < repetitions && ok; ++i) {
    const auto start = std::chrono::steady_clock::now();
    ok = OpenOnce(path.string());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    ms.push_back(took.count());
  }
  std::filesystem::remove(path);
  if (!ok) {
    std::fprintf(stderr, "image_bench: the image did not read back as written\n");
    return 1;
  }
  std::sort(ms.begin(), ms.end());
  // The worst run shows what a busy machine adds; the median is the open itself.
  std::printf(
      "open 1 MiB image (read + inspect + version), %d runs: median %.3f ms, "
      "95th percentile %.3f ms, worst %.3f ms\n",
      repetitions, ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
  return 0;
}
