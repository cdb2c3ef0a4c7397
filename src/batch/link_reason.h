#pragma once

#include <string>

class TForm1;

namespace batch {

// The serial port's own words for its latest failure, made printable
// ("open /dev/ttyUSB0: Permission denied (error 13)"); empty on the HID link or
// when nothing failed since the port was last opened.
std::string LinkReason(const TForm1& form);

// Whether a message box of the window reports a write or read on the serial
// port that has just failed, so that LinkReason is its reason.
bool ReportsPortFailure(const std::string& box_text);

}  // namespace batch
