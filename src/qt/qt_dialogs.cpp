#include "qt/qt_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "app/box_title.h"
#include "qt/convert.h"
#include "qt/modal_form_dialog.h"
#include "texts/texts.h"

namespace qtui {

namespace {

QMessageBox::Icon IconOf(ui::BoxKind kind) {
  switch (kind) {
    case ui::BoxKind::error:
      return QMessageBox::Critical;
    case ui::BoxKind::warning:
      return QMessageBox::Warning;
    case ui::BoxKind::question:
      return QMessageBox::Question;
    case ui::BoxKind::plain:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString NameFilter(const ui::FileFilter& filter) {
  QStringList patterns;
  for (const QString& p : ToQString(filter.pattern).split(QLatin1Char(';'))) {
    if (!p.trimmed().isEmpty()) patterns.push_back(p.trimmed());
  }
  return ToQString(filter.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
         QLatin1Char(')');
}

ui::Answer QtDialogs::message_box(ui::BoxKind kind, const std::string& text,
                                  ui::BoxButtons buttons) {
  const bool yes_no = buttons == ui::BoxButtons::yes_no;
  QMessageBox box(IconOf(kind), ToQString(app::BoxTitle(kind)), BoxText(text),
                  yes_no ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);
  if (yes_no) {
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  }
  const int pressed = box.exec();
  if (!yes_no) return ui::Answer::ok;
  return pressed == QMessageBox::Yes ? ui::Answer::yes : ui::Answer::no;
}

std::optional<std::string> QtDialogs::open_file(const std::vector<ui::FileFilter>& filters,
                                                const std::string& initial_folder) {
  QStringList names;
  for (const ui::FileFilter& f : filters) names.push_back(NameFilter(f));
  QString selected = names.isEmpty() ? QString() : names.front();
  const QString path = QFileDialog::getOpenFileName(owner_, ToQString(texts::open_dialog_title),
                                                    QFile::decodeName(initial_folder.c_str()),
                                                    names.join(QStringLiteral(";;")), &selected);
  if (path.isEmpty()) return std::nullopt;
  // The path goes to the file system as it is: in the system's own encoding.
  return QFile::encodeName(path).toStdString();
}

void QtDialogs::show_modal(ui::Form& form) {
  form.modal_result = ui::ModalResult::none;
  form.visible = true;
  ModalFormDialog dialog(form, owner_);
  dialog.exec();
  form.visible = false;
  if (form.modal_result == ui::ModalResult::none) form.modal_result = ui::ModalResult::cancel;
}

}  // namespace qtui
