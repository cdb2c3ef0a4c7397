// Places, texts and colours of the port settings panel.
#include "app/main_window.h"
#include "config/port_record.h"
#include "platform/serial_port.h"
#include "texts/texts.h"

using ui::Align;
using ui::arial;
using ui::Color;
namespace colors = ui::colors;

namespace {

constexpr Color pale_from{237, 241, 251};
constexpr Color pale_to{214, 223, 247};

void small_button(ui::Button& b, int left, int top, int height, const char* text) {
  b.set_bounds(left, top, 56, height);
  b.font = arial(11, true, colors::navy);
  b.caption = text;
}

void port_group(ui::GroupBox& g, int top, const char* title) {
  g.set_bounds(2, top, 588, 45);
  g.font = arial(15, true, colors::navy);
  g.caption = title;
}

void group_label(ui::Label& l, const char* text) {
  l.set_bounds(6, 17, 0, 0);
  l.auto_size = true;
  l.font = arial(16, true, colors::blue);
  l.caption = text;
}

void port_row(ui::Button& rescan, ui::ComboBox& combo, ui::Button& save) {
  small_button(rescan, 342, 15, 21, texts::rescan_button);
  combo.set_bounds(416, 13, 89, 21);
  combo.font = arial(11, false, colors::navy);
  combo.text = config::default_port_name;
  // The box is 89 px wide: port names show in their short form ("ttyUSB0"),
  // and picking one still selects the whole name.
  combo.shown_as = platform::ShortPortName;
  small_button(save, 526, 14, 25, texts::save_button);
}

}  // namespace

void TForm1::BuildPortSettings() {
  auto& p = GroupBox_set_communicationport;
  p.set_bounds(1, 3, 592, 287);
  p.caption = texts::port_settings_title;
  p.title_height = 30;
  p.title_align = Align::center;
  p.title_font = arial(21, true, colors::navy);
  p.face_from = p.title_from = pale_from;
  p.face_to = p.title_to = pale_to;
  p.direction = ui::GradientDirection::horizontal;

  CheckBox_Autoselect_comport.set_bounds(16, 8, 193, 17);
  CheckBox_Autoselect_comport.caption = texts::autoselect;
  CheckBox_Autoselect_comport.font = arial(16, true, colors::blue);
  CheckBox_Autoselect_comport.checked = true;

  port_group(GroupBox_RS232, 39, texts::rs232_title);
  group_label(Label6, texts::rs232_units);
  port_row(xpButton_rescan1, ComboBox_setCompoort1, Button_Save_set_communicationport);

  port_group(GroupBox_RS232_over_USB, 84, texts::rs232_over_usb_title);
  group_label(Label7, texts::rs232_over_usb_units);
  port_row(xpButton_rescan2, ComboBox_setCompoort2, Button_Save_set_communicationport_2);
  std::vector<std::string> com_ports;
  for (int n = 1; n <= 20; ++n) com_ports.push_back("COM" + std::to_string(n));
  ComboBox_setCompoort2.set_items(std::move(com_ports));

  port_group(GroupBox_HID, 129, texts::hid_title);
  group_label(Label8, texts::hid_units);

  small_button(Button_Cancel_set_communicationport, 264, 206, 25, texts::cancel_button);
  ApplyAutoselectAppearance();
}

void TForm1::ApplyAutoselectAppearance() {
  const bool on = CheckBox_Autoselect_comport.checked;
  constexpr Color grey_face{228, 228, 228};
  for (ui::GroupBox* g : {&GroupBox_RS232, &GroupBox_RS232_over_USB, &GroupBox_HID}) {
    g->enabled = !on;
    g->background = on ? grey_face : pale_to;
  }
  for (ui::Label* l : {&Label6, &Label7, &Label8})
    l->font.color = on ? colors::silver : colors::blue;
  for (ui::ComboBox* c : {&ComboBox_setCompoort1, &ComboBox_setCompoort2}) {
    c->background = on ? grey_face : colors::white;
    c->font.color = on ? colors::silver : colors::navy;
  }
  for (ui::Button* b : {&xpButton_rescan1, &xpButton_rescan2, &Button_Save_set_communicationport,
                        &Button_Save_set_communicationport_2}) {
    b->enabled = !on;
  }
}
