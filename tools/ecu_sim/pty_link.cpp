#include "pty_link.h"

#include <fcntl.h>
#include <sys/ioctl.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace ecu_sim {

namespace {

std::string SystemError(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

PtyLink::PtyLink(UniqueFd master, UniqueFd far_end, std::string path)
    : master_(std::move(master)), far_end_(std::move(far_end)), far_end_path_(std::move(path)) {}

std::unique_ptr<PtyLink> PtyLink::Open(std::string& error) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
  if (!master.valid()) {
    error = SystemError("posix_openpt");
    return nullptr;
  }
  if (::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0) {
    error = SystemError("grantpt/unlockpt");
    return nullptr;
  }
  std::array<char, 256> name{};
  if (::ptsname_r(master.get(), name.data(), name.size()) != 0) {
    error = SystemError("ptsname");
    return nullptr;
  }
  UniqueFd far_end(::open(name.data(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!far_end.valid()) {
    error = SystemError(name.data());
    return nullptr;
  }
  ::fcntl(master.get(), F_SETFD, FD_CLOEXEC);
  return std::unique_ptr<PtyLink>(
      new PtyLink(std::move(master), std::move(far_end), std::string(name.data())));
}

PtyLink::ReadOutcome PtyLink::Read(Bytes& into) {
  std::array<std::uint8_t, 4096> chunk{};
  const ssize_t n = ::read(master_.get(), chunk.data(), chunk.size());
  if (n > 0) {
    into.insert(into.end(), chunk.begin(), chunk.begin() + n);
    return ReadOutcome::kData;
  }
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return ReadOutcome::kNothing;
  // EIO: no descriptor of the far end is open (we hold one, so only briefly, if ever).
  return ReadOutcome::kHangUp;
}

std::size_t PtyLink::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || !master_.valid()) return 0;
  const ssize_t n = ::write(master_.get(), bytes.data(), bytes.size());
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::optional<LineSettings> PtyLink::Line() const {
  return ReadLineSettings(far_end_.valid() ? far_end_.get() : master_.get());
}

std::string PtyLink::LineProblem(unsigned needed_baud) const {
  const auto line = Line();
  if (!line) return "line settings cannot be read";
  return ecu_sim::LineProblem(*line, needed_baud);
}

std::optional<unsigned> PtyLink::LineBaud() const {
  const auto line = Line();
  if (!line) return std::nullopt;
  return line->baud;
}

std::optional<std::size_t> PtyLink::UnreadByFarEnd() const {
  int queued = 0;
  if (!far_end_.valid() || ::ioctl(far_end_.get(), TIOCINQ, &queued) != 0) return std::nullopt;
  return static_cast<std::size_t>(queued);
}

void PtyLink::Pull() {
  master_.Reset();
  far_end_.Reset();
}

}  // namespace ecu_sim
