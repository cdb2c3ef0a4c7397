#include "batch_bench.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "batch/batch_runner.h"
#include "texts/texts.h"

namespace {

struct WouldWaitForEver : std::runtime_error {
  WouldWaitForEver() : std::runtime_error("nothing due and no time limit") {}
};

}  // namespace

BatchBench::BatchBench() {
  serial.add_port(unit.port);
}

int BatchBench::Run(const std::vector<std::string>& args) {
  const batch::ParsedOptions parsed = batch::ParseOptions(args);
  EXPECT_EQ(parsed.action, batch::ParsedOptions::Action::run) << parsed.error;
  batch::RunnerParts parts{
      .loop = loop,
      .run_once = [this](std::int64_t max_wait_ms) { RunOnce(max_wait_ms); },
      .systems = &systems,
      .out = out,
      .err = err,
      .in = in,
      .out_is_terminal = out_is_terminal,
      .in_is_terminal = in_is_terminal,
      .executable_path = (folder / "zekflash-cli").string(),
  };
  try {
    return batch::BatchRunner(parsed.options, std::move(parts)).Run();
  } catch (const WouldWaitForEver&) {
    ADD_FAILURE() << "the run waited with nothing due and no time limit";
    return -1;
  }
}

void BatchBench::RunOnce(std::int64_t max_wait_ms) {
  while (answered < serial.all_writes.size()) {
    const auto [port, request] = serial.all_writes[answered++];
    if (unit.silent || port != unit.port) continue;
    const auto reply = unit.Answer(request);
    if (reply.empty()) continue;
    loop.advance(unit.delay_ms);
    serial.feed(port, reply);
    return;
  }
  std::int64_t wait = loop.next_due_in();
  if (wait < 0 && !unit.silent && serial.line(unit.port).open &&
      prompts_answered < PowerCyclesAsked()) {
    // The technician switches the unit off and on as the window asked, again
    // while the prompt stays up, and the unit reports back by itself.
    const auto n = static_cast<std::size_t>(power_cycles++);
    const std::string status = n < reports.size() ? reports[n] : unit.restart_status;
    prompts_answered += status == "OK" ? 1 : 0;
    loop.advance(unit.power_cycle_ms);
    serial.feed(unit.port, FormFixture::Reply("r" + status));
    return;
  }
  if (wait < 0 || (max_wait_ms >= 0 && max_wait_ms < wait)) wait = max_wait_ms;
  if (wait < 0) throw WouldWaitForEver();
  loop.advance(wait);
}

int BatchBench::PowerCyclesAsked() {
  int asked = 0;
  for (const auto& line : Lines(out.str())) asked += line == texts::power_cycle_1 ? 1 : 0;
  return asked;
}

int BatchBench::Count(char letter) {
  int n = 0;
  for (const char c : UnitLetters()) n += c == letter ? 1 : 0;
  return n;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream s(text);
  for (std::string line; std::getline(s, line);) lines.push_back(line);
  return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
  for (const auto& l : Lines(text)) {
    if (l == line) return true;
  }
  return false;
}
