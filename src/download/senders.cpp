// The request senders: each sets `comm_state`, hands its request to the link of
// `link_kind`, and does its own label and reply-timer steps.
#include "app/main_window.h"
#include "download/protocol.h"
#include "firmware/image.h"
#include "texts/texts.h"

void TForm1::WriteCommLabel() {
  label_comm_errors.caption = texts::PortErrors(ComPort1.port(), error_count);
}

void TForm1::ClearRx() {
  rx_buffer.clear();
  rx_count = 0;
}

// Opens `port_name` when the port is closed; on failure shows the offline panel,
// whose texts are the product's: the reason stays in ComPort1.last_error(). A
// port that cannot run at the unit's rate is named with the rate, since no
// cable or power would help it.
bool TForm1::EnsurePortOpen() {
  if (ComPort1.connected()) return true;
  core::Status s = ComPort1.set_port(port_name);
  if (s) s = ComPort1.open();
  if (s) return true;
  StopLinkTimers();
  Timer4.set_enabled(false);
  const auto rate = ComPort1.refused_rate();
  ShowOfflineForm(texts::offline_1, texts::offline_2,
                  rate ? texts::RateRefused(ComPort1.port(), *rate) : "");
  return false;
}

// Whether the request went out (or found the port closed, where nothing happens);
// after a failed write the sender does nothing more, so the link stands still.
bool TForm1::Send(const download::Bytes& request, int hid_length) {
  if (link_kind == firmware::Link::serial) return SendOverComPort(request);
  return SendHidReport(request, hid_length);
}

void TForm1::SendVersionRequest() {
  comm_state = CommState::version;
  Timer2.set_interval(download::reply_time_out_ms);
  if (link_kind == firmware::Link::serial) {
    if (!EnsurePortOpen()) return;
    WriteCommLabel();
  }
  Send(download::VersionRequest(), download::hid_length_single);
}

void TForm1::SendSerialRequest() {
  comm_state = CommState::serial_number;
  Timer2.set_interval(download::reply_time_out_ms);
  if (link_kind == firmware::Link::serial && !EnsurePortOpen()) return;
  Send(download::SerialRequest(), download::hid_length_single);
}

void TForm1::SendPrepareRequest() {
  comm_state = CommState::prepare;
  Timer2.set_interval(download::reply_time_out_ms);
  if (!Send(download::PrepareRequest(), download::hid_length_single)) return;
  WriteCommLabel();
  Timer2.set_enabled(true);
}

void TForm1::SendAccessRequest() {
  comm_state = CommState::access;
  Timer2.set_interval(download::reply_time_out_ms);
  if (!Send(download::AccessRequest(), download::hid_length_access)) return;
  WriteCommLabel();
  Timer2.set_enabled(true);
}

void TForm1::SendStatusRequest() {
  comm_state = CommState::status;
  Timer2.set_interval(download::reply_time_out_ms);
  if (!Send(download::StatusRequest(), download::hid_length_single)) return;
  WriteCommLabel();
  Timer2.set_enabled(true);
}

void TForm1::SendStartRequest() {
  comm_state = CommState::start;
  Timer2.set_interval(download::reply_time_out_ms);
  if (!Send(download::StartRequest(StaticText_Serial_number.caption),
            download::hid_length_start_finish)) {
    return;
  }
  WriteCommLabel();
  Timer2.set_enabled(true);
}

void TForm1::SendFinishRequest() {
  comm_state = CommState::finish;
  Timer2.set_interval(finish_wait * download::finish_wait_unit_ms);
  if (!Send(download::FinishRequest(StaticText_Serial_number.caption),
            download::hid_length_start_finish)) {
    return;
  }
  WriteCommLabel();
  ShowBusy(true);
}

void TForm1::SendSwitchRequest() {
  comm_state = CommState::switch_request;
  Timer2.set_interval(download::reply_time_out_ms);
  if (!Send(download::SwitchRequest(), download::hid_length_switch_restart)) return;
  WriteCommLabel();
  Timer2.set_enabled(true);
}

void TForm1::SendRestartRequest() {
  comm_state = CommState::restart;
  if (!Send(download::RestartRequest(), download::hid_length_switch_restart)) return;
  WriteCommLabel();
  Timer2.set_interval(download::restart_time_out_ms);
}

void TForm1::SendBlock() {
  const auto block = firmware::ReadDataBlock(firmware_file_name, block_nr);
  if (!block) {
    dialogs.message(ui::BoxKind::plain, texts::block_read_error);
    return;
  }
  comm_state = CommState::block;
  Timer2.set_interval(download::reply_time_out_ms);
  block_message = download::BlockFrame(block_nr, *block);
  if (link_kind == firmware::Link::serial) {
    SendOverComPort(block_message);
  } else {
    hid_chunk_index = 0;
    // The reply timer starts with the last piece. Left running from the
    // request before (a block sent again), it would start the block over
    // while its pieces go out, and the unit would get a maimed one.
    Timer2.set_enabled(false);
    Timer1.set_enabled(true);
  }
}
