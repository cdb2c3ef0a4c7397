#pragma once

#include <string>
#include <vector>

#include "app/panel_observer.h"
#include "app/window.h"
#include "batch/console.h"

namespace batch {

// Shows the window's changes as lines of text. Each panel the observer sees
// come into view, or change its texts while in view, has its non-empty text
// lines printed, the offline panel with the link's last error; the standing
// groups (file and unit information) and the gauge are left to ReadOut and the
// progress printer. The window's information lines, the link error count and
// "Please wait" are printed when they change. With JSON events, each panel
// printed is a panel event, and the file's and the unit's information file and
// unit events.
class PanelPrinter {
 public:
  PanelPrinter(const app::Window& window, app::PanelObserver& observer, Console& console);

  // The information lines; the panels come from the observer.
  void CheckReadout();

 private:
  void OnPanel(const ui::Panel& panel, core::PanelChange change,
               const std::vector<std::string>& lines);

  const app::Window& window_;
  Console& console_;
  std::vector<std::string> readout_seen_;
};

}  // namespace batch
