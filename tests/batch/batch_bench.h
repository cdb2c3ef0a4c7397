#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "form_fixture.h"

// A unit at the far end of the fake serial system, answering each request
// written on its port after `delay_ms`, as a healthy unit would unless told otherwise.
struct PlayedUnit {
  std::string port = "COM1";
  std::string version = "3M0100002";
  std::string serial = "123456";
  unsigned access_level = 2;
  unsigned engine_raw = 0;
  unsigned battery_raw = 56;
  std::string start_status = "OK";
  std::string finish_status = "OK";
  std::string restart_status = "OK";  // also what it reports after a power cycle
  bool silent = false;
  // After a power cycle the unit reports back by itself: when nothing else is
  // due, the technician takes this long to switch it off and on.
  int power_cycle_ms = 2000;
  int delay_ms = 5;
  std::vector<std::uint8_t> received;  // the data of every block, in order

  // The reply to `request`, or nothing.
  std::vector<std::uint8_t> Answer(const std::vector<std::uint8_t>& request);
};

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

  PlayedUnit unit;
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in;
  bool out_is_terminal = false;
  bool in_is_terminal = false;
  std::size_t answered = 0;
  int power_cycles = 0;  // reports after a power cycle; a few at most, or the run is stuck
};

// The lines of `text` (split at LF).
std::vector<std::string> Lines(const std::string& text);
bool HasLine(const std::string& text, const std::string& line);
