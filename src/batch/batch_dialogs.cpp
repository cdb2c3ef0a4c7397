#include "batch/batch_dialogs.h"

#include "batch/printable.h"
#include "ui/form.h"

namespace batch {

ui::Answer BatchDialogs::message_box(ui::BoxKind kind, const std::string& text,
                                     ui::BoxButtons buttons) {
  ++boxes_shown_;
  const std::string place = where ? where() : file_;
  std::string line = place + ": " + ui::KindWord(kind) + ": " + OneLine(text);
  const std::string why = reason ? reason(text) : std::string();
  if (!why.empty()) line += ": " + why;
  if (buttons == ui::BoxButtons::yes_no) line += " [answered No]";
  console_.ErrorLine(line);
  const ui::Answer answer = buttons == ui::BoxButtons::yes_no ? ui::Answer::no : ui::Answer::ok;
  if (JsonEvents* json = console_.json()) {
    json->Box(ui::KindWord(kind), text, ui::AnswerWord(answer));
  }
  return answer;
}

std::optional<std::string> BatchDialogs::open_file(const std::vector<ui::FileFilter>&,
                                                   const std::string&) {
  return file_;
}

// Only the opening screen is shown modally, and "-O" keeps it away; should it
// come all the same, it is closed as its OK button would.
void BatchDialogs::show_modal(ui::Form& form) {
  form.modal_result = ui::ModalResult::ok;
}

}  // namespace batch
