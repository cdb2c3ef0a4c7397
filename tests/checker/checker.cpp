#include "checker.h"

#include <algorithm>

namespace checker {

namespace {

template <class NextEvent>
Outcome Run(const Setup& setup, NextEvent next) {
  Outcome out;
  out.setup = setup;
  World world(setup);
  Invariants invariants(world);
  Event event;
  while (!invariants.breach() && next(world, event)) {
    invariants.BeforeEvent();
    std::string note = world.Apply(event);
    invariants.AfterEvent(event);
    const std::string writes = invariants.TakeWrites();
    if (!writes.empty()) note += (note.empty() ? "wrote" : "; wrote") + writes;
    out.events.push_back(event);
    out.notes.push_back(note);
  }
  out.breach = invariants.breach();
  return out;
}

bool Same(const std::optional<Breach>& a, const Breach& b) {
  return a && a->invariant == b.invariant && a->what == b.what;
}

}  // namespace

Outcome Play(Choices& choices, int count) {
  const Setup setup = DrawSetup(choices);
  return Run(setup, [&](World& world, Event& event) {
    if (count-- <= 0 || choices.Exhausted()) return false;
    event = world.Draw(choices);
    return true;
  });
}

Outcome Replay(const Setup& setup, const std::vector<Event>& events) {
  std::size_t next = 0;
  return Run(setup, [&](World&, Event& event) {
    if (next >= events.size()) return false;
    event = events[next++];
    return true;
  });
}

Outcome Shrink(const Outcome& failed) {
  if (!failed.breach) return failed;
  Outcome best = failed;
  std::size_t chunk = std::max<std::size_t>(best.events.size() / 2, 1);
  for (;;) {
    bool removed = false;
    for (std::size_t at = 0; at < best.events.size();) {
      std::vector<Event> trial = best.events;
      const auto from = trial.begin() + static_cast<std::ptrdiff_t>(at);
      trial.erase(from, from + static_cast<std::ptrdiff_t>(std::min(chunk, trial.size() - at)));
      Outcome tried = Replay(failed.setup, trial);
      if (Same(tried.breach, *failed.breach)) {
        best = std::move(tried);
        removed = true;
      } else {
        at += chunk;
      }
    }
    if (chunk > 1) {
      chunk /= 2;
    } else if (!removed) {
      return best;
    }
  }
}

std::string Report(const std::string& origin, const Outcome& played, const Outcome& shrunk) {
  const Breach& b = *shrunk.breach;
  std::string r = "FAILED " + origin + ": " + b.invariant + ": " + b.what + "\n  " + b.detail +
                  "\n  set-up: " + Describe(shrunk.setup) + "\n  " +
                  std::to_string(shrunk.events.size()) + " events lead to it (" +
                  std::to_string(played.events.size()) + " played):\n";
  for (std::size_t i = 0; i < shrunk.events.size(); ++i) {
    r += "    " + std::to_string(i + 1) + ". " + Describe(shrunk.events[i]);
    if (!shrunk.notes[i].empty()) r += "  [" + shrunk.notes[i] + "]";
    r += "\n";
  }
  return r;
}

}  // namespace checker
