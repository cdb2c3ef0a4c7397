#pragma once

#include <string>

#include "app/window.h"

namespace batch {

// The link's own words for its latest failure, made printable: the serial
// port's ("open /dev/ttyUSB0: Permission denied (error 13)") or the HID
// bridge's ("write report /dev/hidraw0: the device is no longer plugged in"),
// or that no bridge was found; empty when nothing failed since the port was
// last opened.
std::string LinkReason(const app::LinkFacts& link);

// Where the unit is reached, for messages: the serial port's name, or the USB HID bridge.
std::string UnitPlace(const app::LinkFacts& link);

// Whether a message box of the window reports a write or read on the link
// that has just failed, or a request with no bridge to take it, so that
// LinkReason is its reason.
bool ReportsPortFailure(const std::string& box_text);

}  // namespace batch
