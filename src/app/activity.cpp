// What the window waits for: the unit, the user, or nothing at all. One
// definition, so that every front end and every check agrees on when a download
// can still move and when it has come to rest.
#include "app/main_window.h"

bool TForm1::Pending() const {
  if (Timer1.enabled() || Timer2.enabled() || Timer4.enabled()) return true;
  return AwaitsPowerUpReport();
}

// After a power cycle no time-out runs: the unit's own 'r' message is awaited
// until it has come and been judged.
bool TForm1::AwaitsPowerUpReport() const {
  if (comm_state != CommState::restart) return false;
  const bool judged = rx_count >= 4 && !rx_buffer.empty() && rx_buffer[0] == 'r';
  return !judged;
}

bool TForm1::WaitsForUser() const {
  const bool ready =
      Panel_ready_for_download.visible &&
      (Button_Download_ready_for_download.visible || Button_Cancel_ready_for_download.visible ||
       Button_Ok_ready_for_download.visible);
  return ready || Panel_Acces_level_problem.visible || Panel_communication_offline.visible ||
         Panel_tekstveld.visible || Panel_olderversion_text.visible;
}
