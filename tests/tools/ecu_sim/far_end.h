#pragma once

#include <termios.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "test_image.h"

namespace ecu_sim_test {

using Bytes = std::vector<std::uint8_t>;

// How the test sets the far end of the line. Plain termios on purpose: the
// simulated unit is checked without any of the program's code.
struct LineSetup {
  speed_t speed = B115200;
  tcflag_t add_cflag = 0;  // e.g. PARENB
  tcflag_t add_lflag = 0;  // e.g. ICANON
};

// The program's side of the cable, opened on the path the simulator printed.
class FarEnd {
 public:
  FarEnd(const std::string& path, LineSetup setup);
  ~FarEnd();
  FarEnd(const FarEnd&) = delete;
  FarEnd& operator=(const FarEnd&) = delete;

  bool ok() const { return fd_ >= 0; }
  bool Configure(LineSetup setup);
  bool Write(const Bytes& bytes);
  // Reads until `count` bytes came or `timeout_ms` passed.
  Bytes Read(std::size_t count, int timeout_ms);
  // True when the line hangs up within `timeout_ms`.
  bool SeesHangUp(int timeout_ms);

 private:
  int fd_ = -1;
};

// The message with its checksum (sum of its bytes modulo 256) appended.
Bytes WithChecksum(Bytes message);
inline Bytes WithChecksum(std::string_view text) {
  return WithChecksum(Text(text));
}
// A data block request: 'B', the number byte, 1024 bytes, checksum.
Bytes BlockRequest(std::uint8_t number, const Bytes& data);
// 1024 bytes that differ from block to block.
Bytes BlockData(unsigned tag);
std::string Hex(const Bytes& bytes);

}  // namespace ecu_sim_test
