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
      // Back to the time-out it had at start-up.
      Timer2.set_interval(download::probe_time_out_ms);
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

// Timer4 will not fire for what it was armed for. An interval stretched for
// that one firing (a busy unit's 2 s, the wait for the replies to a block's
// other copies) must not delay whatever it is armed for next.
void TForm1::CancelNextAction() {
  Timer4.set_enabled(false);
  if (next_action == NextAction::handle_comm_error || next_action == NextAction::next_block) {
    Timer4.set_interval(download::action_delay_ms);
  }
}

void TForm1::Timer4Timer() {
  Timer4.set_enabled(false);
  switch (next_action) {
    case NextAction::connect:
      // A reply that came late for the connection before may have shown a panel
      // since the start was asked for; none of it belongs to this connection.
      HideProgressPanels();
      TakeNewestBridge();
      Timer2.set_interval(download::reply_time_out_ms);
      SendVersionRequest();
      Timer4.set_interval(download::action_delay_ms);
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
      Timer4.set_interval(download::action_delay_ms);
      HandleCommError();
      return;
    case NextAction::next_block:
      Timer4.set_interval(download::action_delay_ms);
      SendNextBlock();
      return;
    case NextAction::probe_next_port:
      HideProgressPanels();
      ClosePort();
      Timer2.set_interval(download::probe_time_out_ms);
      ProbeCandidatePort();
      Timer4.set_interval(download::action_delay_ms);
      return;
    default:
      return;
  }
}
