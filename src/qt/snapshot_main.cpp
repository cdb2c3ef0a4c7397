// zekflash-snapshot DIR: pictures of the window, offscreen, without any device.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyleFactory>
#include <cstdio>

#include "app/composition.h"
#include "app/opening_screen.h"
#include "core/manual_loop.h"
#include "platform/unplugged.h"
#include "qt/form_view.h"
#include "qt/form_widget.h"
#include "qt/snapshot_shots.h"
#include "ui/scripted_dialogs.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  if (argc != 2) {
    std::fprintf(stderr, "usage: zekflash-snapshot DIR\n");
    return 2;
  }
  const QDir dir(QFile::decodeName(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }

  int failures = 0;
  {
    TOKBottomDlg_openingsscherm opening;
    qtui::FormView view(opening);
    view.root()->show();
    if (!qtui::WriteFormShot(view, dir.filePath(QStringLiteral("opening_screen.png")))) ++failures;
  }

  core::ManualLoop loop;
  ui::ScriptedDialogs dialogs;
  platform::UnpluggedSerial serial;
  platform::UnpluggedHid hid;
  const app::Systems systems{serial, hid};
  app::Composition program(
      {.loop = loop,
       .dialogs = dialogs,
       .args = {"-O"},
       .executable_path = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
       .systems = &systems});
  qtui::FormView view(program.form());
  view.root()->show();
  program.Show();
  failures += qtui::WriteMainWindowShots(program, view, dir);
  return failures == 0 ? 0 : 1;
}
