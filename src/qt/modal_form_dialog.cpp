#include "qt/modal_form_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "qt/form_widget.h"
#include "ui/button.h"

namespace qtui {

namespace {

// The first button of `c` or below it marked as default (or cancel) button.
ui::Button* FindMarked(ui::Control& c, bool want_default) {
  for (ui::Control* child : c.children()) {
    if (child->kind() == ui::Kind::button) {
      auto* b = static_cast<ui::Button*>(child);
      if (want_default ? b->is_default : b->is_cancel) return b;
    }
    if (ui::Button* b = FindMarked(*child, want_default)) return b;
  }
  return nullptr;
}

}  // namespace

ModalFormDialog::ModalFormDialog(ui::Form& form, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), form_(form), view_(form, this) {
  setWindowTitle(view_.root()->caption_text());
  setFixedSize(form_.width, form_.height);
  view_.root()->move(0, 0);
  view_.after_sync = [this] { close_when_answered(); };
}

void ModalFormDialog::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  QDialog::showEvent(event);
  view_.sync();
}

void ModalFormDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return press_marked(true);
    case Qt::Key_Escape:
      return press_marked(false);
    default:
      return QDialog::keyPressEvent(event);
  }
}

void ModalFormDialog::press_marked(bool want_default) {
  if (ui::Button* b = FindMarked(form_, want_default)) b->click();
  view_.sync();
}

void ModalFormDialog::close_when_answered() {
  if (form_.modal_result != ui::ModalResult::none && isVisible()) accept();
}

}  // namespace qtui
