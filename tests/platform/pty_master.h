#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// The near end of a pseudo-terminal, standing in for the unit: the program
// opens the far end by its /dev/pts/N name.
class PtyMaster {
 public:
  PtyMaster() {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    char name[64];
    if (::ptsname_r(fd_, name, sizeof name) != 0) throw std::runtime_error("ptsname_r failed");
    far_name_ = name;
  }
  ~PtyMaster() { close(); }
  PtyMaster(const PtyMaster&) = delete;
  PtyMaster& operator=(const PtyMaster&) = delete;

  int fd() const { return fd_; }
  const std::string& far_name() const { return far_name_; }

  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  bool write(const std::vector<std::uint8_t>& bytes) const {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Reads until `want` bytes came or `timeout_ms` passed without any.
  std::vector<std::uint8_t> read(std::size_t want, int timeout_ms = 2000) const {
    std::vector<std::uint8_t> got;
    std::uint8_t buf[4096];
    while (got.size() < want) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, timeout_ms) <= 0) break;
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      got.insert(got.end(), buf, buf + n);
    }
    return got;
  }

 private:
  int fd_ = -1;
  std::string far_name_;
};
