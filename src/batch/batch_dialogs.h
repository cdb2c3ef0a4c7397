#pragma once

#include <functional>
#include <string>

#include "batch/console.h"
#include "ui/dialogs.h"

namespace batch {

// The window's dialogs without a window. The file dialog is answered with the
// file of the command line, each message box is printed as one line and
// answered at once. Questions are answered No: the program asks only whether
// to stop a running download for another file, whether to write a default port
// file, and, on a read error, a question whose answer is not used; in a run
// that opens one file and never opens the port settings, No is always right.
class BatchDialogs : public ui::Dialogs {
 public:
  BatchDialogs(std::string file, Console& console) : file_(std::move(file)), console_(console) {}

  ui::Answer message_box(ui::BoxKind kind, const std::string& text,
                         ui::BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::vector<ui::FileFilter>& filters,
                                       const std::string& initial_folder) override;
  void show_modal(ui::Form& form) override;

  // Names the file (and the unit's port, once connected) at the start of each box line.
  std::function<std::string()> where;
  // The failure behind a box, printed after its text; empty when it reports none.
  std::function<std::string(const std::string& text)> reason;
  int boxes_shown() const { return boxes_shown_; }

 private:
  std::string file_;
  Console& console_;
  int boxes_shown_ = 0;
};

}  // namespace batch
