#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/trace.h"
#include "ui/form.h"
#include "ui/panel.h"

namespace app {

// Sees a window's panels come into view with their text lines, change their
// lines while in view, and go, and tells every listener: the support trace,
// the batch front end's printing. Panels are plain objects that say nothing
// when they change, so the front end calls Check after every event it handled,
// as it does to bring its view in line.
class PanelObserver {
 public:
  // `lines`: what the panel shows as text (PanelLines); empty once it is hidden.
  using Listener = std::function<void(const ui::Panel& panel, core::PanelChange change,
                                      const std::vector<std::string>& lines)>;

  explicit PanelObserver(const ui::Form& form);

  void Listen(Listener listener);
  void Check();
  // A press hides the panel it was made on; shown again by the press itself (a
  // script's next text), it is shown anew, not changed.
  void Pressed(const ui::Control& button);

 private:
  struct Seen {
    const ui::Panel* panel = nullptr;
    bool visible = false;
    std::vector<std::string> lines;
  };

  void Tell(const ui::Panel& panel, core::PanelChange change,
            const std::vector<std::string>& lines) const;

  std::vector<Seen> panels_;
  std::vector<Listener> listeners_;
};

// Tells `trace` every change the observer sees.
void TracePanels(PanelObserver& observer, core::Trace& trace);

}  // namespace app
