#include "link/hid_controller.h"

#include <algorithm>

namespace links {

namespace {

bool GainedAccess(const HidRecord& device, const platform::HidDeviceInfo& now) {
  return !device.read_write_access() && now.access == platform::HidAccess::read_write;
}

}  // namespace

HidController::HidController(core::EventLoop& loop, platform::HidSystem& system)
    : loop_(loop), system_(system) {
  auto watch = system_.watch_changes([this] { device_nodes_changed(); });
  if (watch) {
    watch_ = std::move(*watch);
  } else {
    last_error_ = watch.error();  // no notices: the list stays as the first pass finds it
  }
  // Handled once the loop runs, so that the owner has set its handlers by then.
  first_pass_ = loop_.schedule(0, [this] {
    first_pass_ = 0;
    device_nodes_changed(true);
  });
}

HidController::~HidController() {
  loop_.cancel(first_pass_);
}

HidRecord* HidController::check_out() {
  for (const auto& device : devices_) {
    if (device->checked_out()) continue;
    device->check_out();
    return device.get();
  }
  return nullptr;
}

// The list-changed handler may keep the loop running (a message box), so a
// notice can come while the list is being updated: the list is then read once
// more afterwards rather than the notice being lost.
void HidController::device_nodes_changed(bool tell_anyway) {
  if (updating_) {
    changed_meanwhile_ = true;
    return;
  }
  updating_ = true;
  do {
    changed_meanwhile_ = false;
    const bool changed = update_list();
    if ((changed || tell_anyway) && on_device_change) on_device_change();
    tell_anyway = false;
  } while (changed_meanwhile_);
  updating_ = false;
}

bool HidController::update_list() {
  auto present = system_.list();
  if (!present) {
    last_error_ = present.error();
    return false;
  }
  bool changed = false;
  for (auto& device : devices_) {
    if (!device->plugged_in()) continue;
    const auto now = std::find_if(present->begin(), present->end(),
                                  [&](const auto& info) { return info.id == device->info().id; });
    if (now != present->end() && !GainedAccess(*device, *now)) continue;
    device->unplug();
    changed = true;
  }
  std::erase_if(devices_, [](const auto& d) { return !d->plugged_in() && !d->checked_out(); });
  for (auto& info : *present) {
    if (listed(info)) continue;
    devices_.push_back(std::make_unique<HidRecord>(
        system_, std::move(info), [this](HidRecord& device, const core::Error& error) {
          if (on_device_data_error) on_device_data_error(device, error);
        }));
    changed = true;
  }
  return changed;
}

bool HidController::listed(const platform::HidDeviceInfo& info) const {
  return std::any_of(devices_.begin(), devices_.end(), [&](const auto& device) {
    return device->plugged_in() && device->info().id == info.id;
  });
}

}  // namespace links
