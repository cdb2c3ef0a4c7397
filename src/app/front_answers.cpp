// What a front end asks of the window, answered in one place, so that no front
// end reads the program's state or compares a label with a text.
#include "app/main_window.h"
#include "app/panel_lines.h"
#include "texts/texts.h"

namespace {

// "File info: Version info: 3M0100002", or nothing while the value is empty.
std::string InfoLine(const ui::Control& group, const ui::Label& label, const std::string& value) {
  if (value.empty()) return {};
  return app::Trimmed(group.caption) + ": " + label.caption + " " + value;
}

}  // namespace

// The panels in the order they cover each other, topmost first.
TForm1::Asks TForm1::Asking() const {
  if (Panel_Acces_level_problem.visible) return Asks::access_level;
  if (Panel_communication_offline.visible) {
    return Button_Retry_communication_offline.visible ? Asks::offline : Asks::refusal;
  }
  if (Panel_tekstveld.visible) return Asks::text;
  const bool ready_has_button = Button_Download_ready_for_download.visible ||
                                Button_Ok_ready_for_download.visible ||
                                Button_Cancel_ready_for_download.visible;
  if (Panel_ready_for_download.visible && ready_has_button) {
    if (DownloadFinished()) return Asks::finished;
    return Button_Download_ready_for_download.visible ? Asks::ready : Asks::go_on;
  }
  if (Panel_olderversion_text.visible) return Asks::older_version;
  return Asks::nothing;
}

ui::Button* TForm1::Offered(Choice choice) {
  if (choice == Choice::open_file) return &SpeedButton_open_file;
  const auto pick = [choice](Choice wanted, ui::Button& button) {
    return choice == wanted ? &button : nullptr;
  };
  switch (Asking()) {
    case Asks::access_level:
      return pick(Choice::ok, Button_OK_Acces_level_problem);
    case Asks::offline:
      if (choice == Choice::retry) return &Button_Retry_communication_offline;
      return pick(Choice::cancel, Button_Cancel_communication_offline);
    case Asks::refusal:
      return pick(Choice::ok, Button_ok_communication_offline);
    case Asks::text:
      return pick(Choice::ok, xpButton_close_tekstveld);
    case Asks::ready:
      if (choice == Choice::download) return &Button_Download_ready_for_download;
      return pick(Choice::cancel, Button_Cancel_ready_for_download);
    case Asks::go_on:
    case Asks::finished:
      return pick(Choice::ok, Button_Ok_ready_for_download);
    case Asks::older_version:
      if (choice == Choice::ignore) return &Button_Ignore_olderversion;
      return pick(Choice::cancel, Button_Cancel_olderversion);
    case Asks::nothing:
      break;
  }
  return nullptr;
}

const ui::Panel* TForm1::AskingPanel() const {
  switch (Asking()) {
    case Asks::access_level:
      return &Panel_Acces_level_problem;
    case Asks::offline:
    case Asks::refusal:
      return &Panel_communication_offline;
    case Asks::text:
      return &Panel_tekstveld;
    case Asks::ready:
    case Asks::go_on:
    case Asks::finished:
      return &Panel_ready_for_download;
    case Asks::older_version:
      return &Panel_olderversion_text;
    case Asks::nothing:
      break;
  }
  return nullptr;
}

bool TForm1::Standing(const ui::Panel& panel) const {
  return &panel == &GroupBox_File_info || &panel == &GroupBox_ECU_info ||
         &panel == &GroupBox_gauge_up_down_loading;
}

// The finished panel: a script's once its last step is done, an image's when
// the unit took the finish request.
bool TForm1::DownloadFinished() const {
  if (!Panel_ready_for_download.visible || !Button_Ok_ready_for_download.visible) return false;
  if (staged_download) return script_finished;
  return Label_ready_for_download_txt1.caption == texts::finished_1;
}

bool TForm1::UnitAsked() const {
  return comm_state != CommState::idle;
}

bool TForm1::FileRefused() const {
  return !UnitAsked() && !UnitAwaited();
}

bool TForm1::Searching() const {
  return CheckBox_Autoselect_comport.checked &&
         (comm_state == CommState::idle || comm_state == CommState::probe);
}

app::LinkFacts TForm1::LinkNow() const {
  app::LinkFacts facts;
  facts.kind = link_kind;
  facts.port = ComPort1.port();
  facts.port_open = ComPort1.connected();
  facts.bridge_found = hid_device != nullptr;
  facts.bridge_refusal = hid_refusal;
  if (link_kind == firmware::Link::serial) facts.last_error = ComPort1.last_error();
  if (link_kind == firmware::Link::hid && hid_device != nullptr) {
    facts.last_error = hid_device->last_error();
  }
  return facts;
}

app::Readout TForm1::ReadOut() const {
  return app::Readout{
      .file_name = firmware_file_name,
      .file_version = StaticText_version_info_File.caption,
      .unit_version = StaticText_version_info.caption,
      .unit_serial = StaticText_Serial_number.caption,
      .lines = {InfoLine(GroupBox_File_info, Label1, StaticText_version_info_File.caption),
                InfoLine(GroupBox_ECU_info, Label2, StaticText_version_info.caption),
                InfoLine(GroupBox_ECU_info, Label_Serial_number, StaticText_Serial_number.caption),
                error_count > 0 ? label_comm_errors.caption : std::string(),
                Label_please_wait.visible ? Label_please_wait.caption : std::string()},
  };
}

app::GaugeReading TForm1::Gauge() const {
  const ui::Gauge& gauge = Gauge_up_down_loading;
  return app::GaugeReading{.shown = GroupBox_gauge_up_down_loading.visible,
                           .title = GroupBox_gauge_up_down_loading.caption,
                           .progress = gauge.progress,
                           .max = gauge.max_value,
                           .percent = gauge.percent()};
}

// The port search is off and the port set-up takes the name as it stands
// instead of reading the port configuration files.
void TForm1::UsePort(const std::string& port) {
  CheckBox_Autoselect_comport.checked = false;
  CheckBox_Autoselect_comportClick();
  forced_port = port;
}
