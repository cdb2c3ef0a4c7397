#include "batch/batch_runner.h"

#include <optional>

#include "app/main_window.h"
#include "batch/batch_dialogs.h"
#include "batch/console.h"
#include "batch/link_reason.h"
#include "batch/panel_watcher.h"
#include "batch/progress_printer.h"
#include "batch/technician.h"

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
  Console console(parts_.out, parts_.err, parts_.out_is_terminal);
  BatchDialogs dialogs(options_.file, console);
  TForm1 form(Environment{parts_.loop,
                          dialogs,
                          parts_.serial,
                          parts_.hid,
                          {"-O"},
                          parts_.executable_path,
                          parts_.settings});
  dialogs.where = [&] {
    return form.comm_state == CommState::idle ? options_.file
                                              : options_.file + " on " + UnitPlace(form);
  };
  dialogs.reason = [&](const std::string& text) {
    return ReportsPortFailure(text) ? LinkReason(form) : std::string();
  };
  form.FormShow();
  if (options_.port) ForcePort(form, *options_.port);

  PanelWatcher watcher(form, console);
  ProgressPrinter progress(form, parts_.loop, console);
  const Technician::Policy policy{options_.yes, options_.ignore_version, options_.retries,
                                  parts_.in_is_terminal};
  Technician technician(form, policy, console, parts_.in, options_.file);

  const std::int64_t started = parts_.loop.now();
  std::optional<std::int64_t> deadline;
  if (options_.timeout_s) deadline = started + std::int64_t{*options_.timeout_s} * 1000;

  form.SpeedButton_open_file.click();
  for (;;) {
    // Progress first: a bar that has just reached its end is drawn before the
    // lines that follow it end its line.
    progress.Update();
    watcher.Check();
    const Outcome outcome = technician.Act();
    if (outcome == Outcome::finished) return 0;
    if (outcome == Outcome::stopped) {
      console.ErrorLine(technician.reason());
      return 1;
    }
    if (outcome == Outcome::pressed) {
      // The press may have shown the next panel already, with nothing left to
      // wake the loop: look again before waiting.
      watcher.Pressed(*technician.pressed());
      continue;
    }
    if (form.Idle()) {
      console.ErrorLine(technician.AtRest());
      return 1;
    }
    const std::int64_t now = parts_.loop.now();
    if (deadline && now >= *deadline) {
      console.ErrorLine(options_.file + ": gave up after " + std::to_string(*options_.timeout_s) +
                        " s (--timeout) waiting for the unit on " + UnitPlace(form) +
                        "; check the unit and the cable, or allow more time");
      return 1;
    }
    parts_.run_once(deadline ? *deadline - now : -1);
  }
}

}  // namespace batch
