#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/event_loop.h"
#include "link/hid_record.h"
#include "platform/hid_device.h"

namespace links {

// The window's HID device controller (`HidCtl`): the list of HID interfaces
// present, kept up to date from the system's notices, and handed out one
// device at a time. `on_device_change` runs after the list has changed, and
// once shortly after start whatever the list holds, so that the program looks
// for its devices then. Every device reports its read errors to
// `on_device_data_error`.
//
// A device that has been checked out stays listed until the end, unplugged
// when it has gone, so that whoever holds it can keep asking it; any other
// leaves the list when it goes. One plugged in again is a new device, and so
// is one that could not be opened and now can: the old record counts as
// unplugged.
class HidController {
 public:
  HidController(core::EventLoop& loop, platform::HidSystem& system);
  ~HidController();
  HidController(const HidController&) = delete;
  HidController& operator=(const HidController&) = delete;

  // The first device of the list not checked out yet, now checked out; none
  // when every device is taken.
  HidRecord* check_out();

  // Reads the list again now, as a notice would: for a device that could not
  // be opened when it came (its access set late, or another program held it)
  // and may be opened now, as such a change brings no notice.
  void look_again() { device_nodes_changed(); }

  std::size_t count() const { return devices_.size(); }
  const HidRecord& device(std::size_t index) const { return *devices_.at(index); }

  // Why the list or its notices could not be had, if they could not: the list
  // then stays as it was.
  const std::optional<core::Error>& last_error() const { return last_error_; }

  std::function<void()> on_device_change;
  HidDataErrorHandler on_device_data_error;

 private:
  // `tell_anyway`: the handler runs even when nothing arrived or left.
  void device_nodes_changed(bool tell_anyway = false);
  // Whether a device arrived or left.
  bool update_list();
  bool listed(const platform::HidDeviceInfo& info) const;

  core::EventLoop& loop_;
  platform::HidSystem& system_;
  std::vector<std::unique_ptr<HidRecord>> devices_;
  std::unique_ptr<platform::HidChangeWatch> watch_;
  core::EventLoop::Id first_pass_ = 0;
  bool updating_ = false;
  bool changed_meanwhile_ = false;
  std::optional<core::Error> last_error_;
};

}  // namespace links
