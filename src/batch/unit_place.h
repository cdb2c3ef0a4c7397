#pragma once

#include <string>

class TForm1;

namespace batch {

// Where the unit is reached, for messages: the serial port's name, or the USB HID bridge.
std::string UnitPlace(const TForm1& form);

}  // namespace batch
