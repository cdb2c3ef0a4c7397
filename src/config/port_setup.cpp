// Choosing the port and rate for each opened file of a serial unit.
#include "app/main_window.h"
#include "config/port_record.h"
#include "texts/texts.h"

namespace {

constexpr int fast_rate = 921600;
constexpr int standard_rate = 115200;

}  // namespace

const char* TForm1::PortFileName(firmware::PortKind port_kind) {
  return port_kind == firmware::PortKind::rs232 ? "com.ini" : "com_2.ini";
}

std::string TForm1::PortFilePath(firmware::PortKind port_kind) const {
  if (settings == nullptr) return program_folder + PortFileName(port_kind);
  return settings->path(program_folder, PortFileName(port_kind));
}

// A folder that cannot be made shows as the write that fails after it.
bool TForm1::WritePortFileOf(firmware::PortKind port_kind, const std::string& name) {
  const std::string path = PortFilePath(port_kind);
  if (settings != nullptr) static_cast<void>(settings->make_folder(path));
  return config::WritePortFile(path, name);
}

// A port that fails to reopen under its new name, or to take its rate, shows
// nothing here: ComPort1 keeps the reason (last_error()) and is closed, and the
// request that opens it next meets the failure and shows it.
bool TForm1::PortSetUp(firmware::PortKind port_kind) {
  if (CheckBox_Autoselect_comport.checked) {
    auto present = serial.list_ports();
    if (!present) return false;
    ComboBox_setCompoort2.set_items(std::move(*present));
  } else if (forced_port) {
    port_name = *forced_port;
    static_cast<void>(ComPort1.set_port(port_name));
  } else {
    port_name = config::default_port_name;
    if (auto stored = config::ReadPortFile(PortFilePath(port_kind))) {
      port_name = *stored;
    } else {
      dialogs.message(ui::BoxKind::plain, texts::CantFind(PortFileName(port_kind)));
      if (auto fallback = config::PortFromArguments(args)) port_name = *fallback;
    }
    static_cast<void>(ComPort1.set_port(port_name));
  }
  if (fast_baud) {
    ComPort1.begin_update();
    static_cast<void>(ComPort1.set_baud_rate(fast_rate));
    static_cast<void>(ComPort1.end_update());
  } else {
    static_cast<void>(ComPort1.set_baud_rate(standard_rate));
  }
  return true;
}
