#include "app/panel_observer.h"

#include "app/panel_lines.h"

namespace app {

PanelObserver::PanelObserver(const ui::Form& form) {
  for (const ui::Control* child : form.children()) {
    if (child->kind() == ui::Kind::panel) {
      panels_.push_back(Seen{static_cast<const ui::Panel*>(child), false, {}});
    }
  }
}

void PanelObserver::Listen(Listener listener) {
  listeners_.push_back(std::move(listener));
}

void PanelObserver::Check() {
  for (Seen& seen : panels_) {
    const bool visible = seen.panel->visible;
    std::vector<std::string> lines = visible ? PanelLines(*seen.panel) : std::vector<std::string>{};
    if (visible != seen.visible) {
      Tell(*seen.panel, visible ? core::PanelChange::shown : core::PanelChange::hidden, lines);
    } else if (lines != seen.lines) {
      Tell(*seen.panel, core::PanelChange::changed, lines);
    }
    seen.visible = visible;
    seen.lines = std::move(lines);
  }
}

void PanelObserver::Pressed(const ui::Control& button) {
  for (Seen& seen : panels_) {
    bool on_panel = false;
    for (const ui::Control* c = &button; c != nullptr; c = c->parent()) on_panel |= c == seen.panel;
    if (!on_panel || !seen.visible) continue;
    seen.visible = false;
    seen.lines.clear();
    Tell(*seen.panel, core::PanelChange::hidden, seen.lines);
  }
}

void PanelObserver::Tell(const ui::Panel& panel, core::PanelChange change,
                         const std::vector<std::string>& lines) const {
  for (const Listener& listener : listeners_) listener(panel, change, lines);
}

void TracePanels(PanelObserver& observer, core::Trace& trace) {
  observer.Listen([&trace](const ui::Panel& panel, core::PanelChange change,
                           const std::vector<std::string>& lines) {
    trace.panel(panel.name(), change, lines);
  });
}

}  // namespace app
