#include "qt/snapshot_shots.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

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

int WriteMainWindowShots(app::Composition& program, FormView& view, const QDir& dir) {
  int failures = 0;
  for (const app::Scene& scene : program.Scenes(LinuxPorts())) {
    const ui::Control* click = scene.set_up();
    view.sync();
    // Clicked as the user would, so the click goes through the window.
    if (click != nullptr) static_cast<QAbstractButton*>(view.widget_of(*click))->click();
    if (!WriteFormShot(view, dir.filePath(QString::fromLatin1(scene.file)))) ++failures;
  }
  return failures;
}

}  // namespace qtui
