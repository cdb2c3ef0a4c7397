#pragma once

#include <string>
#include <vector>

#include "core/trace.h"
#include "ui/form.h"
#include "ui/panel.h"

namespace app {

// Tells a trace whenever one of a window's panels comes into view with its
// text lines, changes its lines while in view, or goes. Panels are plain
// objects that say nothing when they change, so the front end calls Check
// after every event it handled, as it does to bring its view in line.
class PanelTracer {
 public:
  PanelTracer(const ui::Form& form, core::Trace& trace);

  void Check();

 private:
  struct Seen {
    const ui::Panel* panel = nullptr;
    bool visible = false;
    std::vector<std::string> lines;
  };

  core::Trace& trace_;
  std::vector<Seen> panels_;
};

}  // namespace app
