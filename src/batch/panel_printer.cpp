#include "batch/panel_printer.h"

#include "app/panel_lines.h"
#include "batch/link_reason.h"
#include "batch/printable.h"

namespace batch {

PanelPrinter::PanelPrinter(const app::Window& window, app::PanelObserver& observer,
                           Console& console)
    : window_(window), console_(console) {
  readout_seen_.resize(window_.ReadOut().lines.size());
  observer.Listen([this](const ui::Panel& panel, core::PanelChange change,
                         const std::vector<std::string>& lines) { OnPanel(panel, change, lines); });
}

void PanelPrinter::OnPanel(const ui::Panel& panel, core::PanelChange change,
                           const std::vector<std::string>& lines) {
  if (change == core::PanelChange::hidden || window_.Standing(panel)) return;
  if (JsonEvents* json = console_.json()) {
    json->Panel(panel.name(), lines, app::PanelButtons(panel));
  }
  for (const std::string& line : lines) console_.Line(Printable(line));
  // The offline form of the offline panel, not its refusal form.
  if (window_.Asking() == app::Window::Asks::offline && window_.AskingPanel() == &panel) {
    const std::string reason = LinkReason(window_.LinkNow());
    if (!reason.empty()) console_.Line("Last port error: " + reason);
  }
}

void PanelPrinter::CheckReadout() {
  const app::Readout now = window_.ReadOut();
  std::vector<bool> changed(now.lines.size());
  for (std::size_t i = 0; i < now.lines.size(); ++i) {
    changed[i] = now.lines[i] != readout_seen_[i] && !now.lines[i].empty();
    if (changed[i]) console_.Line(Printable(now.lines[i]));
    readout_seen_[i] = now.lines[i];
  }
  JsonEvents* json = console_.json();
  if (json == nullptr) return;
  if (changed[app::file_version_line]) json->File(now.file_name, now.file_version);
  if (changed[app::unit_version_line] || changed[app::unit_serial_line]) {
    json->Unit(now.unit_version, now.unit_serial);
  }
}

}  // namespace batch
