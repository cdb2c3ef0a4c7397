// Places, texts, colours and fonts of the main window's fixed content and panels.
#include <array>

#include "app/main_window.h"
#include "texts/texts.h"

using ui::Align;
using ui::arial;
using ui::Color;
namespace colors = ui::colors;

namespace {

constexpr Color info_white{255, 255, 255};
constexpr Color gauge_face_to{170, 189, 240};
constexpr Color pale_from{237, 241, 251};
constexpr Color pale_to{214, 223, 247};

void titled(ui::Panel& p, const char* title, Align align, Color title_colour) {
  p.caption = title;
  p.title_height = 30;
  p.title_align = align;
  p.title_font = arial(21, true, title_colour);
}

void untitled(ui::Panel& p, Color from, Color to) {
  p.title_height = 0;
  p.face_from = from;
  p.face_to = to;
}

void text_line(ui::Label& l, int left, int top, int width, const char* text, int size_px,
               Color colour) {
  l.set_bounds(left, top, width, size_px + 3);
  l.align = Align::center;
  l.font = arial(size_px, true, colour);
  l.caption = text;
}

void panel_button(ui::Button& b, int left, int top, const char* text) {
  b.set_bounds(left, top, 72, 25);
  b.font = arial(11, true, colors::navy);
  b.caption = text;
}

void info_label(ui::Label& l, int left, const char* text) {
  l.set_bounds(left, 12, 0, 0);
  l.auto_size = true;
  l.font = arial(16, true, colors::yellow);
  l.caption = text;
}

void info_box(ui::StaticText& t, int left, int width) {
  t.set_bounds(left, 9, width, 23);
  t.background = colors::black;
  t.sunken = true;
  t.font = arial(16, true, colors::white);
}

void big_button(ui::Button& b, int top, const char* text) {
  b.set_bounds(467, top, 121, 47);
  b.font = arial(16, true, colors::navy);
  b.caption = text;
}

}  // namespace

void TForm1::BuildFixedContent() {
  for (ui::Panel* p : {&GroupBox_File_info, &GroupBox_ECU_info}) {
    p->face_from = colors::silver;
    p->face_to = colors::grey;
    p->title_from = colors::silver;
    p->title_to = colors::grey;
  }
  GroupBox_File_info.set_bounds(8, 8, 451, 73);
  titled(GroupBox_File_info, texts::file_info_title, Align::left, colors::navy);
  info_label(Label1, 8, texts::version_info);
  info_box(StaticText_version_info_File, 112, 331);

  GroupBox_ECU_info.set_bounds(8, 88, 451, 73);
  titled(GroupBox_ECU_info, texts::ecu_info_title, Align::left, colors::navy);
  info_label(Label2, 8, texts::version_info);
  info_box(StaticText_version_info, 112, 139);
  info_label(Label_Serial_number, 259, texts::serial_number);
  info_box(StaticText_Serial_number, 371, 72);

  big_button(SpeedButton_open_file, 8, texts::open_file);
  SpeedButton_open_file.has_picture = true;
  big_button(SpeedButton_comport_settings, 63, texts::port_settings);

  // Grows to the left from near the window's right edge, so that a long port
  // name ("/dev/ttyUSB0 errors:12") stays whole.
  label_comm_errors.set_bounds(client_width() - 8 - 79, 256, 79, 16);
  label_comm_errors.auto_size = true;
  label_comm_errors.align = Align::right;
  label_comm_errors.font = arial(13, false, colors::black);
  label_comm_errors.caption = texts::comm_errors;

  AdvCircularProgress1.set_bounds(500, 170, 60, 60);
  AdvCircularProgress1.active = Color{159, 159, 255};
  AdvCircularProgress1.inactive = colors::navy;
  AdvCircularProgress1.transition = colors::yellow;
  AdvCircularProgress1.progress_color = Color{128, 0, 64};
  AdvCircularProgress1.visible = false;
  Label_please_wait.set_bounds(503, 234, 0, 0);
  Label_please_wait.auto_size = true;
  Label_please_wait.font = arial(11, true, colors::navy);
  Label_please_wait.caption = texts::please_wait;
  Label_please_wait.visible = false;
}

void TForm1::BuildPanels() {
  auto& gauge_panel = GroupBox_gauge_up_down_loading;
  gauge_panel.set_bounds(107, 168, 252, 66);
  titled(gauge_panel, texts::downloading, Align::center, colors::blue);
  gauge_panel.face_from = gauge_panel.title_from = info_white;
  gauge_panel.face_to = gauge_panel.title_to = gauge_face_to;
  Gauge_up_down_loading.set_bounds(9, 5, 235, 20);
  Gauge_up_down_loading.background = colors::silver;
  Gauge_up_down_loading.bar = colors::yellow;
  Gauge_up_down_loading.font = arial(16, true, colors::yellow);
  Gauge_up_down_loading.progress = 0;

  Panel_olderversion_text.set_bounds(69, 168, 313, 97);
  untitled(Panel_olderversion_text, colors::red, colors::red);
  text_line(Label_version_error_txt1, 4, 8, 305, texts::older_1, 16, colors::white);
  text_line(Label_version_error_txt2, 4, 32, 305, texts::older_2, 16, colors::white);
  panel_button(Button_Ignore_olderversion, 76, 62, texts::ignore_button);
  panel_button(Button_Cancel_olderversion, 162, 62, texts::cancel_button);

  Panel_ready_for_download.set_bounds(8, 168, 451, 113);
  untitled(Panel_ready_for_download, colors::blue, colors::navy);
  text_line(Label_ready_for_download_txt1, 4, 16, 443, texts::ready_1, 13, colors::white);
  text_line(Label_ready_for_download_txt2, 4, 40, 443, texts::ready_2, 13, colors::white);
  panel_button(Button_Download_ready_for_download, 140, 72, texts::download_button);
  panel_button(Button_Ok_ready_for_download, 188, 72, texts::ok_button);
  panel_button(Button_Cancel_ready_for_download, 236, 72, texts::cancel_button);

  Panel_tekstveld.set_bounds(8, 8, 451, 271);
  untitled(Panel_tekstveld, colors::blue, colors::navy);
  const auto lines = MessageLines();
  const std::array<int, 10> line_tops{11, 33, 55, 77, 99, 122, 144, 166, 188, 211};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text_line(*lines[i], 17, line_tops[i], 414, "", 16, colors::white);
  }
  panel_button(xpButton_close_tekstveld, 189, 238, texts::ok_button);

  Panel_communication_offline.set_bounds(8, 168, 451, 109);
  untitled(Panel_communication_offline, colors::red, colors::red);
  text_line(Label_communication_is_offline_txt1, 4, 6, 443, texts::offline_1, 16, colors::white);
  text_line(Label_communication_is_offline_txt2, 4, 28, 443, texts::offline_2, 16, colors::white);
  text_line(Label_communication_is_offline_txt3, 4, 52, 443, "", 16, colors::white);
  panel_button(Button_Retry_communication_offline, 144, 74, texts::retry_button);
  panel_button(Button_ok_communication_offline, 192, 74, texts::ok_button);
  panel_button(Button_Cancel_communication_offline, 240, 74, texts::cancel_button);

  Panel_Acces_level_problem.set_bounds(58, 16, 346, 257);
  untitled(Panel_Acces_level_problem, pale_from, pale_to);
  Image_access_level.set_bounds(8, 8, 329, 160);
  Image_access_level.image = "access_level";
  for (auto [label, top, text] : {std::tuple{&Label4, 176, texts::access_level_1},
                                  std::tuple{&Label5, 200, texts::access_level_2}}) {
    label->set_bounds(40, top, 0, 0);
    label->auto_size = true;
    label->font = arial(13, true, colors::red);
    label->caption = text;
  }
  panel_button(Button_OK_Acces_level_problem, 136, 224, texts::ok_button);

  for (ui::Panel* p : {&GroupBox_gauge_up_down_loading, &Panel_olderversion_text,
                       &Panel_ready_for_download, &Panel_tekstveld, &Panel_communication_offline,
                       &GroupBox_set_communicationport, &Panel_Acces_level_problem}) {
    p->visible = false;
  }
}

// The panel's own two lines fit its 313 px; the wrong-type lines it is also
// given ("File type is not compatible to the system") need more, so it then
// widens about its middle, its lines and buttons with it.
void TForm1::SizeOlderVersionPanel(bool wide) {
  const int width = wide ? 353 : 313;
  const int shift = (width - 313) / 2;
  const int middle = Panel_olderversion_text.left + Panel_olderversion_text.width / 2;
  Panel_olderversion_text.set_bounds(middle - width / 2, Panel_olderversion_text.top, width, 97);
  for (ui::Label* line : {&Label_version_error_txt1, &Label_version_error_txt2}) {
    line->set_bounds(4, line->top, width - 8, line->height);
  }
  Button_Ignore_olderversion.move_to(76 + shift, 62);
  Button_Cancel_olderversion.move_to(162 + shift, 62);
}
