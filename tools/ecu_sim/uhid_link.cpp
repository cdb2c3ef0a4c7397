#include "uhid_link.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>

#include "hid_reports.h"
#include "hidraw_lookup.h"

namespace ecu_sim {

namespace {

// The kernel adds the device and binds its driver in the background; on a slow
// virtual machine that takes a while.
constexpr auto kNodeWait = std::chrono::seconds(10);
constexpr auto kLookupPause = std::chrono::milliseconds(5);

void CopyText(std::uint8_t* field, std::size_t size, const std::string& text) {
  std::memcpy(field, text.data(), std::min(size - 1, text.size()));
}

}  // namespace

UhidLink::UhidLink(BridgeIdentity identity, unsigned uart_baud, Note note, UniqueFd uhid)
    : identity_(std::move(identity)),
      uart_baud_(uart_baud),
      note_(std::move(note)),
      uhid_(std::move(uhid)) {}

UhidLink::~UhidLink() {
  Unplug();
}

std::unique_ptr<UhidLink> UhidLink::Open(BridgeIdentity identity, unsigned uart_baud, Note note,
                                         std::string& error, BridgeFailure& failure) {
  UniqueFd uhid(::open(identity.uhid_path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
  if (!uhid.valid()) {
    const int code = errno;
    failure =
        code == ENOENT || code == ENODEV ? BridgeFailure::kUnsupported : BridgeFailure::kOther;
    error = identity.uhid_path + ": " + std::strerror(code);
    if (failure == BridgeFailure::kUnsupported) {
      error += " (this kernel offers no uhid: load the uhid module, or run in a virtual machine)";
    }
    return nullptr;
  }
  std::unique_ptr<UhidLink> link(
      new UhidLink(std::move(identity), uart_baud, std::move(note), std::move(uhid)));
  failure = BridgeFailure::kOther;
  if (!link->PlugIn(error)) return nullptr;
  return link;
}

bool UhidLink::Send(const uhid_event& event) {
  return ::write(uhid_.get(), &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}

bool UhidLink::Create(std::string& error) {
  // The serial number stays across replugs, as a real bridge's does: Windows
  // then names the device plugged in again by the same path.
  uniq_ = "zek-ecu-sim." + std::to_string(::getpid());
  const auto descriptor = BridgeReportDescriptor();
  auto event = std::make_unique<uhid_event>();
  event->type = UHID_CREATE2;
  uhid_create2_req& req = event->u.create2;
  CopyText(req.name, sizeof req.name, identity_.name);
  CopyText(req.phys, sizeof req.phys, "zek-ecu-sim");
  CopyText(req.uniq, sizeof req.uniq, uniq_);
  req.rd_size = static_cast<std::uint16_t>(descriptor.size());
  std::copy(descriptor.begin(), descriptor.end(), req.rd_data);
  req.bus = BUS_USB;
  req.vendor = identity_.vendor;
  req.product = identity_.product;
  if (!Send(*event)) {
    error = "cannot create the bridge: " + std::string(std::strerror(errno));
    return false;
  }
  plugged_ = true;
  started_ = false;
  return true;
}

// Our first line names the node, so whoever reads it must find the node there.
bool UhidLink::WaitForNode(std::string& error) {
  const auto deadline = std::chrono::steady_clock::now() + kNodeWait;
  while (std::chrono::steady_clock::now() < deadline) {
    // Someone may write to the node before we name it; keep what they sent.
    while (Read(early_) == ReadOutcome::kData) {
    }
    const auto found = FindHidDeviceByUniq(uniq_);
    if (found) sysfs_name_ = found->sysfs_name;
    if (started_ && found && !found->node.empty()) {
      node_ = found->node;
      return true;
    }
    std::this_thread::sleep_for(kLookupPause);
  }
  error = "the bridge was created (" + (sysfs_name_.empty() ? uniq_ : sysfs_name_) +
          ") but no hidraw node appeared within " +
          std::to_string(std::chrono::seconds(kNodeWait).count()) +
          " s: is the hid-generic module loaded?";
  return false;
}

bool UhidLink::PlugIn(std::string& error) {
  if (plugged_) return true;
  early_.clear();
  node_.clear();
  sysfs_name_.clear();
  if (!Create(error)) return false;
  if (WaitForNode(error)) return true;
  Unplug();
  return false;
}

void UhidLink::Unplug() {
  if (!plugged_ || !uhid_.valid()) return;
  auto event = std::make_unique<uhid_event>();
  event->type = UHID_DESTROY;
  Send(*event);
  plugged_ = false;
  started_ = false;
  // The kernel tells of the closes and the stop while it takes the device away;
  // reading them now keeps them apart from the next device's.
  Bytes lost;
  while (Read(lost) == ReadOutcome::kData) {
  }
}

void UhidLink::Pull() {
  Unplug();
  uhid_.Reset();
}

Link::ReadOutcome UhidLink::Read(Bytes& into) {
  if (!early_.empty() && &into != &early_) {
    into.insert(into.end(), early_.begin(), early_.end());
    early_.clear();
    return ReadOutcome::kData;
  }
  auto event = std::make_unique<uhid_event>();
  const ssize_t n = ::read(uhid_.get(), event.get(), sizeof *event);
  if (n < 0) {
    if (errno == EAGAIN || errno == EINTR) return ReadOutcome::kNothing;
    note_(std::string("reading uhid: ") + std::strerror(errno));
    return ReadOutcome::kHangUp;
  }
  if (static_cast<std::size_t>(n) < sizeof event->type) return ReadOutcome::kNothing;
  HandleEvent(*event, static_cast<std::size_t>(n), into);
  return ReadOutcome::kData;
}

void UhidLink::HandleEvent(const uhid_event& event, std::size_t length, Bytes& into) {
  switch (event.type) {
    case UHID_START:
      started_ = true;
      break;
    case UHID_OPEN:
      note_("the program opened " + node_);
      break;
    case UHID_CLOSE:
      note_("the program closed " + node_);
      break;
    case UHID_OUTPUT: {
      const std::size_t size = std::min<std::size_t>(event.u.output.size, UHID_DATA_MAX);
      if (length < offsetof(uhid_event, u.output.data) + size) break;
      const UnwrappedReport report = UnwrapOutputReport(std::span(event.u.output.data, size));
      if (!report.problem.empty()) {
        note_("ignored an " + report.problem);
      } else {
        into.insert(into.end(), report.payload.begin(), report.payload.end());
      }
      break;
    }
    case UHID_GET_REPORT:
    case UHID_SET_REPORT:
      RefuseReportRequest(event);
      break;
    default:
      break;
  }
}

// The bridge has no feature reports; answering at once spares the asker the
// kernel's time-out.
void UhidLink::RefuseReportRequest(const uhid_event& event) {
  auto reply = std::make_unique<uhid_event>();
  if (event.type == UHID_GET_REPORT) {
    reply->type = UHID_GET_REPORT_REPLY;
    reply->u.get_report_reply.id = event.u.get_report.id;
    reply->u.get_report_reply.err = EIO;
  } else {
    reply->type = UHID_SET_REPORT_REPLY;
    reply->u.set_report_reply.id = event.u.set_report.id;
    reply->u.set_report_reply.err = EIO;
  }
  Send(*reply);
  note_("refused a report request");
}

std::size_t UhidLink::Write(std::span<const std::uint8_t> bytes) {
  if (!plugged_) return 0;
  auto event = std::make_unique<uhid_event>();
  for (const Bytes& report : WrapInputReports(bytes)) {
    *event = {};
    event->type = UHID_INPUT2;
    event->u.input2.size = static_cast<std::uint16_t>(report.size());
    std::copy(report.begin(), report.end(), event->u.input2.data);
    // Lost like bytes a bridge cannot pass on; waiting would not change the kernel's mind.
    if (!Send(*event)) note_(std::string("input report lost: ") + std::strerror(errno));
  }
  return bytes.size();
}

}  // namespace ecu_sim
