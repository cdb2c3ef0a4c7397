#include "win32/snapshot_shots.h"

#include <functional>
#include <vector>

#include "texts/texts.h"
#include "win32/window_shot.h"

namespace win32ui {

namespace {

struct Shot {
  const char* file;
  std::function<void(TForm1&, FormView&)> set_up;
};

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

void ShowPortSettings(TForm1& f, FormView& view, bool automatic) {
  // Ports as Windows names them.
  f.ComboBox_setCompoort1.set_items({"COM1", "COM2"});
  f.ComboBox_setCompoort1.select(0);
  f.ComboBox_setCompoort2.set_items({"COM3", "COM12"});
  f.ComboBox_setCompoort2.select(1);
  f.GroupBox_set_communicationport.visible = true;
  f.ApplyAutoselectAppearance();
  f.focused = &f.Button_Cancel_set_communicationport;
  view.sync();
  if (f.CheckBox_Autoselect_comport.checked != automatic) {
    // Clicked as the user would, so the click goes through the window.
    ::SendMessageA(view.window_of(f.CheckBox_Autoselect_comport), BM_CLICK, 0, 0);
  }
}

const std::vector<Shot>& Shots() {
  static const std::vector<Shot> shots{
      {"main_rest.png", [](TForm1&, FormView&) {}},
      {"ready_download_cancel.png", [](TForm1& f, FormView&) { ShowReady(f, false); }},
      {"ready_ok.png", [](TForm1& f, FormView&) { ShowReady(f, true); }},
      {"offline.png",
       [](TForm1& f, FormView&) { f.ShowOfflineForm(texts::offline_1, texts::offline_2, ""); }},
      {"refusal.png",
       [](TForm1& f, FormView&) { f.ShowRefusalForm(texts::only_when, texts::motor_running, ""); }},
      {"older_version.png",
       [](TForm1& f, FormView&) { f.ShowOlderVersionPanel(texts::older_1, texts::older_2); }},
      {"older_version_wrong_type.png",
       [](TForm1& f, FormView&) {
         f.ShowOlderVersionPanel(texts::not_compatible, texts::select_correct_file);
       }},
      {"message_10.png", [](TForm1& f, FormView&) { ShowMessage(f, 10); }},
      {"message_3.png", [](TForm1& f, FormView&) { ShowMessage(f, 3); }},
      {"access_level.png",
       [](TForm1& f, FormView&) {
         f.Panel_Acces_level_problem.visible = true;
         f.focused = &f.Button_OK_Acces_level_problem;
       }},
      {"gauge_40.png",
       [](TForm1& f, FormView&) {
         f.Gauge_up_down_loading.max_value = 100;
         f.Gauge_up_down_loading.progress = 40;
         f.GroupBox_gauge_up_down_loading.visible = true;
         f.label_comm_errors.caption = texts::PortErrors("COM3", 12);
       }},
      {"gauge_50.png",
       [](TForm1& f, FormView&) {
         f.Gauge_up_down_loading.max_value = 100;
         f.Gauge_up_down_loading.progress = 50;
         f.GroupBox_gauge_up_down_loading.visible = true;
         f.label_comm_errors.caption = texts::PortErrors("COM12", 123);
       }},
      {"port_settings_auto_on.png", [](TForm1& f, FormView& v) { ShowPortSettings(f, v, true); }},
      {"port_settings_auto_off.png", [](TForm1& f, FormView& v) { ShowPortSettings(f, v, false); }},
      {"spinner.png", [](TForm1& f, FormView&) { f.ShowBusy(true); }},
  };
  return shots;
}

void HideAllPanels(TForm1& f) {
  for (ui::Panel* p :
       {&f.GroupBox_gauge_up_down_loading, &f.Panel_olderversion_text, &f.Panel_ready_for_download,
        &f.Panel_tekstveld, &f.Panel_communication_offline, &f.GroupBox_set_communicationport,
        &f.Panel_Acces_level_problem}) {
    p->visible = false;
  }
  f.ShowBusy(false);
  f.label_comm_errors.caption = texts::comm_errors;
  f.focused = &f.SpeedButton_open_file;
}

}  // namespace

int WriteMainWindowShots(TForm1& form, FormView& view, const std::string& dir) {
  int failures = 0;
  for (const Shot& shot : Shots()) {
    HideAllPanels(form);
    shot.set_up(form, view);
    view.sync();
    if (!WriteWindowShot(view.root(), dir + "/" + shot.file)) ++failures;
  }
  return failures;
}

}  // namespace win32ui
