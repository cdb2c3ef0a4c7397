#include "app/panel_tracer.h"

#include "app/panel_lines.h"

namespace app {

PanelTracer::PanelTracer(const ui::Form& form, core::Trace& trace) : trace_(trace) {
  for (const ui::Control* child : form.children()) {
    if (child->kind() == ui::Kind::panel) {
      panels_.push_back(Seen{static_cast<const ui::Panel*>(child), false, {}});
    }
  }
}

void PanelTracer::Check() {
  for (Seen& seen : panels_) {
    const bool visible = seen.panel->visible;
    std::vector<std::string> lines = visible ? PanelLines(*seen.panel) : std::vector<std::string>{};
    if (visible != seen.visible) {
      trace_.panel(seen.panel->name(),
                   visible ? core::PanelChange::shown : core::PanelChange::hidden, lines);
    } else if (lines != seen.lines) {
      trace_.panel(seen.panel->name(), core::PanelChange::changed, lines);
    }
    seen.visible = visible;
    seen.lines = std::move(lines);
  }
}

}  // namespace app
