#pragma once

#include "scenario_main.h"

namespace vm_platform {

using vm_guest::Args;

// Each returns the number of failed checks.
// Run as an ordinary user beside a uhid bridge whose node udev (played by the
// guest script) opens up 300 ms late, and a device named in other letter case
// that stays root's: listing, access, a request and its reply, an unplug seen
// by the reader and the notices, and the bridge plugged in again.
int RunUhid(const Args& args);
// The bridge as a real USB device: its product string comes from the USB
// device, not from the HID name; a request and its reply; the USB device
// disconnected.
int RunUsb(const Args& args);

}  // namespace vm_platform
