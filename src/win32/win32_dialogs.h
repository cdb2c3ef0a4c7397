#pragma once

#include <windows.h>

#include <functional>

#include "ui/dialogs.h"

namespace win32ui {

// The system's message boxes and file-open dialog, and modal forms shown as
// windows of their own, each owned by the main window once it exists.
class Win32Dialogs : public ui::Dialogs {
 public:
  explicit Win32Dialogs(double scale) : scale_(scale) {}

  void set_owner(HWND owner) { owner_ = owner; }

  ui::Answer message_box(ui::BoxKind kind, const std::string& text,
                         ui::BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::vector<ui::FileFilter>& filters,
                                       const std::string& initial_folder) override;
  void show_modal(ui::Form& form) override;

  // Called every few milliseconds while a dialog is up: the front end runs its
  // event loop and syncs its window there.
  std::function<void()> while_modal;

 private:
  double scale_;
  HWND owner_ = nullptr;
};

// The filter list as the file-open dialog takes it: each description and its
// patterns (blanks round them dropped), each ended by a null, the whole list by another.
std::string FilterList(const std::vector<ui::FileFilter>& filters);

}  // namespace win32ui
