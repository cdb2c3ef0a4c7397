#pragma once

#include "core/trace.h"
#include "ui/dialogs.h"

namespace ui {

// A front end's dialogs with every message box and its answer told to a trace.
class TracedDialogs : public Dialogs {
 public:
  TracedDialogs(Dialogs& inner, core::Trace& trace) : inner_(inner), trace_(trace) {}

  Answer message_box(BoxKind kind, const std::string& text, BoxButtons buttons) override {
    const Answer answer = inner_.message_box(kind, text, buttons);
    trace_.message_box(KindWord(kind), text, AnswerWord(answer));
    return answer;
  }
  std::optional<std::string> open_file(const std::vector<FileFilter>& filters,
                                       const std::string& initial_folder) override {
    return inner_.open_file(filters, initial_folder);
  }
  void show_modal(Form& form) override { inner_.show_modal(form); }

 private:
  Dialogs& inner_;
  core::Trace& trace_;
};

}  // namespace ui
