// Counting link errors, re-sending the request in flight, and probing ports.
#include "app/main_window.h"
#include "download/protocol.h"
#include "texts/texts.h"

void TForm1::HandleCommError() {
  ClearRx();
  if (link_kind == firmware::Link::serial && ComPort1.connected()) ComPort1.clear_buffers();
  error_count += 1;
  WriteCommLabel();
  if (error_count <= download::resends_before_giving_up) {
    ResendInFlight();
    return;
  }
  StopLinkTimers();
  error_count = 0;
  ClearRx();
  Button_Retry_communication_offline.visible = true;
  Button_Cancel_communication_offline.visible = true;
  Button_ok_communication_offline.visible = false;
  if (comm_state != CommState::probe) {
    ShowOfflineForm(texts::offline_1, texts::offline_2, "");
    return;
  }
  ClosePort();
  autoselect_index += 1;
  if (!PortSearchCandidate(autoselect_index)) {
    ShowOfflineForm(texts::no_port_1, texts::no_port_2, texts::no_port_3);
  } else {
    ProbeCandidatePort();
  }
}

void TForm1::ResendInFlight() {
  switch (comm_state) {
    case CommState::script_step:
      return;
    case CommState::status_after_switch:
      // Nothing is re-sent, but the reply timer goes on counting, so that the
      // fourth error gives up; a link error report had stopped it.
      Timer2.set_enabled(true);
      dialogs.message(ui::BoxKind::error, texts::comm_error_test2);
      return;
    case CommState::probe:
      return ProbeCandidatePort();
    case CommState::block:
      block_copies += 1;
      return SendBlock();
    case CommState::serial_number:
      return SendSerialRequest();
    case CommState::start:
      return SendStartRequest();
    case CommState::version:
      return SendVersionRequest();
    case CommState::prepare:
      return SendPrepareRequest();
    case CommState::access:
      return SendAccessRequest();
    case CommState::status:
      return SendStatusRequest();
    case CommState::restart:
      return SendRestartRequest();
    case CommState::finish:
      return SendFinishRequest();
    case CommState::switch_request:
      return SendSwitchRequest();
    default:
      dialogs.message(ui::BoxKind::error, texts::comm_error_test2);
  }
}

void TForm1::ProbeCandidatePort() {
  if (!ComPort1.connected() && !OpenCandidatePort()) return SkipCandidate();
  comm_state = CommState::probe;
  // A port that takes no request leads to no unit: the failed write is told as
  // any other is, and the search goes on as after a port that will not open.
  if (!SendOverComPort(download::VersionRequest())) SkipCandidate();
}

// Gives up the candidate at `autoselect_index` before it answered: the next one is
// probed on Timer4's tick, which closes this port first. Each candidate starts
// with a clean count, so that each gets its four requests.
void TForm1::SkipCandidate() {
  StopLinkTimers();
  Timer4.set_enabled(false);
  error_count = 0;
  next_action = NextAction::probe_next_port;
  autoselect_index += 1;
  if (PortSearchCandidate(autoselect_index)) {
    Timer4.set_enabled(true);
  } else {
    ClosePort();
    ShowOfflineForm(texts::no_port_1, texts::no_port_2, texts::no_port_3);
  }
}

bool TForm1::OpenCandidatePort() {
  const auto candidate = PortSearchCandidate(autoselect_index);
  if (!candidate || !ComPort1.set_port(*candidate)) return false;
  WriteCommLabel();
  return static_cast<bool>(ComPort1.open());
}
