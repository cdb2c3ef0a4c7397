// The link: opening it, announcing it, and unplugging and plugging in the bridge.
#include <cstdio>

#include "pty_link.h"
#include "simulator.h"
#include "uhid_link.h"

namespace ecu_sim {

std::optional<StartFailure> Simulator::OpenLink() {
  std::string error;
  if (!options_.hid) {
    link_ = PtyLink::Open(error);
    if (!link_) return StartFailure{kExitFailure, error};
    log_.Event(start_, "far end " + link_->Name() + ", unit " + options_.unit.version + " needs " +
                           std::to_string(options_.NeededBaud()) + " baud");
    return std::nullopt;
  }
  UhidLink::OpenFailure failure = UhidLink::OpenFailure::kOther;
  auto bridge = UhidLink::Open(
      options_.bridge, options_.NeededBaud(),
      [this](const std::string& note) { log_.Event(Clock::now(), note); }, error, failure);
  if (!bridge) {
    return StartFailure{failure == UhidLink::OpenFailure::kNoUhid ? kExitNoUhid : kExitFailure,
                        error};
  }
  bridge_ = bridge.get();
  link_ = std::move(bridge);
  log_.Event(start_, "bridge \"" + options_.bridge.name + "\" at " + link_->Name() + " (" +
                         bridge_->sysfs_name() + "), unit " + options_.unit.version +
                         " on its line at " + std::to_string(options_.NeededBaud()) + " baud");
  return std::nullopt;
}

bool Simulator::WriteLinkFile(std::string& error) const {
  if (options_.link_file.empty()) return true;
  const std::string line = link_->Name() + "\n";
  return WriteFileAtomically(options_.link_file, Bytes(line.begin(), line.end()), error);
}

void Simulator::UnplugIfDue(TimePoint now) {
  if (!unplug_due_ || now < *unplug_due_ || !outgoing_.empty()) return;
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
             "bridge plugged in again at " + link_->Name() + " (" + bridge_->sysfs_name() + ")");
}

}  // namespace ecu_sim
