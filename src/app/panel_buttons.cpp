// The small buttons of the main window's panels, and the two forms of the offline panel.
#include <array>

#include "app/main_window.h"

void TForm1::ClosePort() {
  if (ComPort1.connected()) ComPort1.close();
}

void TForm1::ShowBusy(bool on) {
  AdvCircularProgress1.visible = on;
  Label_please_wait.visible = on;
}

// Every panel a download shows, the power-cycle prompt (the ready panel without
// buttons) and its progress and busy signs.
void TForm1::HideDownloadPanels() {
  HideProgressPanels();
  Panel_communication_offline.visible = false;
  ShowBusy(false);
}

// The panels whose buttons go on with the download (Download, Ok, Ignore): a
// refusal must leave none of them to act behind it.
void TForm1::HideGoOnPanels() {
  Panel_ready_for_download.visible = false;
  Panel_olderversion_text.visible = false;
  Panel_tekstveld.visible = false;
}

// Every panel of one connection's progress: a new connection leaves none of
// them to act on what came before.
void TForm1::HideProgressPanels() {
  HideGoOnPanels();
  Panel_Acces_level_problem.visible = false;
  GroupBox_gauge_up_down_loading.visible = false;
}

namespace {

void set_offline_lines(TForm1& f, const std::string& l1, const std::string& l2,
                       const std::string& l3) {
  f.Label_communication_is_offline_txt1.caption = l1;
  f.Label_communication_is_offline_txt2.caption = l2;
  f.Label_communication_is_offline_txt3.caption = l3;
}

}  // namespace

// Retry with Cancel, or Ok alone: the two share a row and never show together.
void TForm1::ShowOfflinePanel(const std::string& l1, const std::string& l2, const std::string& l3,
                              bool ok_only) {
  set_offline_lines(*this, l1, l2, l3);
  Button_Retry_communication_offline.visible = !ok_only;
  Button_Cancel_communication_offline.visible = !ok_only;
  Button_ok_communication_offline.visible = ok_only;
  ShowBusy(false);
  Panel_communication_offline.visible = true;
  focused = ok_only ? &Button_ok_communication_offline : &Button_Retry_communication_offline;
}

void TForm1::ShowOfflineForm(const std::string& l1, const std::string& l2, const std::string& l3) {
  ShowOfflinePanel(l1, l2, l3, false);
}

// A refusal ends the download: no panel that offers to go on may stay usable
// behind it.
void TForm1::ShowRefusalForm(const std::string& l1, const std::string& l2, const std::string& l3) {
  StopLinkTimers();
  HideGoOnPanels();
  ShowOkForm(l1, l2, l3);
}

void TForm1::ShowOkForm(const std::string& l1, const std::string& l2, const std::string& l3) {
  ShowOfflinePanel(l1, l2, l3, true);
}

// Download with Cancel, Ok alone, or no button (waiting for the unit): the
// buttons share a row and never show together.
void TForm1::ShowReadyPanel(ReadyButtons buttons, const std::string& l1, const std::string& l2) {
  Button_Download_ready_for_download.visible = buttons == ReadyButtons::download_cancel;
  Button_Cancel_ready_for_download.visible = buttons == ReadyButtons::download_cancel;
  Button_Ok_ready_for_download.visible = buttons == ReadyButtons::ok;
  Label_ready_for_download_txt1.caption = l1;
  Label_ready_for_download_txt2.caption = l2;
  Panel_ready_for_download.visible = true;
  if (buttons == ReadyButtons::download_cancel) focused = &Button_Download_ready_for_download;
  if (buttons == ReadyButtons::ok) focused = &Button_Ok_ready_for_download;
}

std::array<ui::Label*, 10> TForm1::MessageLines() {
  return {&Label_tekstveld_regel_1, &Label_tekstveld_regel_2, &Label_tekstveld_regel_3,
          &Label_tekstveld_regel_4, &Label_tekstveld_regel_5, &Label_tekstveld_regel_6,
          &Label_tekstveld_regel_7, &Label_tekstveld_regel_8, &Label_tekstveld_regel_9,
          &Label_tekstveld_regel_10};
}

void TForm1::SizeMessagePanel(int lines) {
  if (lines < 0) lines = 0;
  if (lines > 10) lines = 10;
  const int d = (10 - lines) * 22;
  Panel_tekstveld.top = 8 + d;
  Panel_tekstveld.height = 271 - d;
  xpButton_close_tekstveld.top = 238 - d;
  const auto rows = MessageLines();
  for (int i = 0; i < 10; ++i) rows[static_cast<std::size_t>(i)]->visible = i < lines;
}

void TForm1::Button_Download_ready_for_downloadClick() {
  Panel_ready_for_download.visible = false;
  download_started = true;
  Timer2.set_interval(download::reply_time_out_ms);
  if (staged_download) {
    SendSwitchRequest();
  } else {
    SendStartRequest();
  }
}

void TForm1::Button_Ok_ready_for_downloadClick() {
  if (!staged_download) {
    ClosePort();
    Panel_ready_for_download.visible = false;
    return;
  }
  Panel_ready_for_download.visible = false;
  if (!script_finished) {
    ScriptStep();
  } else {
    ClosePort();
  }
}

void TForm1::Button_Cancel_ready_for_downloadClick() {
  Panel_ready_for_download.visible = false;
}

void TForm1::xpButton_close_tekstveldClick() {
  Panel_tekstveld.visible = false;
  GroupBox_gauge_up_down_loading.visible = false;
  Button_Download_ready_for_download.visible = false;
  Button_Cancel_ready_for_download.visible = false;
  if (staged_download) {
    Panel_ready_for_download.visible = false;
    ScriptStep();
  } else {
    ClosePort();
    Panel_ready_for_download.visible = false;
  }
}

void TForm1::Button_Retry_communication_offlineClick() {
  Panel_communication_offline.visible = false;
  HideProgressPanels();
  CancelNextAction();
  autoselect_index = 0;
  next_action = PortSearchWanted() ? NextAction::probe_next_port : NextAction::connect;
  Timer4.set_enabled(true);
}

void TForm1::Button_ok_communication_offlineClick() {
  Panel_communication_offline.visible = false;
}

void TForm1::Button_Cancel_communication_offlineClick() {
  ClosePort();
  Panel_communication_offline.visible = false;
}

void TForm1::Button_Ignore_olderversionClick() {
  Panel_olderversion_text.visible = false;
  SendAccessRequest();
}

void TForm1::Button_Cancel_olderversionClick() {
  Panel_olderversion_text.visible = false;
}

void TForm1::Button_OK_Acces_level_problemClick() {
  Panel_Acces_level_problem.visible = false;
  ClosePort();
}
