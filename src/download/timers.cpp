// The reply time-out (Timer2) and the one-shot next action (Timer4).
#include "app/main_window.h"
#include "download/protocol.h"
#include "download/texts.h"

void TForm1::Timer2Timer() {
  switch (comm_state) {
    case 'u':
      StopLinkTimers();
      ClosePort();
      Timer2.set_enabled(false);
      Timer2.set_interval(100);
      ShowBusy(false);
      dialogs.message(ui::BoxKind::warning, texts::download_failed);
      return;
    case '}':
      // A unit that cannot restart itself stays silent; its status reply in
      // state '9' tells that it is still there.
      StopLinkTimers();
      error_count = 0;
      ClearRx();
      comm_state = '9';
      if (Send(protocol::StatusRequest(), protocol::hid_length_single)) Timer2.set_enabled(true);
      return;
    default:
      HandleCommError();
  }
}

void TForm1::Timer4Timer() {
  Timer4.set_enabled(false);
  switch (next_action) {
    case 0:
      Timer2.set_interval(500);
      SendVersionRequest();
      Timer4.set_interval(60);
      return;
    case 1:
      SendStartRequest();
      return;
    case 2:
      // Power cycle: nothing is sent; the unit reports back by itself. Whatever the
      // buffer still holds answered the request before and must not stand in
      // front of that report.
      ClearRx();
      comm_state = 'r';
      return;
    case 3:
      SendRestartRequest();
      return;
    case 6:
      Timer4.set_interval(60);
      HandleCommError();
      return;
    case 19:
      ClosePort();
      ProbeCandidatePort();
      Timer4.set_interval(60);
      return;
    default:
      return;
  }
}
