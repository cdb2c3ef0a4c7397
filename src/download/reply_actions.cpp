// What each complete, valid reply does.
#include "app/main_window.h"
#include "download/protocol.h"
#include "texts/texts.h"

void TForm1::ActOnReply() {
  switch (comm_state) {
    case CommState::probe:
      return OnProbeReply();
    case CommState::version:
      StaticText_version_info.caption = download::PayloadText(rx_buffer);
      return SendSerialRequest();
    case CommState::serial_number:
      StaticText_Serial_number.caption = download::PayloadText(rx_buffer);
      return staged_download ? PatternCheck() : VersionCheck();
    case CommState::prepare:
      if (download::Status(rx_buffer) == download::status_ok) return SendAccessRequest();
      // Nothing would go out any more and nothing would tell the user why.
      return ShowRefusalForm(texts::prepare_refused, texts::start_failed_2, "");
    case CommState::access:
      if (AccessLevelPasses(download::Word(rx_buffer, 2))) return SendStatusRequest();
      Panel_Acces_level_problem.visible = true;
      focused = &Button_OK_Acces_level_problem;
      return;
    case CommState::status:
      return OnStatusReply();
    case CommState::start:
      return OnStartReply();
    case CommState::block:
      return OnBlockReply();
    case CommState::finish:
      return OnFinishReply();
    case CommState::restart:
      return OnRestartReply();
    case CommState::switch_request:
      soft_restart = true;
      return StartScript();
    case CommState::status_after_switch:
      error_count = 0;
      ClearRx();
      soft_restart = false;
      return StartScript();
    default:
      return;
  }
}

void TForm1::OnProbeReply() {
  const std::string unit = download::PayloadText(rx_buffer);
  const std::string& file = StaticText_version_info_File.caption;
  if (unit.substr(0, 3) == file.substr(0, 3)) {
    StopLinkTimers();
    // The port open is the one that answered, whatever the list holds by now:
    // the port settings panel may have read it again meanwhile.
    port_name = ComPort1.port();
    next_action = NextAction::connect;
    Timer4.set_enabled(true);
    return;
  }
  // Another kind of unit on this port: asking it again gets the same answer, so
  // the search moves on, as after a port that stays silent.
  StopLinkTimers();
  ClosePort();
  error_count = 0;
  autoselect_index += 1;
  if (!PortSearchCandidate(autoselect_index)) {
    ShowOfflineForm(texts::not_compatible, texts::wrong_unit_2, texts::wrong_unit_3);
  } else {
    ProbeCandidatePort();
  }
}

void TForm1::OnStatusReply() {
  if (download::EngineSpeed(rx_buffer) != 0) {
    ShowRefusalForm(texts::only_when, texts::motor_running, "");
    return;
  }
  if (!download::BatteryHighEnough(download::BatteryRaw(rx_buffer))) {
    ShowRefusalForm(texts::only_when, texts::battery_low, "");
    return;
  }
  error_count = 0;
  ClearRx();
  ShowBusy(false);
  ShowReadyPanel(ReadyButtons::download_cancel, texts::ready_1, texts::ready_2);
}

void TForm1::OnStartReply() {
  const std::string status = download::Status(rx_buffer);
  if (status == download::status_ok) {
    block_nr = 0;
    Gauge_up_down_loading.max_value = last_block_nr;
    Gauge_up_down_loading.progress = 0;
    GroupBox_gauge_up_down_loading.visible = true;
    SendNextBlock();
  } else if (status == download::status_refused) {
    ShowRefusalForm(texts::start_failed_1, texts::start_failed_2, "");
  } else {
    ReportLinkError();
  }
}

void TForm1::OnBlockReply() {
  const std::string status = download::Status(rx_buffer);
  if (status == download::status_ok) {
    error_count = 0;
    Gauge_up_down_loading.progress = block_nr;
    block_nr += 1;
    if (block_copies > 1) return AwaitOtherCopiesReplies();
    SendNextBlock();
  } else if (status == download::status_not_taken) {
    ReportLinkError();
  } else if (status == download::status_memory_fault) {
    GroupBox_gauge_up_down_loading.visible = false;
    if (block_nr == 0) {
      ShowRefusalForm(texts::not_possible, texts::call_supplier, "");
    } else {
      ShowRefusalForm(texts::memory_damaged, texts::do_not_power, texts::call_supplier);
    }
  } else {
    // The unit is in a state no block can mend: nothing more goes out behind a
    // panel that tells the user to switch the power off.
    ShowRefusalForm(texts::switch_off, texts::close_and_retry, "");
  }
}

// "BOK" names no block. The unit answers the copies of a block it holds one
// after another, each within a reply time-out of the last; such an answer, taken
// for the next block's, would send the block after that even where the unit
// refused the next one. So the next request waits out one reply time-out for
// each other copy; no reply timer runs meanwhile, so what comes is dropped.
void TForm1::AwaitOtherCopiesReplies() {
  next_action = NextAction::next_block;
  Timer4.set_interval(download::reply_time_out_ms * (block_copies - 1));
  Timer4.set_enabled(true);
}

void TForm1::SendNextBlock() {
  if (block_nr > last_block_nr) return SendFinishRequest();
  block_copies = 1;
  SendBlock();
}

void TForm1::OnFinishReply() {
  const std::string status = download::Status(rx_buffer);
  if (status == download::status_ok && staged_download) {
    // The finish is answered: the next image's blocks are no wait for it.
    ShowBusy(false);
    ContinueScript();
  } else if (status == download::status_ok) {
    ShowBusy(false);
    GroupBox_gauge_up_down_loading.visible = false;
    ShowReadyPanel(ReadyButtons::ok, texts::finished_1, texts::finished_2);
  } else if (status == download::status_busy) {
    error_count = 0;
    StopLinkTimers();
    next_action = NextAction::handle_comm_error;
    Timer4.set_interval(download::busy_unit_wait_ms);
    Timer4.set_enabled(true);
  } else if (status == download::status_refused) {
    ShowBusy(false);
    GroupBox_gauge_up_down_loading.visible = false;
    dialogs.message(ui::BoxKind::warning, texts::download_failed);
  } else {
    ReportLinkError();
  }
}

void TForm1::OnRestartReply() {
  if (download::Status(rx_buffer) == download::status_ok) return ContinueScript();
  // After a power cycle the prompt stays up: the user switches the power again.
  // This report is judged once; left held, it would stand in front of the next.
  if (next_action == NextAction::power_cycle_wait) return ClearRx();
  ShowRefusalForm(texts::restart_refused, texts::start_failed_2, "");
}

void TForm1::ContinueScript() {
  Panel_ready_for_download.visible = false;
  comm_state = CommState::script_step;
  ScriptStep();
}
