// zekflash: the program with its window.
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/hid_device.h"
#include "platform/poll_loop.h"
#include "platform/serial_port.h"
#include "win32/dpi.h"
#include "win32/form_view.h"
#include "win32/win32_dialogs.h"

namespace {

int Run(int argc, char** argv) {
  const double scale = win32ui::DeclareDpiAwareAndGetScale();
  std::vector<std::string> args(argv + 1, argv + argc);
  char exe[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);

  // Timers, received bytes and the window's messages all come through this
  // one loop, on this thread.
  platform::PollLoop loop;
  win32ui::Win32Dialogs dialogs(scale);
  const auto serial = platform::MakeSystemSerial();
  const auto hid = platform::MakeSystemHid(loop);
  TForm1 form(Environment{loop, dialogs, *serial, *hid, std::move(args), exe});

  win32ui::FormView view(form, nullptr, scale);
  dialogs.set_owner(view.root());
  dialogs.while_modal = [&loop, &view] {
    loop.run_ready();
    view.sync();
  };
  form.FormShow();
  view.sync();
  while (!view.closed()) {
    loop.run_once(-1);
    view.sync();
  }
  dialogs.while_modal = nullptr;
  dialogs.set_owner(nullptr);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return Run(__argc, __argv);
}
