// The reply time-out (Timer2) and the one-shot next action (Timer4).
#include "app/main_window.h"
#include "download/protocol.h"
#include "texts/texts.h"

void TForm1::Timer2Timer() {
  // The bridge still holds the request: the unit cannot have answered it.
  // The reply timer counts again from the moment it is taken.
  if (link_kind == firmware::Link::hid && hid_writes_on_their_way > 0) return;
  switch (comm_state) {
    case CommState::finish:
      StopLinkTimers();
      ClosePort();
      Timer2.set_enabled(false);
      Timer2.set_interval(100);
      ShowBusy(false);
      GroupBox_gauge_up_down_loading.visible = false;
      dialogs.message(ui::BoxKind::warning, texts::download_failed);
      return;
    case CommState::switch_request:
      // A unit that cannot restart itself stays silent; its status reply
      // after the switch tells that it is still there.
      StopLinkTimers();
      error_count = 0;
      ClearRx();
      comm_state = CommState::status_after_switch;
      if (Send(download::StatusRequest(), download::hid_length_single)) Timer2.set_enabled(true);
      return;
    default:
      HandleCommError();
  }
}

void TForm1::Timer4Timer() {
  Timer4.set_enabled(false);
  switch (next_action) {
    case NextAction::connect:
      // A reply that came late for the connection before may have shown a panel
      // since the start was asked for; none of it belongs to this connection.
      HideProgressPanels();
      Timer2.set_interval(500);
      SendVersionRequest();
      Timer4.set_interval(60);
      return;
    case NextAction::start_download:
      SendStartRequest();
      return;
    case NextAction::power_cycle_wait:
      // Power cycle: nothing is sent; the unit reports back by itself. Whatever the
      // buffer still holds answered the request before and must not stand in
      // front of that report.
      ClearRx();
      comm_state = CommState::restart;
      return;
    case NextAction::restart:
      SendRestartRequest();
      return;
    case NextAction::handle_comm_error:
      Timer4.set_interval(60);
      HandleCommError();
      return;
    case NextAction::probe_next_port:
      HideProgressPanels();
      ClosePort();
      Timer2.set_interval(download::probe_time_out_ms);
      ProbeCandidatePort();
      Timer4.set_interval(60);
      return;
    default:
      return;
  }
}
