// What the window waits for: the unit, the user, or nothing at all. One
// definition, so that every front end and every check agrees on when a download
// can still move and when it has come to rest.
#include "app/main_window.h"
#include "download/protocol.h"

bool TForm1::UnitAwaited() const {
  return Timer1.enabled() || Timer2.enabled() || Timer4.enabled() || hid_writes_on_their_way > 0 ||
         PowerCycleReportAwaited();
}

bool TForm1::ReplyAwaited() const {
  return Timer2.enabled() || PowerCycleWaitRuns();
}

// From the power-cycle prompt on: first the moment before Timer4 starts the
// wait, then the wait itself, which no time-out ends.
bool TForm1::PowerCycleWaitRuns() const {
  if (next_action != NextAction::power_cycle_wait) return false;
  return Timer4.enabled() || (comm_state == CommState::restart && !Timer2.enabled());
}

// The report, once held whole, is judged at once: an "OK" goes on with the
// script, any other status is dropped and the next report awaited.
bool TForm1::PowerCycleReportAwaited() const {
  const bool judged = rx_count >= download::MinimumReplyLength(CommState::restart, false) &&
                      !rx_buffer.empty() && rx_buffer[0] == StateLetter(CommState::restart);
  return PowerCycleWaitRuns() && !judged;
}

// A panel whose button would talk to the unit next.
bool TForm1::OffersToGoOn() const {
  return (Panel_ready_for_download.visible && Button_Download_ready_for_download.visible) ||
         Panel_olderversion_text.visible || (Panel_tekstveld.visible && staged_download);
}

bool TForm1::ConnectionRuns() const {
  return UnitAwaited() || OffersToGoOn();
}

bool TForm1::WaitsForUser() const {
  return Asking() != Asks::nothing;
}
