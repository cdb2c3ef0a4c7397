#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ui {

class Form;

enum class BoxKind { plain, error, warning, question };
enum class BoxButtons { ok, yes_no };
enum class Answer { ok, yes, no };

// The words a record of a box uses: "message", "error", "warning", "question";
// "ok", "yes", "no".
const char* KindWord(BoxKind kind);
const char* AnswerWord(Answer answer);

struct FileFilter {
  std::string description;
  std::string pattern;
};

// Modal dialogs. Each call returns when the user has answered; the event loop
// goes on running meanwhile where the front end has one.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual Answer message_box(BoxKind kind, const std::string& text, BoxButtons buttons) = 0;
  // The chosen path, or nothing when the user cancelled. The first filter is selected.
  virtual std::optional<std::string> open_file(const std::vector<FileFilter>& filters,
                                               const std::string& initial_folder) = 0;
  // Shows `form` modally until its modal result is set.
  virtual void show_modal(Form& form) = 0;

  // A message box of `kind` with the buttons that kind has.
  Answer message(BoxKind kind, const std::string& text) {
    return message_box(kind, text, kind == BoxKind::question ? BoxButtons::yes_no : BoxButtons::ok);
  }
};

}  // namespace ui
