#include "link/hid_controller.h"

#include <gtest/gtest.h>

#include "fake_hid.h"

namespace {

// The list as the controller keeps it: each device's id, "-" behind an
// unplugged one and "*" behind a checked-out one.
std::string Listed(const links::HidController& ctl) {
  std::string s;
  for (std::size_t i = 0; i < ctl.count(); ++i) {
    const links::HidRecord& d = ctl.device(i);
    s += (s.empty() ? "" : " ") + d.info().id + (d.plugged_in() ? "" : "-") +
         (d.checked_out() ? "*" : "");
  }
  return s;
}

TEST(HidController, KeepsTheListAndTellsWhenItChanged) {
  core::ManualLoop loop;
  FakeHid hid(loop);
  links::HidController ctl(loop, hid);
  int told = 0;
  std::function<void()> during_handler;
  ctl.on_device_change = [&] {
    ++told;
    if (auto once = std::exchange(during_handler, nullptr)) once();
  };
  const struct {
    const char* step;
    std::function<void()> act;
    int told;
    std::string listed;
  } steps[] = {
      {"created", [] {}, 0, ""},
      {"the loop runs: told once, though nothing is there", [&] { loop.run_due(); }, 1, ""},
      {"a plugged in", [&] { hid.plug(FakeHid::Bridge("a")); }, 2, "a"},
      {"b plugged in", [&] { hid.plug(FakeHid::Bridge("b")); }, 3, "a b"},
      {"a checked out", [&] { EXPECT_EQ(ctl.check_out(), &ctl.device(0)); }, 3, "a* b"},
      {"a unplugged: stays listed", [&] { hid.unplug("a"); }, 4, "a-* b"},
      {"b unplugged: leaves", [&] { hid.unplug("b"); }, 5, "a-*"},
      {"nothing left to check out", [&] { EXPECT_EQ(ctl.check_out(), nullptr); }, 5, "a-*"},
      {"a notice while the handler runs is not lost",
       [&] {
         during_handler = [&] { hid.plug(FakeHid::Bridge("d")); };
         hid.plug(FakeHid::Bridge("c"));
       },
       7, "a-* c d"},
      {"a list that cannot be read changes nothing",
       [&] {
         hid.failing["list"] = {5, "Input/output error"};
         hid.unplug("c");
       },
       7, "a-* c d"},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(told, s.told) << s.step;
    EXPECT_EQ(Listed(ctl), s.listed) << s.step;
  }
  EXPECT_TRUE(ctl.last_error().has_value());
}

TEST(HidController, AnUnpluggedDeviceIsClosedAndRefusesWrites) {
  core::ManualLoop loop;
  FakeHid hid(loop);
  links::HidController ctl(loop, hid);
  std::string errors;
  ctl.on_device_data_error = [&](links::HidRecord& d, const core::Error& e) {
    errors += d.info().id + ": " + e.text;
  };
  hid.plug(FakeHid::Bridge("a"));
  links::HidRecord* a = ctl.check_out();
  ASSERT_NE(a, nullptr);
  ASSERT_TRUE(a->set_data_handler([](std::uint8_t, std::span<const std::uint8_t>) {}));
  EXPECT_EQ(hid.readers("a"), 1);
  const std::uint8_t report[] = {2, 1, 'V'};
  std::string outcomes;  // w: written, x: not
  const auto tell = [&](const core::Status& s) { outcomes += s ? "w" : "x"; };
  a->write_report(report, tell);
  // A write the system still holds when the device goes is told it was not written.
  hid.holding_writes = true;
  a->write_report(report, tell);
  EXPECT_EQ(outcomes, "w");
  hid.unplug("a");
  EXPECT_EQ(outcomes, "wx");
  EXPECT_EQ(hid.release_writes(), 0) << "its device has gone: the system never tells it";
  EXPECT_EQ(errors, "a: Input/output error");
  EXPECT_EQ(hid.readers("a"), 0);
  a->write_report(report, tell);
  EXPECT_EQ(outcomes, "wxx");
  EXPECT_EQ(hid.device("a").writes.size(), 2u);
  EXPECT_EQ(hid.device("a").opens, 1);
}

}  // namespace
