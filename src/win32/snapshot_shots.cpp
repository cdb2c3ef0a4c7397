#include "win32/snapshot_shots.h"

#include "win32/window_shot.h"

namespace win32ui {

namespace {

// Ports as Windows names them.
app::ShownPorts WindowsPorts() {
  return {{"COM1", "COM2"}, {"COM3", "COM12"}, "COM3", "COM12"};
}

}  // namespace

int WriteMainWindowShots(app::Composition& program, FormView& view, const std::string& dir) {
  int failures = 0;
  for (const app::Scene& scene : program.Scenes(WindowsPorts())) {
    const ui::Control* click = scene.set_up();
    view.sync();
    if (click != nullptr) {
      // Clicked as the user would, so the click goes through the window.
      ::SendMessageA(view.window_of(*click), BM_CLICK, 0, 0);
      view.sync();
    }
    if (!WriteWindowShot(view.root(), dir + "/" + scene.file)) ++failures;
  }
  return failures;
}

}  // namespace win32ui
