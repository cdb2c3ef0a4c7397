#include "far_end.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

namespace ecu_sim_test {

FarEnd::FarEnd(const std::string& path, LineSetup setup) {
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ >= 0 && !Configure(setup)) {
    ::close(fd_);
    fd_ = -1;
  }
}

FarEnd::~FarEnd() {
  if (fd_ >= 0) ::close(fd_);
}

bool FarEnd::Configure(LineSetup setup) {
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return false;
  ::cfmakeraw(&t);
  t.c_cflag &= ~(CSTOPB | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD | setup.add_cflag;
  t.c_lflag |= setup.add_lflag;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return ::cfsetispeed(&t, setup.speed) == 0 && ::cfsetospeed(&t, setup.speed) == 0 &&
         ::tcsetattr(fd_, TCSANOW, &t) == 0;
}

bool FarEnd::Write(const Bytes& bytes) {
  return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

Bytes FarEnd::Read(std::size_t count, int timeout_ms) {
  Bytes got;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (got.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    pollfd p{fd_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) break;
    std::uint8_t buffer[256];
    const std::size_t want = std::min(sizeof buffer, count - got.size());
    const ssize_t n = ::read(fd_, buffer, want);
    if (n <= 0) break;
    got.insert(got.end(), buffer, buffer + n);
  }
  return got;
}

bool FarEnd::SeesHangUp(int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 20) > 0) {
      if ((p.revents & (POLLHUP | POLLERR)) != 0) return true;
      std::uint8_t byte = 0;
      const ssize_t n = ::read(fd_, &byte, 1);
      if (n == 0 || (n < 0 && errno != EAGAIN)) return true;
    }
  }
  return false;
}

Bytes WithChecksum(Bytes message) {
  unsigned sum = 0;
  for (std::uint8_t b : message) sum += b;
  message.push_back(static_cast<std::uint8_t>(sum % 256));
  return message;
}

Bytes BlockRequest(std::uint8_t number, const Bytes& data) {
  Bytes message{'B', number};
  message.insert(message.end(), data.begin(), data.end());
  return WithChecksum(std::move(message));
}

Bytes BlockData(unsigned tag) {
  Bytes data(1024);
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<std::uint8_t>((i * (2 * tag + 1) + tag * 31 + (i >> 8)) & 0xFF);
  }
  return data;
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", b);
    text += hex;
  }
  return text;
}

}  // namespace ecu_sim_test
