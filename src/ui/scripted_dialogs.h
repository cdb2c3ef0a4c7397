#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace ui {

// Dialogs for tests and the batch front end: records every box and answers
// from a script. Without a scripted answer a question is answered No, and the
// file dialog is cancelled.
class ScriptedDialogs : public Dialogs {
 public:
  struct Box {
    BoxKind kind;
    std::string text;
    BoxButtons buttons;
  };
  struct FileRequest {
    std::vector<FileFilter> filters;
    std::string initial_folder;
  };

  Answer message_box(BoxKind kind, const std::string& text, BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::vector<FileFilter>& filters,
                                       const std::string& initial_folder) override;
  void show_modal(Form& form) override;

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> files;
  // Runs while a modal form is shown, to press its buttons; without it the form is closed with OK.
  std::function<void(Form&)> on_modal;
  // Called after each box is recorded, for front ends that print them.
  std::function<void(const Box&)> on_box;

  std::vector<Box> boxes;
  std::vector<FileRequest> file_requests;
  std::vector<Form*> modal_forms;
};

}  // namespace ui
