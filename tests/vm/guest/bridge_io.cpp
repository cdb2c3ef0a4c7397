#include "bridge_io.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <thread>

namespace vm_guest {

namespace {

constexpr std::size_t kReportLength = 65;
constexpr std::uint8_t kOutputReportId = 2;
constexpr std::size_t kPiece = 50;
constexpr auto kPieceGap = std::chrono::milliseconds(10);

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<long long>(0, left.count()));
}

}  // namespace

BridgeIo::BridgeIo(const std::string& node) : fd_(::open(node.c_str(), O_RDWR | O_CLOEXEC)) {
  if (fd_ < 0) error_number_ = errno;
}

BridgeIo::~BridgeIo() {
  if (fd_ >= 0) ::close(fd_);
}

bool BridgeIo::Send(std::span<const std::uint8_t> payload) {
  std::array<std::uint8_t, kReportLength> report{};
  report[0] = kOutputReportId;
  report[1] = static_cast<std::uint8_t>(payload.size());
  std::copy(payload.begin(), payload.end(), report.begin() + 2);
  const ssize_t n = ::write(fd_, report.data(), report.size());
  error_number_ = n < 0 ? errno : 0;
  return n == static_cast<ssize_t>(report.size());
}

bool BridgeIo::SendInPieces(const Bytes& request) {
  for (std::size_t at = 0; at < request.size(); at += kPiece) {
    if (at > 0) std::this_thread::sleep_for(kPieceGap);
    const std::size_t n = std::min(kPiece, request.size() - at);
    if (!Send(std::span(request).subspan(at, n))) return false;
  }
  return true;
}

void BridgeIo::TakeReport(const std::uint8_t* report, std::size_t size, Bytes& into) {
  ++reports_received_;
  if (size < 2) {
    layout_problem_ = "input report of " + std::to_string(size) + " bytes";
    return;
  }
  const std::size_t n = report[1];
  if (n > size - 2) {
    layout_problem_ = "count byte " + std::to_string(n) + " in a report of " + std::to_string(size);
  }
  into.insert(into.end(), report + 2, report + 2 + std::min(n, size - 2));
}

Bytes BridgeIo::Receive(std::size_t count, int timeout_ms) {
  Bytes bytes;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (bytes.size() < count) {
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, MsLeft(deadline)) <= 0 || (pfd.revents & POLLIN) == 0) break;
    std::array<std::uint8_t, 256> report{};
    const ssize_t n = ::read(fd_, report.data(), report.size());
    if (n <= 0) {
      error_number_ = n < 0 ? errno : 0;
      break;
    }
    TakeReport(report.data(), static_cast<std::size_t>(n), bytes);
  }
  return bytes;
}

bool BridgeIo::SeesUnplug(int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, MsLeft(deadline)) <= 0) return false;
    if ((pfd.revents & (POLLHUP | POLLERR)) != 0) return true;
    std::array<std::uint8_t, 256> report{};
    if (::read(fd_, report.data(), report.size()) < 0) return false;
  }
}

}  // namespace vm_guest
