#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/manual_loop.h"
#include "platform/linux/internal.h"

namespace {

using platform::linux_os::HidrawNotices;
using platform::linux_os::HidrawUevent;
using Action = HidrawUevent::Action;

std::vector<std::uint8_t> Message(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(HidrawUevents, OnlyTheKernelsAddAndRemoveOfHidrawNodesCount) {
  using namespace std::string_literals;
  const std::string fields =
      "DEVPATH=/devices/virtual/misc/uhid/0003:1209:7A45.0001/hidraw/hidraw0\0"s
      "SUBSYSTEM=hidraw\0MAJOR=243\0MINOR=0\0DEVNAME=hidraw0\0SEQNUM=1808\0"s;
  struct Case {
    std::string message;
    std::optional<Action> action;
  };
  const Case cases[] = {
      {"add@/devices/virtual/misc/uhid/0003:1209:7A45.0001/hidraw/hidraw0\0ACTION=add\0"s + fields,
       Action::add},
      {"remove@/x\0ACTION=remove\0"s + fields, Action::remove},
      {"remove@/x\0ACTION=remove\0"s + fields.substr(0, fields.size() - 1), Action::remove},
      {"bind@/x\0ACTION=bind\0"s + fields, std::nullopt},
      {"libudev\0ACTION=add\0"s + fields, std::nullopt},
      {"add@/x\0ACTION=add\0SUBSYSTEM=hid\0DEVNAME=hidraw0\0"s, std::nullopt},
      {"add@/x\0ACTION=add\0SUBSYSTEM=hidraw\0DEVNAME=../sda\0"s, std::nullopt},
      {"add@/x\0ACTION=add\0SUBSYSTEM=hidraw\0"s, std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.substr(0, c.message.find('\0')));
    const auto event = platform::linux_os::ParseHidrawUevent(Message(c.message));
    ASSERT_EQ(event.has_value(), c.action.has_value());
    if (!event) continue;
    EXPECT_EQ(event->action, *c.action);
    EXPECT_EQ(event->node, "hidraw0");
  }
}

// A node added before udev has set its permissions is announced once it can
// be opened, checked every 100 ms, and at the latest after a second; the list
// leaves it out until then.
TEST(HidrawNotices, AnAddedNodeIsAnnouncedOnceItCanBeOpened) {
  struct Event {
    std::int64_t at;
    Action action;
  };
  struct Case {
    const char* what;
    int refusal;                // errno while the node cannot be opened
    std::int64_t opens_from;    // -1: never
    std::vector<Event> events;  // for node hidraw0, at multiples of 10 ms
    std::vector<std::int64_t> notices;
    std::pair<std::int64_t, std::int64_t> left_out;  // from, until
  };
  const Case cases[] = {
      {"open at once", EACCES, 0, {{0, Action::add}}, {0}, {0, 0}},
      {"open after udev", EACCES, 250, {{0, Action::add}}, {300}, {0, 300}},
      {"never open", EACCES, -1, {{0, Action::add}}, {1000}, {0, 1000}},
      {"no device file yet", ENOENT, 420, {{10, Action::add}}, {510}, {10, 510}},
      {"another failure", EIO, -1, {{0, Action::add}}, {0}, {0, 0}},
      {"removed while waiting",
       EACCES,
       -1,
       {{0, Action::add}, {450, Action::remove}},
       {450},
       {0, 450}},
      {"added again while waiting",
       EACCES,
       -1,
       {{0, Action::add}, {800, Action::add}},
       {1800},
       {0, 1800}},
      {"removed", EACCES, 0, {{50, Action::remove}}, {50}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::ManualLoop loop;
    std::vector<std::int64_t> notices;
    auto settling = std::make_shared<platform::linux_os::SettlingNodes>();
    HidrawNotices hidraw(
        loop,
        [&](const std::string& node) {
          EXPECT_EQ(node, "hidraw0");
          const bool opens = c.opens_from >= 0 && loop.now() >= c.opens_from;
          return opens ? 0 : c.refusal;
        },
        settling, [&] { notices.push_back(loop.now()); });
    for (std::int64_t t = 0; t <= 3000; t += 10) {
      loop.advance(t - loop.now());
      for (const Event& e : c.events) {
        if (e.at == t) hidraw.take({e.action, "hidraw0"});
      }
      const bool left_out = t >= c.left_out.first && t < c.left_out.second;
      ASSERT_EQ(settling->count("hidraw0"), left_out ? 1u : 0u) << "at " << t;
    }
    EXPECT_EQ(notices, c.notices);
    EXPECT_EQ(loop.pending(), 0u);
  }
}

}  // namespace
