#include "win32/snapshot_shots.h"

#include "app/window_states.h"
#include "win32/window_shot.h"

namespace win32ui {

namespace {

// Ports as Windows names them.
app::ShownPorts WindowsPorts() {
  return {{"COM1", "COM2"}, {"COM3", "COM12"}, "COM3", "COM12"};
}

}  // namespace

int WriteMainWindowShots(TForm1& form, FormView& view, const std::string& dir) {
  int failures = 0;
  for (const app::WindowState& state : TForm1::WindowStates(WindowsPorts())) {
    form.PutAtRest();
    state.set_up(form);
    view.sync();
    if (state.autoselect && form.CheckBox_Autoselect_comport.checked != *state.autoselect) {
      // Clicked as the user would, so the click goes through the window.
      ::SendMessageA(view.window_of(form.CheckBox_Autoselect_comport), BM_CLICK, 0, 0);
      view.sync();
    }
    if (!WriteWindowShot(view.root(), dir + "/" + state.file)) ++failures;
  }
  return failures;
}

}  // namespace win32ui
