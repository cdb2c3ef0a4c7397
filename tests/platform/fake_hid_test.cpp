#include "fake_hid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The fake keeps the real systems' promises that the transport's tests lean
// on: notices on plug and unplug, no reader without access, one read error on
// unplug and refused writes after it, the same padding of output reports.
TEST(FakeHid, BehavesAsTheRealSystemsPromise) {
  core::ManualLoop loop;
  FakeHid hid(loop);
  int notices = 0;
  auto watch = hid.watch_changes([&] { ++notices; });
  ASSERT_TRUE(watch.ok());

  auto keyboard = FakeHid::Bridge("kbd", u"Keyboard");
  keyboard.access = platform::HidAccess::none;
  hid.plug(keyboard);
  hid.plug(FakeHid::Bridge("bridge"));
  EXPECT_EQ(notices, 2);
  ASSERT_EQ(hid.list()->size(), 2u);
  EXPECT_EQ(hid.open(keyboard).error().code, 13);

  auto bridge = hid.open(hid.list()->at(1));
  ASSERT_TRUE(bridge.ok());
  std::vector<Bytes> reports;
  std::vector<int> errors;
  ASSERT_TRUE((*bridge)
                  ->start_reading([&](auto r) { reports.emplace_back(r.begin(), r.end()); },
                                  [&](const core::Error& e) { errors.push_back(e.code); })
                  .ok());
  EXPECT_EQ(hid.inject("bridge", {1, 2, 'O', 'K'}), 1);
  // Each write's outcome: the code of its error, 0 when written, -1 while held.
  std::vector<int> outcomes;
  const auto write = [&](const Bytes& report) {
    const std::size_t index = outcomes.size();
    outcomes.push_back(-1);
    (*bridge)->write_report(
        report, [&, index](const core::Status& s) { outcomes[index] = s ? 0 : s.error().code; });
    return outcomes[index];
  };
  EXPECT_EQ(write(Bytes{2, 1, 'V'}), 0);
  EXPECT_EQ(write(Bytes(66, 2)), EMSGSIZE);
  hid.holding_writes = true;
  EXPECT_EQ(write(Bytes{2, 1, 'S'}), -1);
  EXPECT_EQ(hid.held_writes(), 1u);
  EXPECT_EQ(hid.release_writes(), 1);
  EXPECT_EQ(outcomes.back(), 0) << "told once released";
  hid.holding_writes = false;

  hid.unplug("bridge");
  EXPECT_EQ(notices, 3);
  EXPECT_EQ(hid.inject("bridge", {1, 0}), 0);
  EXPECT_EQ(write(Bytes{2, 1, 'V'}), 19);
  EXPECT_EQ(reports, (std::vector<Bytes>{{1, 2, 'O', 'K'}}));
  EXPECT_EQ(errors, (std::vector<int>{5}));
  EXPECT_FALSE((*bridge)->reading());
  const auto padded = [](Bytes b) { return b.resize(65, 0), b; };
  EXPECT_EQ(hid.device("bridge").writes,
            (std::vector<Bytes>{padded({2, 1, 'V'}), padded({2, 1, 'S'})}));
  EXPECT_EQ(hid.list()->size(), 1u);
}

}  // namespace
