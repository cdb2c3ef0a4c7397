// The link: opening it, announcing it, and unplugging and plugging in the bridge.
#include <cstdio>

#include "gadget_link.h"
#include "pty_link.h"
#include "simulator.h"
#include "uhid_link.h"

namespace ecu_sim {

namespace {

constexpr auto kUnplugDrainLimit = std::chrono::milliseconds(2000);

}  // namespace

std::optional<StartFailure> Simulator::OpenLink() {
  std::string error;
  if (!options_.hid) {
    link_ = PtyLink::Open(error);
    if (!link_) return StartFailure{kExitFailure, error};
    log_.Event(start_, "far end " + link_->Name() + ", unit " + options_.unit.version + " needs " +
                           std::to_string(options_.NeededBaud()) + " baud");
    return std::nullopt;
  }
  BridgeFailure failure = BridgeFailure::kOther;
  const auto note = [this](const std::string& text) { log_.Event(Clock::now(), text); };
  std::unique_ptr<Bridge> bridge;
  if (options_.usb_gadget) {
    bridge = GadgetLink::Open(options_.bridge, options_.NeededBaud(), note, error, failure);
  } else {
    bridge = UhidLink::Open(options_.bridge, options_.NeededBaud(), note, error, failure);
  }
  if (!bridge) {
    const bool unsupported = failure == BridgeFailure::kUnsupported;
    return StartFailure{unsupported ? kExitNoBridgeSupport : kExitFailure, error};
  }
  bridge_ = bridge.get();
  link_ = std::move(bridge);
  log_.Event(start_, "bridge \"" + options_.bridge.name + "\" at " + link_->Name() + " (" +
                         bridge_->Where() + "), unit " + options_.unit.version +
                         " on its line at " + std::to_string(options_.NeededBaud()) + " baud");
  return std::nullopt;
}

bool Simulator::WriteLinkFile(std::string& error) const {
  if (options_.link_file.empty()) return true;
  const std::string line = link_->Name() + "\n";
  return WriteFileAtomically(options_.link_file, Bytes(line.begin(), line.end()), error);
}

void Simulator::UnplugIfDue(TimePoint now) {
  if (!unplug_due_ || now < *unplug_due_) return;
  // The last reply first, unless the program never fetches it.
  const bool delivered = outgoing_.empty() && link_->UnreadByFarEnd().value_or(0) == 0;
  if (!delivered && now < *unplug_due_ + kUnplugDrainLimit) return;
  unplug_due_.reset();
  log_.Event(now, "bridge unplugged after " + std::to_string(blocks_acknowledged_) + " blocks");
  bridge_->Unplug();
  // What was on its way through the bridge is lost with it.
  parser_.DiscardPending();
  incoming_.Clear();
  replug_at_ = now + std::chrono::milliseconds(options_.replug_after_ms);
}

void Simulator::PlugInIfDue(TimePoint now) {
  if (!replug_at_ || now < *replug_at_) return;
  replug_at_.reset();
  std::string error;
  if (!bridge_->PlugIn(error) || !WriteLinkFile(error)) {
    log_.Warning(now, "cannot plug the bridge in again: " + error);
    exit_status_ = kExitFailure;
    return;
  }
  log_.Event(Clock::now(),
             "bridge plugged in again at " + link_->Name() + " (" + bridge_->Where() + ")");
}

}  // namespace ecu_sim
