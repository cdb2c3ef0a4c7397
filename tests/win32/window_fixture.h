#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window.h"
#include "core/manual_loop.h"
#include "fake_hid.h"
#include "fake_serial.h"
#include "ui/scripted_dialogs.h"
#include "win32/form_view.h"

// The main window without its opening screen, shown on the screen with its view.
class WindowFixture : public ::testing::Test {
 protected:
  explicit WindowFixture(double scale = 1.0);

  HWND window(const ui::Control& c) const { return view->window_of(c); }
  // Handles the messages waiting, as the program's loop would between events.
  void Pump() const;

  core::ManualLoop loop;
  FakeSerial serial{loop};
  FakeHid hid{loop};
  ui::ScriptedDialogs dialogs;
  TForm1 form{Environment{loop, dialogs, serial, hid, {"-O"}, "C:\\zek\\zekflash.exe"}};
  std::unique_ptr<win32ui::FormView> view;
};
