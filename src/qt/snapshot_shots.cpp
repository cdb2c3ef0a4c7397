#include "qt/snapshot_shots.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "app/window_states.h"
#include "qt/check_box_widget.h"
#include "qt/form_widget.h"

namespace qtui {

namespace {

// Ports as a Linux system names them.
app::ShownPorts LinuxPorts() {
  return {{"/dev/ttyS0", "/dev/ttyS1"},
          {"/dev/ttyACM10", "/dev/ttyUSB0"},
          "/dev/ttyUSB0",
          "/dev/ttyACM10"};
}

}  // namespace

bool WriteFormShot(FormView& view, const QString& path) {
  view.sync();
  QApplication::processEvents();
  if (view.root()->grab().save(path, "PNG")) {
    std::printf("%s\n", qPrintable(path));
    return true;
  }
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

int WriteMainWindowShots(TForm1& form, FormView& view, const QDir& dir) {
  int failures = 0;
  for (const app::WindowState& state : TForm1::WindowStates(LinuxPorts())) {
    form.PutAtRest();
    state.set_up(form);
    view.sync();
    if (state.autoselect && form.CheckBox_Autoselect_comport.checked != *state.autoselect) {
      // Clicked as the user would, so the click goes through the window.
      static_cast<QAbstractButton*>(view.widget_of(form.CheckBox_Autoselect_comport))->click();
    }
    if (!WriteFormShot(view, dir.filePath(QString::fromLatin1(state.file)))) ++failures;
  }
  return failures;
}

}  // namespace qtui
