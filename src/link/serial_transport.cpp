// Requests out over `ComPort1`, replies in to the dispatcher.
#include <algorithm>
#include <array>

#include "app/main_window.h"
#include "texts/texts.h"

// False only when the write failed: a request counts as sent only when every
// byte reached the driver in time. On a closed port nothing happens at all.
bool TForm1::WriteToComPort(std::span<const std::uint8_t> request) {
  if (!ComPort1.connected()) return true;
  ClearRx();
  if (!ComPort1.write(request)) return false;
  Timer2.set_enabled(true);
  return true;
}

// The box says only "Communicatie Error"; the reason stays in ComPort1.last_error().
bool TForm1::SendOverComPort(std::span<const std::uint8_t> request) {
  if (WriteToComPort(request)) return true;
  StopLinkTimers();
  Timer4.set_enabled(false);
  dialogs.message(ui::BoxKind::error, texts::communicatie_error);
  return false;
}

void TForm1::StopLinkTimers() {
  ++link_stops;
  Timer1.set_enabled(false);
  Timer2.set_enabled(false);
  if (link_kind == firmware::Link::serial && ComPort1.connected()) ComPort1.clear_buffers();
}

void TForm1::ComPort1RxChar(int count) {
  if (link_kind == firmware::Link::serial) {
    ReceiveDispatcher(count);
    return;
  }
  // The download runs over the HID bridge, so nothing judges serial bytes (a
  // probed port's answer, say). They are read and dropped all the same: left in
  // the queue they would wake the loop again at once, for ever.
  std::array<std::uint8_t, 256> sink{};
  for (int left = count; left > 0;) {
    const std::size_t want = std::min<std::size_t>(sink.size(), static_cast<std::size_t>(left));
    auto got = ComPort1.read(std::span(sink.data(), want));
    if (!got || *got == 0) return;
    left -= static_cast<int>(*got);
  }
}

// The device went away under us (cable pulled, adapter unplugged): the port has
// closed itself, and nothing more can arrive. A probed port is simply no longer
// a candidate. A download that waits on the unit, or that a panel offers to go
// on with, is told now, rather than let the time-outs find out one by one, or
// never where no time-out runs; the panels that offered to go on go, since
// Retry starts the connection over. With nothing awaited (no file, or the
// download ended) there is nothing to tell.
void TForm1::ComPort1Gone(const core::Error& error) {
  if (Timer4.enabled() && next_action == NextAction::probe_next_port) return;
  if (comm_state == CommState::probe && next_action != NextAction::connect && UnitAwaited()) {
    return SkipCandidate();
  }
  if (link_kind != firmware::Link::serial) return;
  if (!ConnectionRuns()) return;
  StopLinkTimers();
  CancelNextAction();
  // No report can come on a closed port: the power-cycle wait ends here, or it
  // would count as a running download for ever.
  if (PowerCycleWaitRuns()) comm_state = CommState::idle;
  Panel_ready_for_download.visible = false;
  Panel_olderversion_text.visible = false;
  Panel_tekstveld.visible = false;
  ShowOfflineForm(texts::offline_1, texts::offline_2, texts::Disconnected(error.name));
}
