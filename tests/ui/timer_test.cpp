#include "ui/timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/manual_loop.h"

namespace {

struct Step {
  std::int64_t at;  // virtual time of the action
  std::function<void(ui::Timer&)> act;
};

struct Case {
  const char* name;
  int interval;
  std::vector<Step> steps;
  std::int64_t run_until;
  std::vector<std::int64_t> fires;  // virtual times at which on_timer ran
};

void Enable(ui::Timer& t) {
  t.set_enabled(true);
}
void Disable(ui::Timer& t) {
  t.set_enabled(false);
}
auto Interval(int ms) {
  return [ms](ui::Timer& t) { t.set_interval(ms); };
}

TEST(Timer, SemanticsTheDownloadReliesOn) {
  const std::vector<Case> cases{
      {"repeats while enabled", 100, {{0, Enable}}, 350, {100, 200, 300}},
      {"disabled at start never fires", 100, {}, 1000, {}},
      {"enabling an enabled timer changes nothing",
       100,
       {{0, Enable}, {60, Enable}},
       250,
       {100, 200}},
      {"disable then enable starts a new countdown",
       100,
       {{0, Enable}, {60, Disable}, {60, Enable}},
       270,
       {160, 260}},
      {"a new interval while enabled starts a new countdown",
       100,
       {{0, Enable}, {60, Interval(500)}},
       1200,
       {560, 1060}},
      {"the same interval changes nothing",
       100,
       {{0, Enable}, {60, Interval(100)}},
       250,
       {100, 200}},
      {"interval 0 never fires even while enabled", 0, {{0, Enable}}, 10000, {}},
      {"interval set to 0 while enabled stops it firing",
       100,
       {{0, Enable}, {150, Interval(0)}},
       1000,
       {100}},
      {"a new interval while disabled waits for enable",
       100,
       {{0, Interval(300)}, {50, Enable}},
       700,
       {350, 650}},
      {"disabled before it falls due", 100, {{0, Enable}, {99, Disable}}, 500, {}},
  };
  for (const Case& c : cases) {
    core::ManualLoop loop;
    ui::Timer timer(loop, c.interval);
    std::vector<std::int64_t> fired;
    timer.on_timer = [&] { fired.push_back(loop.now()); };
    for (const Step& s : c.steps) {
      loop.advance(s.at - loop.now());
      s.act(timer);
    }
    loop.advance(c.run_until - loop.now());
    EXPECT_EQ(fired, c.fires) << c.name;
  }
}

TEST(Timer, HandlerMayDisableOrRetimeItself) {
  core::ManualLoop loop;
  ui::Timer one_shot(loop, 30);
  int shots = 0;
  one_shot.on_timer = [&] {
    one_shot.set_enabled(false);
    one_shot.set_interval(60);
    ++shots;
  };
  one_shot.set_enabled(true);
  loop.advance(1000);
  EXPECT_EQ(shots, 1);
  one_shot.set_enabled(true);
  loop.advance(59);
  EXPECT_EQ(shots, 1);
  loop.advance(1);
  EXPECT_EQ(shots, 2);

  ui::Timer retimed(loop, 100);
  std::vector<std::int64_t> at;
  retimed.on_timer = [&] {
    at.push_back(loop.now());
    retimed.set_interval(250);
  };
  const std::int64_t start = loop.now();
  retimed.set_enabled(true);
  loop.advance(700);
  EXPECT_EQ(at, (std::vector<std::int64_t>{start + 100, start + 350, start + 600}));
}

}  // namespace
