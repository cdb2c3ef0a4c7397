#pragma once

#include <string>

#include "ui/control.h"

namespace win32ui {

// Everything a component's drawing depends on, but its place, in one string:
// when it changes, the component is drawn again.
std::string LookOf(const ui::Control& c, bool focused);

}  // namespace win32ui
