#include "app/window_states.h"

#include "app/main_window.h"
#include "texts/texts.h"

namespace {

using app::ShownPorts;

void ShowMessage(TForm1& f, int lines) {
  const char* sample[] = {
      "Stage 1 of 3 has been loaded",      "Switch the power of the system off",
      "and wait for 10 seconds",           "Switch the power on again",
      "The display shows the boot screen", "Check that the engine is not running",
      "Check the battery voltage",         "Keep the cable connected",
      "Then press the Ok button",          "to load the next stage"};
  const auto rows = f.MessageLines();
  for (int i = 0; i < 10; ++i)
    rows[static_cast<std::size_t>(i)]->caption = i < lines ? sample[i] : "";
  f.SizeMessagePanel(lines);
  f.Panel_tekstveld.visible = true;
  f.focused = &f.xpButton_close_tekstveld;
}

void ShowReady(TForm1& f, bool finished) {
  f.Label_ready_for_download_txt1.caption = finished ? texts::finished_1 : texts::ready_1;
  f.Label_ready_for_download_txt2.caption = finished ? texts::finished_2 : texts::ready_2;
  f.Button_Download_ready_for_download.visible = !finished;
  f.Button_Cancel_ready_for_download.visible = !finished;
  f.Button_Ok_ready_for_download.visible = finished;
  f.Panel_ready_for_download.visible = true;
  f.focused = finished ? &f.Button_Ok_ready_for_download : &f.Button_Download_ready_for_download;
}

void ShowPortSettings(TForm1& f, const ShownPorts& ports) {
  f.ComboBox_setCompoort1.set_items(ports.rs232);
  f.ComboBox_setCompoort1.select(0);
  f.ComboBox_setCompoort2.set_items(ports.usb);
  f.ComboBox_setCompoort2.select(1);
  f.GroupBox_set_communicationport.visible = true;
  f.ApplyAutoselectAppearance();
  f.focused = &f.Button_Cancel_set_communicationport;
}

void ShowGauge(TForm1& f, int percent, const std::string& port, int errors) {
  f.Gauge_up_down_loading.max_value = 100;
  f.Gauge_up_down_loading.progress = percent;
  f.GroupBox_gauge_up_down_loading.visible = true;
  f.label_comm_errors.caption = texts::PortErrors(port, errors);
}

}  // namespace

std::vector<app::WindowState> TForm1::WindowStates(const ShownPorts& ports) {
  const auto settings = [ports](TForm1& f) { ShowPortSettings(f, ports); };
  return {
      {"main_rest.png", [](TForm1&) {}, std::nullopt},
      {"ready_download_cancel.png", [](TForm1& f) { ShowReady(f, false); }, std::nullopt},
      {"ready_ok.png", [](TForm1& f) { ShowReady(f, true); }, std::nullopt},
      {"offline.png", [](TForm1& f) { f.ShowOfflineForm(texts::offline_1, texts::offline_2, ""); },
       std::nullopt},
      {"refusal.png",
       [](TForm1& f) { f.ShowRefusalForm(texts::only_when, texts::motor_running, ""); },
       std::nullopt},
      {"older_version.png",
       [](TForm1& f) { f.ShowOlderVersionPanel(texts::older_1, texts::older_2); }, std::nullopt},
      {"older_version_wrong_type.png",
       [](TForm1& f) {
         f.ShowOlderVersionPanel(texts::not_compatible, texts::select_correct_file);
       },
       std::nullopt},
      {"message_10.png", [](TForm1& f) { ShowMessage(f, 10); }, std::nullopt},
      {"message_3.png", [](TForm1& f) { ShowMessage(f, 3); }, std::nullopt},
      {"access_level.png",
       [](TForm1& f) {
         f.Panel_Acces_level_problem.visible = true;
         f.focused = &f.Button_OK_Acces_level_problem;
       },
       std::nullopt},
      {"gauge_40.png", [ports](TForm1& f) { ShowGauge(f, 40, ports.errors_low, 12); },
       std::nullopt},
      {"gauge_50.png", [ports](TForm1& f) { ShowGauge(f, 50, ports.errors_high, 123); },
       std::nullopt},
      {"port_settings_auto_on.png", settings, true},
      {"port_settings_auto_off.png", settings, false},
      {"spinner.png", [](TForm1& f) { f.ShowBusy(true); }, std::nullopt},
  };
}

void TForm1::PutAtRest() {
  for (ui::Panel* p : {&GroupBox_gauge_up_down_loading, &Panel_olderversion_text,
                       &Panel_ready_for_download, &Panel_tekstveld, &Panel_communication_offline,
                       &GroupBox_set_communicationport, &Panel_Acces_level_problem}) {
    p->visible = false;
  }
  ShowBusy(false);
  label_comm_errors.caption = texts::comm_errors;
  focused = &SpeedButton_open_file;
}
