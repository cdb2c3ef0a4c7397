#include "ui/scripted_dialogs.h"

#include "ui/form.h"

namespace ui {

Answer ScriptedDialogs::message_box(BoxKind kind, const std::string& text, BoxButtons buttons) {
  boxes.push_back(Box{kind, text, buttons});
  if (on_box) on_box(boxes.back());
  if (buttons == BoxButtons::ok) return Answer::ok;
  if (answers.empty()) return Answer::no;
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> ScriptedDialogs::open_file(const std::vector<FileFilter>& filters,
                                                      const std::string& initial_folder) {
  file_requests.push_back(FileRequest{filters, initial_folder});
  if (files.empty()) return std::nullopt;
  auto f = files.front();
  files.pop_front();
  return f;
}

void ScriptedDialogs::show_modal(Form& form) {
  modal_forms.push_back(&form);
  form.modal_result = ModalResult::none;
  form.visible = true;
  if (on_modal) on_modal(form);
  if (form.modal_result == ModalResult::none) form.modal_result = ModalResult::ok;
  form.visible = false;
}

}  // namespace ui
