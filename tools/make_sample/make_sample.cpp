// Writes a firmware image for demonstrations and tests: a version text, an
// optional finish wait, made-up firmware bytes, and the checksum record.
//
//   zek-make-sample FILE VERSION BLOCKS [FINISH_WAIT]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: %s FILE VERSION BLOCKS [FINISH_WAIT]\n", argv[0]);
    return 2;
  }
  const std::string version = argv[2];
  const long blocks = std::strtol(argv[3], nullptr, 10);
  const std::string wait = argc == 5 ? argv[4] : "0000";
  if (version.size() != 9 || blocks < 2 || blocks > 4096 || wait.size() != 4) {
    std::fprintf(stderr, "%s: VERSION is 9 characters, BLOCKS 2 to 4096, FINISH_WAIT 4 digits\n",
                 argv[0]);
    return 2;
  }
  std::vector<std::uint8_t> image(static_cast<std::size_t>(blocks) * 1024);
  std::uint32_t x = 0x2545F491u;  // xorshift: the same bytes on every build
  for (auto& b : image) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<std::uint8_t>(x);
  }
  std::copy(version.begin(), version.end(), image.begin());
  std::copy(wait.begin(), wait.end(), image.begin() + 9);
  unsigned sum = 0;
  for (std::uint8_t b : image) sum += b;
  image.push_back(0);
  image.push_back(static_cast<std::uint8_t>(sum & 0xFF));
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()),
            static_cast<std::streamsize>(image.size()));
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
