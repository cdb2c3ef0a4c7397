// Running the step section of a download script, one line per step.
#include <array>
#include <optional>

#include "app/main_window.h"
#include "firmware/acceptance.h"
#include "firmware/image.h"
#include "firmware/script.h"
#include "texts/texts.h"

namespace {

bool StartsWith(const std::string& s, std::string_view prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

void TForm1::StartScript() {
  const auto bytes = firmware::ReadWholeFile(script_file_name);
  const auto first = bytes ? firmware::ReadScriptLine(*bytes, 0) : std::nullopt;
  if (!first || first->text != "[begin1]") {
    return ScriptReadFailure(script_file_name);
  }
  script_position = static_cast<std::int32_t>(first->next);
  ScriptStep();
}

void TForm1::ScriptStep() {
  const auto bytes = firmware::ReadWholeFile(script_file_name);
  const auto line =
      bytes ? firmware::ReadScriptLine(*bytes, static_cast<std::size_t>(script_position))
            : std::nullopt;
  if (!line) return ScriptReadFailure(script_file_name);
  script_position = static_cast<std::int32_t>(line->next);
  const std::string& text = line->text;
  if (StartsWith(text, "[f]")) {
    return ScriptImageStep(text, firmware::LineNumberAt(*bytes, line->offset));
  }
  if (StartsWith(text, "[HR]")) return PowerCyclePrompt();
  if (StartsWith(text, "[SR]")) {
    if (soft_restart) {
      next_action = NextAction::restart;
      Timer4.set_enabled(true);
      return;
    }
    return PowerCyclePrompt();
  }
  if (StartsWith(text, "[t")) return ShowTexts(*bytes, text);
  if (text == "[end1]") return FinalMessage();
  // Any other line arms nothing: the download goes no further.
  stalled_step = app::StalledStep{firmware::LineNumberAt(*bytes, line->offset), text};
}

// Nothing more of the download goes out, and nothing says it still runs.
void TForm1::StopScript() {
  StopLinkTimers();
  Timer4.set_enabled(false);
  ShowBusy(false);
  GroupBox_gauge_up_down_loading.visible = false;
}

// The step could not read what it needs. Stop where we are and say which file.
void TForm1::ScriptReadFailure(const std::string& file) {
  StopScript();
  dialogs.message(ui::BoxKind::error, texts::ReadingErrorOn(file));
}

// The image is checked again in full: it may have changed since the script was
// opened, and a damaged image must not reach the unit's memory. Each image
// brings its own finish wait, not the one an earlier file left.
void TForm1::ScriptImageStep(const std::string& line, std::size_t number) {
  const std::string name = firmware::ClassifyStep(line).image_name;
  const std::string path = firmware::ScriptImagePath(script_file_name, name);
  const firmware::Acceptance verdict =
      firmware::AcceptScriptImage(script_file_name, name, number, firmware::ReadWholeFile);
  if (const auto* refusal = std::get_if<firmware::Refusal>(&verdict)) {
    if (refusal->reason == firmware::RefusalReason::unreadable) return ScriptReadFailure(path);
    StopScript();
    return RefuseFile(*refusal);
  }
  const firmware::ImageFacts& image = std::get<firmware::AcceptedImage>(verdict);
  firmware_file_name = path;
  last_block_nr = image.layout.last_block_nr;
  finish_wait = *image.finish_wait;
  next_action = NextAction::start_download;
  Timer4.set_enabled(true);
}

void TForm1::PowerCyclePrompt() {
  GroupBox_gauge_up_down_loading.visible = false;
  ShowBusy(false);
  ShowReadyPanel(ReadyButtons::none, texts::power_cycle_1, texts::power_cycle_2);
  next_action = NextAction::power_cycle_wait;
  Timer4.set_enabled(true);
}

void TForm1::FinalMessage() {
  GroupBox_gauge_up_down_loading.visible = false;
  ShowBusy(false);
  ShowReadyPanel(ReadyButtons::ok, texts::script_finished_1, texts::finished_2);
  script_finished = true;
}

void TForm1::ShowTexts(std::span<const std::uint8_t> script, const std::string& step) {
  // Without "[begin3]" no text line is found: the panel shows none, and its Ok
  // goes on with the script rather than leave the unit half written.
  const auto parsed = firmware::ParseScript(script);
  const auto rows = MessageLines();
  int count = 0;
  // Groups show in the order the step names them; a digit named twice shows twice.
  for (std::size_t i = 2; i < step.size() && step[i] != ']'; ++i) {
    if (step[i] < '0' || step[i] > '9') continue;
    for (const std::string& text : parsed.text_groups[static_cast<std::size_t>(step[i] - '0')]) {
      if (count < 10) rows[static_cast<std::size_t>(count)]->caption = text;
      ++count;
    }
  }
  SizeMessagePanel(count);
  GroupBox_gauge_up_down_loading.visible = false;
  ShowBusy(false);
  Panel_tekstveld.visible = true;
  focused = &xpButton_close_tekstveld;
}
