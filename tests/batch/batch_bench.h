#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/composition.h"
#include "form_fixture.h"
#include "played_unit.h"

// zekflash-cli run on virtual time: the fake serial system, captured streams,
// typed answers, and a driver that lets the unit answer one request per round
// and otherwise moves the clock to the next timer.
struct BatchBench : FormFixture {
  BatchBench();

  // Parses `args` as the command line and runs; the exit status, or -1 when the
  // run would have waited for ever.
  int Run(const std::vector<std::string>& args);
  void RunOnce(std::int64_t max_wait_ms);
  // Requests written on the unit's port, one letter each.
  std::string UnitLetters() { return Letters(unit.port); }
  int Count(char letter);
  // How often the window has shown the power-cycle prompt so far.
  int PowerCyclesAsked();

  PlayedUnit unit;
  app::Systems systems{serial, hid};
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in;
  bool out_is_terminal = false;
  bool in_is_terminal = false;
  std::size_t answered = 0;
  // What the unit says in its reports after successive power cycles; once these
  // are used up, unit.restart_status.
  std::vector<std::string> reports;
  int power_cycles = 0;      // the technician's switchings so far
  int prompts_answered = 0;  // prompts that an "OK" report ended
};

// The lines of `text` (split at LF).
std::vector<std::string> Lines(const std::string& text);
bool HasLine(const std::string& text, const std::string& line);
