// Counting link errors, re-sending the request in flight, and probing ports.
#include "app/main_window.h"
#include "download/protocol.h"
#include "download/texts.h"

void TForm1::HandleCommError() {
  ClearRx();
  if (link_kind == 1 && ComPort1.connected()) ComPort1.clear_buffers();
  error_count += 1;
  WriteCommLabel();
  if (error_count <= 3) {
    ResendInFlight();
    return;
  }
  StopLinkTimers();
  error_count = 0;
  ClearRx();
  Button_Retry_communication_offline.visible = true;
  Button_Cancel_communication_offline.visible = true;
  Button_ok_communication_offline.visible = false;
  if (comm_state != '6') {
    ShowOfflineForm(texts::offline_1, texts::offline_2, "");
    return;
  }
  ClosePort();
  autoselect_index += 1;
  if (autoselect_index >= static_cast<std::int32_t>(ComboBox_setCompoort2.items.size())) {
    ShowOfflineForm(texts::no_port_1, texts::no_port_2, texts::no_port_3);
  } else {
    ProbeCandidatePort();
  }
}

void TForm1::ResendInFlight() {
  switch (comm_state) {
    case '.':
      return;
    case '6':
      return ProbeCandidatePort();
    case 'B':
      return SendBlock();
    case 'S':
      return SendSerialRequest();
    case 'U':
      return SendStartRequest();
    case 'V':
      return SendVersionRequest();
    case 'W':
      return SendPrepareRequest();
    case 'a':
      return SendAccessRequest();
    case 'd':
      return SendStatusRequest();
    case 'r':
      return SendRestartRequest();
    case 'u':
      return SendFinishRequest();
    case '}':
      return SendSwitchRequest();
    default:
      dialogs.message(ui::BoxKind::error, texts::comm_error_test2);
  }
}

void TForm1::ProbeCandidatePort() {
  if (!ComPort1.connected() && !OpenCandidatePort()) {
    StopLinkTimers();
    Timer4.set_enabled(false);
    next_action = 19;
    autoselect_index += 1;
    if (autoselect_index < static_cast<std::int32_t>(ComboBox_setCompoort2.items.size())) {
      Timer4.set_enabled(true);
    } else {
      ShowOfflineForm(texts::no_port_1, texts::no_port_2, texts::no_port_3);
    }
    return;
  }
  comm_state = '6';
  SendOverComPort(protocol::VersionRequest());
}

bool TForm1::OpenCandidatePort() {
  const auto& items = ComboBox_setCompoort2.items;
  if (autoselect_index < 0 || autoselect_index >= static_cast<std::int32_t>(items.size())) {
    return false;
  }
  if (!ComPort1.set_port(items[static_cast<std::size_t>(autoselect_index)])) return false;
  WriteCommLabel();
  return static_cast<bool>(ComPort1.open());
}
