#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/dialogs.h"

namespace qtui {

// Real modal dialogs: message boxes, the file-open dialog, and any form shown
// modally (the opening screen).
class QtDialogs : public ui::Dialogs {
 public:
  // The window the dialogs belong to, once there is one.
  void set_owner(QWidget* owner) { owner_ = owner; }

  ui::Answer message_box(ui::BoxKind kind, const std::string& text,
                         ui::BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::vector<ui::FileFilter>& filters,
                                       const std::string& initial_folder) override;
  void show_modal(ui::Form& form) override;

 private:
  QPointer<QWidget> owner_;
};

// "description (pattern; pattern)" as a Qt name filter with its patterns space-separated.
QString NameFilter(const ui::FileFilter& filter);

}  // namespace qtui
