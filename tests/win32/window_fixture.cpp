#include "window_fixture.h"

#include "win32/window_shot.h"

WindowFixture::WindowFixture(double scale) {
  view = std::make_unique<win32ui::FormView>(form, nullptr, scale);
  form.FormShow();
  view->sync();
  ::SetForegroundWindow(view->root());
  Pump();
}

void WindowFixture::Pump() const {
  win32ui::PumpWaitingMessages();
  view->sync();
}
