#include "batch/batch_runner.h"

#include <optional>

#include "batch/batch_dialogs.h"
#include "batch/console.h"
#include "batch/link_reason.h"
#include "batch/panel_printer.h"
#include "batch/progress_printer.h"
#include "batch/technician.h"

namespace batch {

int BatchRunner::Run() {
  std::optional<JsonEvents> json;
  if (options_.json) json.emplace(parts_.out);
  Console console(parts_.out, parts_.err, parts_.out_is_terminal, json ? &*json : nullptr);
  BatchDialogs batch_dialogs(options_.file, console);
  app::Composition program({.loop = parts_.loop,
                            .dialogs = batch_dialogs,
                            .args = {"-O"},
                            .executable_path = parts_.executable_path,
                            .trace = parts_.trace,
                            .systems = parts_.systems});
  const app::Window& window = program.window();
  batch_dialogs.where = [&] {
    return window.UnitAsked() ? options_.file + " on " + UnitPlace(window.LinkNow())
                              : options_.file;
  };
  batch_dialogs.reason = [&](const std::string& text) {
    return ReportsPortFailure(text) ? LinkReason(window.LinkNow()) : std::string();
  };
  program.Show();
  if (options_.port) program.window().UsePort(*options_.port);

  const Ending ending = Drive(program, console);
  if (ending.status != 0) console.ErrorLine(ending.reason);
  if (json) json->End(ending.status, ending.reason);
  return ending.status;
}

auto BatchRunner::Drive(app::Composition& program, Console& console) -> Ending {
  app::Window& window = program.window();
  app::PanelObserver& panels = program.panels();
  PanelPrinter printer(window, panels, console);
  ProgressPrinter progress(window, parts_.loop, console);
  const Technician::Policy policy{options_.yes, options_.ignore_version, options_.retries,
                                  parts_.in_is_terminal && !options_.json};
  Technician technician(window, policy, console, parts_.in, options_.file);

  const std::int64_t started = parts_.loop.now();
  std::optional<std::int64_t> deadline;
  if (options_.timeout_s) deadline = started + std::int64_t{*options_.timeout_s} * 1000;

  // The trace sees the panels as the run leaves them, too.
  const auto end = [&panels](Ending ending) {
    panels.Check();
    return ending;
  };
  window.Offered(app::Window::Choice::open_file)->click();
  for (;;) {
    // Progress first: a bar that has just reached its end is drawn before the
    // lines that follow it end its line.
    progress.Update();
    printer.CheckReadout();
    panels.Check();
    const Outcome outcome = technician.Act();
    if (outcome == Outcome::finished) return end({0, "finished"});
    if (outcome == Outcome::stopped) return end({1, technician.reason()});
    if (outcome == Outcome::pressed) {
      // The press may have shown the next panel already, with nothing left to
      // wake the loop: look again before waiting.
      panels.Pressed(*technician.pressed());
      continue;
    }
    if (window.Idle()) return end({1, technician.AtRest()});
    const std::int64_t now = parts_.loop.now();
    if (deadline && now >= *deadline) {
      return end({1, options_.file + ": gave up after " + std::to_string(*options_.timeout_s) +
                         " s (--timeout) waiting for the unit on " + UnitPlace(window.LinkNow()) +
                         "; check the unit and the cable, or allow more time"});
    }
    parts_.run_once(deadline ? *deadline - now : -1);
  }
}

}  // namespace batch
