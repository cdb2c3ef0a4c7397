#pragma once

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "core/manual_loop.h"
#include "fake_hid.h"
#include "fake_serial.h"
#include "qt/form_view.h"
#include "ui/scripted_dialogs.h"

// The main window without its opening screen, shown offscreen with its view.
class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture();

  // The widget of `c`, which every component of the window has.
  QWidget* widget(const ui::Control& c) const;
  template <class W>
  W* widget_as(const ui::Control& c) const {
    return qobject_cast<W*>(widget(c));
  }

  core::ManualLoop loop;
  FakeSerial serial{loop};
  FakeHid hid{loop};
  ui::ScriptedDialogs dialogs;
  TForm1 form{Environment{loop, dialogs, serial, hid, {"-O"}, "/opt/zek/zekflash"}};
  qtui::FormView view{form};
};
