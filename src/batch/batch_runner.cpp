#include "batch/batch_runner.h"

#include <optional>

#include "app/main_window.h"
#include "app/panel_tracer.h"
#include "batch/batch_dialogs.h"
#include "batch/console.h"
#include "batch/link_reason.h"
#include "batch/panel_watcher.h"
#include "batch/progress_printer.h"
#include "batch/technician.h"
#include "ui/traced_dialogs.h"

using download::CommState;

namespace batch {

namespace {

// Connecting on the port of --port: the port search is off and the port set-up
// takes the name as it stands instead of reading the port configuration files.
void ForcePort(TForm1& form, const std::string& port) {
  form.CheckBox_Autoselect_comport.checked = false;
  form.CheckBox_Autoselect_comportClick();
  form.forced_port = port;
}

}  // namespace

int BatchRunner::Run() {
  std::optional<JsonEvents> json;
  if (options_.json) json.emplace(parts_.out);
  Console console(parts_.out, parts_.err, parts_.out_is_terminal, json ? &*json : nullptr);
  BatchDialogs batch_dialogs(options_.file, console);
  std::optional<ui::TracedDialogs> traced;
  if (parts_.trace != nullptr) traced.emplace(batch_dialogs, *parts_.trace);
  ui::Dialogs& dialogs = traced ? static_cast<ui::Dialogs&>(*traced) : batch_dialogs;
  TForm1 form(Environment{parts_.loop,
                          dialogs,
                          parts_.serial,
                          parts_.hid,
                          {"-O"},
                          parts_.executable_path,
                          parts_.trace,
                          parts_.settings});
  batch_dialogs.where = [&] {
    return form.comm_state == CommState::idle ? options_.file
                                              : options_.file + " on " + UnitPlace(form);
  };
  batch_dialogs.reason = [&](const std::string& text) {
    return ReportsPortFailure(text) ? LinkReason(form) : std::string();
  };
  form.FormShow();
  if (options_.port) ForcePort(form, *options_.port);

  const Ending ending = Drive(form, console);
  if (ending.status != 0) console.ErrorLine(ending.reason);
  if (json) json->End(ending.status, ending.reason);
  return ending.status;
}

auto BatchRunner::Drive(TForm1& form, Console& console) -> Ending {
  PanelWatcher watcher(form, console);
  ProgressPrinter progress(form, parts_.loop, console);
  const Technician::Policy policy{options_.yes, options_.ignore_version, options_.retries,
                                  parts_.in_is_terminal && !options_.json};
  Technician technician(form, policy, console, parts_.in, options_.file);
  std::optional<app::PanelTracer> panels;
  if (parts_.trace != nullptr) panels.emplace(form, *parts_.trace);

  const std::int64_t started = parts_.loop.now();
  std::optional<std::int64_t> deadline;
  if (options_.timeout_s) deadline = started + std::int64_t{*options_.timeout_s} * 1000;

  // The trace sees the panels as the run leaves them, too.
  const auto end = [&](Ending ending) {
    if (panels) panels->Check();
    return ending;
  };
  form.SpeedButton_open_file.click();
  for (;;) {
    if (panels) panels->Check();
    // Progress first: a bar that has just reached its end is drawn before the
    // lines that follow it end its line.
    progress.Update();
    watcher.Check();
    const Outcome outcome = technician.Act();
    if (outcome == Outcome::finished) return end({0, "finished"});
    if (outcome == Outcome::stopped) return end({1, technician.reason()});
    if (outcome == Outcome::pressed) {
      // The press may have shown the next panel already, with nothing left to
      // wake the loop: look again before waiting.
      watcher.Pressed(*technician.pressed());
      continue;
    }
    if (form.Idle()) return end({1, technician.AtRest()});
    const std::int64_t now = parts_.loop.now();
    if (deadline && now >= *deadline) {
      return end({1, options_.file + ": gave up after " + std::to_string(*options_.timeout_s) +
                         " s (--timeout) waiting for the unit on " + UnitPlace(form) +
                         "; check the unit and the cable, or allow more time"});
    }
    parts_.run_once(deadline ? *deadline - now : -1);
  }
}

}  // namespace batch
