#include "gadget_link.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "hid_reports.h"
#include "hidraw_lookup.h"

namespace ecu_sim {

namespace {

// Binding, enumeration on the host side and the hidraw node take a while on a
// slow virtual machine.
constexpr auto kNodeWait = std::chrono::seconds(10);
constexpr auto kLookupPause = std::chrono::milliseconds(5);

}  // namespace

GadgetLink::GadgetLink(std::unique_ptr<ConfigfsGadget> gadget, std::string serial,
                       unsigned uart_baud, Note note)
    : gadget_(std::move(gadget)),
      serial_(std::move(serial)),
      uart_baud_(uart_baud),
      note_(std::move(note)) {}

std::unique_ptr<GadgetLink> GadgetLink::Open(const BridgeIdentity& identity, unsigned uart_baud,
                                             Note note, std::string& error,
                                             BridgeFailure& failure) {
  // Unique, so that our device is told from any other on the host side.
  const std::string serial = "zek-ecu-sim." + std::to_string(::getpid());
  auto gadget = ConfigfsGadget::Make(identity, serial, BridgeReportDescriptor(), error, failure);
  if (!gadget) return nullptr;
  failure = BridgeFailure::kOther;
  std::unique_ptr<GadgetLink> link(
      new GadgetLink(std::move(gadget), serial, uart_baud, std::move(note)));
  if (!link->PlugIn(error)) return nullptr;
  return link;
}

bool GadgetLink::WaitForNodes(std::string& error) {
  const auto deadline = std::chrono::steady_clock::now() + kNodeWait;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!hidg_.valid()) {
      const std::string hidg = gadget_->HidgNode();
      if (!hidg.empty()) hidg_ = UniqueFd(::open(hidg.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    }
    const auto found = FindHidrawOnUsbSerial(serial_);
    if (hidg_.valid() && found) {
      sysfs_name_ = found->sysfs_name;
      node_ = found->node;
      return true;
    }
    std::this_thread::sleep_for(kLookupPause);
  }
  error = std::string("the USB gadget was plugged in but ") +
          (hidg_.valid() ? "no hidraw node appeared on the host side (usbhid, hid-generic?)"
                         : "its /dev/hidg node did not appear") +
          " within " + std::to_string(std::chrono::seconds(kNodeWait).count()) + " s";
  return false;
}

bool GadgetLink::PlugIn(std::string& error) {
  if (plugged_) return true;
  node_.clear();
  sysfs_name_.clear();
  if (!gadget_->Bind(error)) return false;
  if (!WaitForNodes(error)) {
    Unplug();
    return false;
  }
  plugged_ = true;
  return true;
}

// The gadget's character device goes with the binding.
void GadgetLink::Unplug() {
  hidg_.Reset();
  gadget_->Unbind();
  plugged_ = false;
}

void GadgetLink::Pull() {
  Unplug();
  gadget_.reset();
}

Link::ReadOutcome GadgetLink::Read(Bytes& into) {
  std::array<std::uint8_t, 2 * kReportSize> report{};
  const ssize_t n = ::read(hidg_.get(), report.data(), report.size());
  if (n < 0) {
    if (errno == EAGAIN || errno == EINTR) return ReadOutcome::kNothing;
    note_(std::string("reading the gadget: ") + std::strerror(errno));
    return ReadOutcome::kHangUp;
  }
  const UnwrappedReport unwrapped =
      UnwrapOutputReport(std::span(report.data(), static_cast<std::size_t>(n)));
  if (!unwrapped.problem.empty()) {
    note_("ignored an " + unwrapped.problem);
  } else {
    into.insert(into.end(), unwrapped.payload.begin(), unwrapped.payload.end());
  }
  return ReadOutcome::kData;
}

// The gadget takes one report at a time; the rest waits until the host has
// fetched it (the caller waits for the descriptor to be writable).
std::size_t GadgetLink::Write(std::span<const std::uint8_t> bytes) {
  std::size_t taken = 0;
  for (const Bytes& report : WrapInputReports(bytes)) {
    const ssize_t n = ::write(hidg_.get(), report.data(), report.size());
    if (n < 0 && errno == EAGAIN) return taken;
    if (n != static_cast<ssize_t>(report.size())) {
      note_(std::string("input report lost: ") + std::strerror(errno));
    }
    taken += report[1];
  }
  return taken;
}

std::optional<std::size_t> GadgetLink::UnreadByFarEnd() const {
  if (!hidg_.valid()) return std::nullopt;
  pollfd pfd{hidg_.get(), POLLOUT, 0};
  if (::poll(&pfd, 1, 0) < 0) return std::nullopt;
  return (pfd.revents & POLLOUT) != 0 ? 0 : 1;
}

}  // namespace ecu_sim
