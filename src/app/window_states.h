#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class TForm1;

namespace app {

// Port names as the system at hand names them, for the states that show ports.
struct ShownPorts {
  std::vector<std::string> rs232;  // the first group's list, the first one picked
  std::vector<std::string> usb;    // the second group's list, the second one picked
  std::string errors_low;          // the port of the gauge at 40 %
  std::string errors_high;         // the port of the gauge at 50 %
};

// One state of the main window that a user meets, as a picture names it. The
// snapshot tools of the views take a picture of each (TForm1::WindowStates).
struct WindowState {
  const char* file;
  std::function<void(TForm1&)> set_up;
  // For the port settings panel: the check box state the view brings about
  // with a click through its own window, as the user would.
  std::optional<bool> autoselect;
};

}  // namespace app
