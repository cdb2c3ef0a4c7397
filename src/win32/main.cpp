// zekflash: the program with its window.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/composition.h"
#include "app/trace_file.h"
#include "platform/poll_loop.h"
#include "texts/texts.h"
#include "texts/version.h"
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
  app::Composition program({.loop = loop,
                            .dialogs = win_dialogs,
                            .args = std::move(args),
                            .executable_path = exe,
                            .trace = trace.get()});

  win32ui::FormView view(program.form(), nullptr, scale);
  view.after_sync = [&program] { program.panels().Check(); };
  win_dialogs.set_owner(view.root());
  win_dialogs.while_modal = [&loop, &view] {
    loop.run_ready();
    view.sync();
  };
  program.Show();
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
