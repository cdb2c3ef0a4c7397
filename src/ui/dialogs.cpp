#include "ui/dialogs.h"

namespace ui {

const char* KindWord(BoxKind kind) {
  switch (kind) {
    case BoxKind::plain:
      return "message";
    case BoxKind::error:
      return "error";
    case BoxKind::warning:
      return "warning";
    case BoxKind::question:
      return "question";
  }
  return "message";
}

const char* AnswerWord(Answer answer) {
  switch (answer) {
    case Answer::ok:
      return "ok";
    case Answer::yes:
      return "yes";
    case Answer::no:
      return "no";
  }
  return "ok";
}

}  // namespace ui
