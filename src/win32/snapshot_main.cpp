// zekflash-snapshot DIR: pictures of the window, without any device.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/composition.h"
#include "app/opening_screen.h"
#include "core/manual_loop.h"
#include "platform/unplugged.h"
#include "ui/scripted_dialogs.h"
#include "win32/dpi.h"
#include "win32/form_view.h"
#include "win32/snapshot_shots.h"
#include "win32/window_shot.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zekflash-snapshot DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  if (!::CreateDirectoryA(dir.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    std::fprintf(stderr, "cannot create %s\n", dir.c_str());
    return 1;
  }
  const double scale = win32ui::DeclareDpiAwareAndGetScale();

  int failures = 0;
  {
    TOKBottomDlg_openingsscherm opening;
    opening.visible = true;
    win32ui::FormView view(opening, nullptr, scale);
    view.sync();
    if (!win32ui::WriteWindowShot(view.root(), dir + "/opening_screen.png")) ++failures;
  }

  core::ManualLoop loop;
  ui::ScriptedDialogs dialogs;
  platform::UnpluggedSerial serial;
  platform::UnpluggedHid hid;
  char exe[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const app::Systems systems{serial, hid};
  app::Composition program({.loop = loop,
                            .dialogs = dialogs,
                            .args = {"-O"},
                            .executable_path = exe,
                            .systems = &systems});
  win32ui::FormView view(program.form(), nullptr, scale);
  program.Show();
  view.sync();
  failures += win32ui::WriteMainWindowShots(program, view, dir);
  return failures == 0 ? 0 : 1;
}
