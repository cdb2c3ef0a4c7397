#include "checker.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace checker {

namespace {

// With a unit that answers well and a technician who takes every way on, a
// download from anywhere reaches its final panel in this much virtual time:
// a port search over three ports, two images, power cycles and restarts.
constexpr std::int64_t closing_bound_ms = 120000;
constexpr int closing_bound_events = 5000;

std::string Step(World& world, Invariants& invariants, const Event& event) {
  invariants.BeforeEvent();
  std::string note = world.Apply(event);
  invariants.AfterEvent(event);
  const std::string writes = invariants.TakeWrites();
  if (!writes.empty()) note += (note.empty() ? "wrote" : "; wrote") + writes;
  // ZEK_CHECKER_STATES=1: each event's note ends with the state it left.
  static const bool states = std::getenv("ZEK_CHECKER_STATES") != nullptr;
  if (states) note += (note.empty() ? "" : "; ") + invariants.State();
  return note;
}

void Close(World& world, Invariants& invariants, Outcome& out) {
  world.EndFaults();
  const std::int64_t start = world.fx.loop.now();
  while (!invariants.breach()) {
    const std::optional<Event> event = world.GoOn();
    if (!event) return;
    if (world.fx.loop.now() - start > closing_bound_ms ||
        static_cast<int>(out.closing.size()) >= closing_bound_events) {
      return invariants.NotFinished("after " + std::to_string(out.closing.size()) + " events and " +
                                    std::to_string(world.fx.loop.now() - start) + " ms");
    }
    const std::string note = Step(world, invariants, *event);
    out.closing.push_back(Describe(*event) + (note.empty() ? "" : "  [" + note + "]"));
  }
}

template <class NextEvent>
Outcome Run(const Setup& setup, NextEvent next) {
  Outcome out;
  out.setup = setup;
  World world(setup);
  Invariants invariants(world);
  Event event;
  while (!invariants.breach() && next(world, event)) {
    out.notes.push_back(Step(world, invariants, event));
    out.events.push_back(event);
  }
  Close(world, invariants, out);
  out.breach = invariants.breach();
  return out;
}

bool Same(const std::optional<Breach>& a, const Breach& b) {
  return a && a->invariant == b.invariant && a->what == b.what;
}

}  // namespace

Outcome Play(Choices& choices, int count) {
  const Setup setup = DrawSetup(choices);
  // Runs of every length, so that the closing run starts from every point.
  count = 1 + static_cast<int>(choices.Below(static_cast<unsigned>(std::max(count, 1))));
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
  if (!shrunk.closing.empty()) {
    const std::size_t from = shrunk.closing.size() > 12 ? shrunk.closing.size() - 12 : 0;
    r += "  then the closing run, " + std::to_string(shrunk.closing.size()) + " events" +
         (from > 0 ? ", the last 12" : "") + ":\n";
    for (std::size_t i = from; i < shrunk.closing.size(); ++i)
      r += "    " + shrunk.closing[i] + "\n";
  }
  return r;
}

}  // namespace checker
