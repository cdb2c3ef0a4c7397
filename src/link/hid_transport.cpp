// The HID bridge link. No bridge is picked up yet on this platform, so every
// request over it reports that none is connected, as it would while no bridge
// has been found.
#include "app/main_window.h"
#include "texts/texts.h"

bool TForm1::SendHidReport(std::span<const std::uint8_t> /*request*/, int /*length*/) {
  dialogs.message(ui::BoxKind::error, texts::usb_error_4);
  return false;
}

void TForm1::Timer1Timer() {
  Timer1.set_enabled(false);
  dialogs.message(ui::BoxKind::error, texts::usb_error_3_chunks);
}
