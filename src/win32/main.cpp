// zekflash: the program with its window.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/panel_tracer.h"
#include "app/trace_file.h"
#include "platform/hid_device.h"
#include "platform/poll_loop.h"
#include "platform/serial_port.h"
#include "platform/settings_files.h"
#include "texts/texts.h"
#include "texts/version.h"
#include "ui/traced_dialogs.h"
#include "win32/dpi.h"
#include "win32/form_view.h"
#include "win32/program_text.h"
#include "win32/win32_dialogs.h"

namespace {

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (app::VersionWanted(args)) {
    win32ui::ShowProgramText(texts::VersionLine("zekflash"));
    return 0;
  }
  const double scale = win32ui::DeclareDpiAwareAndGetScale();
  char exe[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);

  // Timers, received bytes and the window's messages all come through this
  // one loop, on this thread.
  platform::PollLoop loop;
  app::WantedTrace wanted = app::OpenWindowTrace(args, loop);
  if (!wanted.refusal.empty()) {
    std::fprintf(stderr, "zekflash: %s\n", wanted.refusal.c_str());
    ::MessageBoxA(nullptr, wanted.refusal.c_str(), texts::program_name, MB_OK | MB_ICONERROR);
    return 2;
  }
  const std::unique_ptr<app::TraceFile> trace = std::move(wanted.file);
  win32ui::Win32Dialogs win_dialogs(scale);
  std::optional<ui::TracedDialogs> traced;
  if (trace) traced.emplace(win_dialogs, *trace);
  ui::Dialogs& dialogs = traced ? static_cast<ui::Dialogs&>(*traced) : win_dialogs;
  const auto serial = platform::MakeSystemSerial();
  const auto hid = platform::MakeSystemHid(loop);
  const auto settings = platform::MakeSystemSettingsFiles();
  TForm1 form(
      Environment{loop, dialogs, *serial, *hid, std::move(args), exe, trace.get(), settings.get()});

  win32ui::FormView view(form, nullptr, scale);
  std::optional<app::PanelTracer> panels;
  if (trace) {
    panels.emplace(form, *trace);
    view.after_sync = [&panels] { panels->Check(); };
  }
  win_dialogs.set_owner(view.root());
  win_dialogs.while_modal = [&loop, &view] {
    loop.run_ready();
    view.sync();
  };
  form.FormShow();
  view.sync();
  while (!view.closed()) {
    loop.run_once(-1);
    view.sync();
  }
  win_dialogs.while_modal = nullptr;
  win_dialogs.set_owner(nullptr);
  view.after_sync = nullptr;
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return Run(__argc, __argv);
}
