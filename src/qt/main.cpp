// zekflash: the program with its window.
#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "platform/settings_files.h"
#include "qt/form_view.h"
#include "qt/form_widget.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_event_loop.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // Taken after QApplication has removed its own options, so that "-O" and the
  // port number are found in the places the user put them among our own.
  const QStringList arguments = QCoreApplication::arguments();
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    args.push_back(QFile::encodeName(arguments[i]).toStdString());
  }

  qtui::QtEventLoop loop;
  qtui::QtDialogs dialogs;
  const auto serial = platform::MakeSystemSerial();
  const auto hid = platform::MakeSystemHid(loop);
  const auto settings = platform::MakeSystemSettingsFiles();
  TForm1 form(Environment{loop, dialogs, *serial, *hid, std::move(args),
                          QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
                          settings.get()});

  qtui::FormView view(form);
  dialogs.set_owner(view.root());
  loop.after_event = [&view] { view.sync(); };
  view.root()->show();
  form.FormShow();
  view.sync();
  const int code = QApplication::exec();
  // The window goes before the form and the loop; nothing may sync it after this.
  loop.after_event = nullptr;
  return code;
}
