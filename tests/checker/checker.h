#pragma once

#include <optional>
#include <string>
#include <vector>

#include "choices.h"
#include "invariants.h"
#include "world.h"

namespace checker {

// One played sequence: the set-up, the events up to the first breach (or all
// of them), what each did, and the breach.
struct Outcome {
  Setup setup;
  std::vector<Event> events;
  std::vector<std::string> notes;    // what each event did and what it made the program write
  std::vector<std::string> closing;  // the closing run's events, with the same notes
  std::optional<Breach> breach;
};

// Draws a set-up and up to `count` events from `choices` and plays them; then
// the closing run, in which a good unit and a technician who goes on must
// reach the final panel.
Outcome Play(Choices& choices, int count);
// Plays the given events on a fresh window set up as given.
Outcome Replay(const Setup& setup, const std::vector<Event>& events);
// Leaves out events for as long as the same breach still happens.
Outcome Shrink(const Outcome& failed);
// A breach as the developer reads it: what broke, where, and the events that led there.
std::string Report(const std::string& origin, const Outcome& played, const Outcome& shrunk);

}  // namespace checker
