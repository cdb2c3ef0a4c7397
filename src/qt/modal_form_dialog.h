#pragma once

#include <QDialog>

#include "qt/form_view.h"
#include "ui/form.h"

namespace qtui {

// A form shown modally in a window without a frame, centred on the screen.
// It closes as soon as the form's modal result is set; Enter and Esc press the
// form's default and cancel buttons.
class ModalFormDialog : public QDialog {
  Q_OBJECT

 public:
  ModalFormDialog(ui::Form& form, QWidget* owner);
  FormView& view() { return view_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void press_marked(bool want_default);
  void close_when_answered();

  ui::Form& form_;
  FormView view_;
};

}  // namespace qtui
