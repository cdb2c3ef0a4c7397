#include "batch/panel_watcher.h"

#include "app/panel_lines.h"
#include "batch/link_reason.h"
#include "batch/printable.h"

namespace batch {

namespace {

// What a panel shows, made safe for a terminal.
std::vector<std::string> PanelLines(const ui::Panel& panel) {
  std::vector<std::string> lines = app::PanelLines(panel);
  for (std::string& line : lines) line = Printable(line);
  return lines;
}

// "File info: Version info: 3M0100002", or nothing while the value is empty.
std::string InfoLine(const ui::Control& group, const ui::Label& label, const std::string& value) {
  if (value.empty()) return {};
  return Printable(app::Trimmed(group.caption) + ": " + label.caption + " " + value);
}

}  // namespace

PanelWatcher::PanelWatcher(const TForm1& form, Console& console) : form_(form), console_(console) {
  for (const ui::Control* child : form_.children()) {
    if (child->kind() != ui::Kind::panel) continue;
    if (child == &form_.GroupBox_File_info || child == &form_.GroupBox_ECU_info) continue;
    if (child == &form_.GroupBox_gauge_up_down_loading) continue;  // the progress printer's
    panels_.push_back(Seen{static_cast<const ui::Panel*>(child), false, {}});
  }
  fixed_seen_.resize(FixedLines().size());
}

void PanelWatcher::Check() {
  CheckFixedContent();
  for (Seen& seen : panels_) CheckPanel(seen);
}

void PanelWatcher::Pressed(const ui::Button& button) {
  for (Seen& seen : panels_) {
    for (const ui::Control* c = &button; c != nullptr; c = c->parent()) {
      if (c == seen.panel) seen.visible = false;
    }
  }
}

void PanelWatcher::CheckPanel(Seen& seen) {
  const bool visible = seen.panel->visible;
  std::vector<std::string> lines = visible ? PanelLines(*seen.panel) : std::vector<std::string>{};
  if (visible && (!seen.visible || lines != seen.lines)) {
    if (JsonEvents* json = console_.json()) {
      json->Panel(seen.panel->name(), app::PanelLines(*seen.panel), app::PanelButtons(*seen.panel));
    }
    for (const std::string& line : lines) console_.Line(line);
    if (ShowsOffline(*seen.panel)) PrintLinkReason();
  }
  seen.visible = visible;
  seen.lines = std::move(lines);
}

// The offline form of the offline panel, not its refusal form: Retry is shown.
bool PanelWatcher::ShowsOffline(const ui::Panel& panel) const {
  return &panel == &form_.Panel_communication_offline &&
         form_.Button_Retry_communication_offline.visible;
}

void PanelWatcher::PrintLinkReason() {
  const std::string reason = LinkReason(form_);
  if (!reason.empty()) console_.Line("Last port error: " + reason);
}

void PanelWatcher::CheckFixedContent() {
  const std::vector<std::string> now = FixedLines();
  std::vector<bool> changed(now.size());
  for (std::size_t i = 0; i < now.size(); ++i) {
    changed[i] = now[i] != fixed_seen_[i] && !now[i].empty();
    if (changed[i]) console_.Line(now[i]);
    fixed_seen_[i] = now[i];
  }
  if (JsonEvents* json = console_.json()) {
    const TForm1& f = form_;
    if (changed[file_version]) {
      json->File(f.firmware_file_name, f.StaticText_version_info_File.caption);
    }
    if (changed[unit_version] || changed[unit_serial]) {
      json->Unit(f.StaticText_version_info.caption, f.StaticText_Serial_number.caption);
    }
  }
}

std::vector<std::string> PanelWatcher::FixedLines() const {
  const TForm1& f = form_;
  return {
      InfoLine(f.GroupBox_File_info, f.Label1, f.StaticText_version_info_File.caption),
      InfoLine(f.GroupBox_ECU_info, f.Label2, f.StaticText_version_info.caption),
      InfoLine(f.GroupBox_ECU_info, f.Label_Serial_number, f.StaticText_Serial_number.caption),
      f.error_count > 0 ? Printable(f.label_comm_errors.caption) : std::string(),
      f.Label_please_wait.visible ? f.Label_please_wait.caption : std::string(),
  };
}

}  // namespace batch
