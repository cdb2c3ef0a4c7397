// zekflash: the program with its window.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStyleFactory>
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
#include "platform/serial_port.h"
#include "platform/settings_files.h"
#include "qt/form_view.h"
#include "qt/form_widget.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_event_loop.h"
#include "texts/texts.h"
#include "texts/version.h"
#include "ui/traced_dialogs.h"

int main(int argc, char** argv) {
  // Answered before the toolkit starts, so that they need no display.
  const std::vector<std::string> given(argv + 1, argv + argc);
  if (app::HelpWanted(given)) {
    std::fputs(texts::window_usage, stdout);
    return 0;
  }
  if (app::VersionWanted(given)) {
    std::fputs(texts::VersionLine("zekflash").c_str(), stdout);
    return 0;
  }
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
  app::WantedTrace wanted = app::OpenWindowTrace(args, loop);
  if (!wanted.refusal.empty()) {
    std::fprintf(stderr, "zekflash: %s\n", wanted.refusal.c_str());
    QMessageBox::critical(nullptr, QString::fromUtf8(texts::program_name),
                          QString::fromUtf8(wanted.refusal.c_str()));
    return 2;
  }
  const std::unique_ptr<app::TraceFile> trace = std::move(wanted.file);
  qtui::QtDialogs qt_dialogs;
  std::optional<ui::TracedDialogs> traced;
  if (trace) traced.emplace(qt_dialogs, *trace);
  ui::Dialogs& dialogs = traced ? static_cast<ui::Dialogs&>(*traced) : qt_dialogs;
  const auto serial = platform::MakeSystemSerial();
  const auto hid = platform::MakeSystemHid(loop);
  const auto settings = platform::MakeSystemSettingsFiles();
  TForm1 form(Environment{loop, dialogs, *serial, *hid, std::move(args),
                          QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
                          trace.get(), settings.get()});

  qtui::FormView view(form);
  qt_dialogs.set_owner(view.root());
  std::optional<app::PanelTracer> panels;
  if (trace) {
    panels.emplace(form, *trace);
    view.after_sync = [&panels] { panels->Check(); };
  }
  loop.after_event = [&view] { view.sync(); };
  view.root()->show();
  form.FormShow();
  view.sync();
  const int code = QApplication::exec();
  // The window goes before the form and the loop; nothing may sync it after this.
  loop.after_event = nullptr;
  view.after_sync = nullptr;
  return code;
}
