// The port settings panel: the stored port of each kind, rescans, and auto-selection.
#include "app/main_window.h"
#include "config/port_record.h"
#include "texts/texts.h"

// Fills a group's list with the ports present and shows its stored port. Only a
// file that cannot be read brings the offer to create the default one: a list
// that could not be read leaves the list as it was and the stored port as it is.
void TForm1::LoadPortGroup(ui::ComboBox& combo, firmware::PortKind port_kind,
                           const core::Result<std::vector<std::string>>& present) {
  if (present) {
    combo.set_items(present.value());
    combo.select(0);
  }
  if (auto stored = config::ReadPortFile(PortFilePath(port_kind))) {
    combo.text = *stored;
    return;
  }
  dialogs.message(ui::BoxKind::error, texts::CantFind(PortFileName(port_kind)));
  if (dialogs.message(ui::BoxKind::question, texts::create_default_question) != ui::Answer::yes) {
    return;
  }
  if (!WritePortFileOf(port_kind, std::string(config::default_port_name))) {
    dialogs.message(ui::BoxKind::plain, texts::WriteErrorDefault(PortFileName(port_kind)));
  }
}

void TForm1::SpeedButton1Click() {
  const auto present = serial.list_ports();
  if (!present) dialogs.message(ui::BoxKind::error, texts::RegistryError(present.error().code));
  LoadPortGroup(ComboBox_setCompoort1, firmware::PortKind::rs232, present);
  LoadPortGroup(ComboBox_setCompoort2, firmware::PortKind::rs232_over_usb, present);
  ApplyAutoselectAppearance();
  GroupBox_set_communicationport.visible = true;
  if (Button_Cancel_set_communicationport.visible) focused = &Button_Cancel_set_communicationport;
}

void TForm1::CheckBox_Autoselect_comportClick() {
  ApplyAutoselectAppearance();
}

// The search probes serial ports, behind which a unit cabled to the HID bridge
// can never answer.
bool TForm1::PortSearchWanted() const {
  return CheckBox_Autoselect_comport.checked && link_kind != firmware::Link::hid;
}

void TForm1::RescanPortGroup(ui::ComboBox& combo) {
  auto present = serial.list_ports();
  if (!present) {
    dialogs.message(ui::BoxKind::error, texts::RegistryError(present.error().code));
    return;
  }
  combo.set_items(std::move(*present));
  combo.select(0);
}

void TForm1::xpButton_rescan1Click() {
  RescanPortGroup(ComboBox_setCompoort1);
}
void TForm1::xpButton_rescan2Click() {
  RescanPortGroup(ComboBox_setCompoort2);
}

// The port is changed under a running connection only when the user says so,
// and then the connection ends: closing the port mid-transfer would cut a block
// in two, and a unit reached on another port was never asked who it is.
void TForm1::SavePortGroup(const ui::ComboBox& combo, firmware::PortKind port_kind) {
  if (combo.item_index < 0) {
    dialogs.message(ui::BoxKind::warning, texts::do_not_edit);
    return;
  }
  if (ConnectionRuns()) {
    if (dialogs.message(ui::BoxKind::question, texts::running_save_question) != ui::Answer::yes) {
      return;
    }
    AbandonFile();
  }
  StorePort(combo.text, port_kind);
  GroupBox_set_communicationport.visible = false;
}

// A port that was open is opened again under the new name; when that fails the
// user hears so, in words apart from those of a file that could not be written.
void TForm1::StorePort(const std::string& name, firmware::PortKind port_kind) {
  if (!WritePortFileOf(port_kind, name)) {
    dialogs.message(ui::BoxKind::plain, texts::WriteError(PortFileName(port_kind)));
    return;
  }
  port_name = name;
  if (const core::Status reopened = ComPort1.set_port(name); !reopened) {
    dialogs.message(ui::BoxKind::error, texts::CantOpenPort(name, reopened.error().text));
  }
}

void TForm1::Button_Save_set_communicationportClick() {
  SavePortGroup(ComboBox_setCompoort1, firmware::PortKind::rs232);
}
void TForm1::Button_Save_set_communicationport_2Click() {
  SavePortGroup(ComboBox_setCompoort2, firmware::PortKind::rs232_over_usb);
}

void TForm1::Button_Cancel_set_communicationportClick() {
  GroupBox_set_communicationport.visible = false;
}

const std::vector<std::string>& TForm1::PortSearchCandidates() const {
  return ComboBox_setCompoort2.items;
}

std::optional<std::string> TForm1::PortSearchCandidate(std::int32_t index) const {
  const auto& candidates = PortSearchCandidates();
  if (index < 0 || index >= static_cast<std::int32_t>(candidates.size())) return std::nullopt;
  return candidates[static_cast<std::size_t>(index)];
}
