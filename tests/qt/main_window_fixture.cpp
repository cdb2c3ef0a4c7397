#include "main_window_fixture.h"

MainWindowFixture::MainWindowFixture() {
  view.root()->show();
  form.FormShow();
  view.sync();
}

QWidget* MainWindowFixture::widget(const ui::Control& c) const {
  QWidget* w = view.widget_of(c);
  EXPECT_NE(w, nullptr) << c.name();
  return w;
}
