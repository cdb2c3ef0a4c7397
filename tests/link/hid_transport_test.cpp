#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>

#include "download/protocol.h"
#include "form_fixture.h"
#include "test_image.h"
#include "texts/texts.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The texts of every message box shown, in order.
std::string Boxes(const ui::ScriptedDialogs& dialogs) {
  std::string all;
  for (const auto& b : dialogs.boxes) all += (all.empty() ? "" : " | ") + b.text;
  return all;
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The window on the HID link, with the bridge "b1" plugged in.
struct OverHid : FormFixture {
  OverHid() {
    hid.plug(FakeHid::Bridge("b1"));
    form->link_kind = firmware::Link::hid;
    form->Timer2.set_interval(500);
  }
  // The request bytes of every report written to `id`, each checked for the
  // report's shape on the way: 65 bytes, ID 2, the count, zeros behind.
  std::vector<Bytes> Payloads(const std::string& id = "b1") {
    std::vector<Bytes> all;
    for (const Bytes& r : hid.device(id).writes) {
      EXPECT_EQ(r.size(), 65u);
      EXPECT_EQ(r[0], 2);
      const std::size_t n = std::min<std::size_t>(r[1], r.size() - 2);
      EXPECT_EQ(std::count(r.begin() + 2 + static_cast<long>(n), r.end(), 0),
                static_cast<long>(r.size() - 2 - n));
      all.emplace_back(r.begin() + 2, r.begin() + 2 + static_cast<long>(n));
    }
    return all;
  }
  // Sends the second block of a three-block "5M" image.
  void SendSecondBlock() {
    form->firmware_file_name = WriteImage("a.fm0", "5M0100001", 3);
    form->last_block_nr = 2;
    form->block_nr = 1;
    form->SendBlock();
  }
  // The first byte of each request written to `id`.
  std::string Sent(const std::string& id = "b1") {
    std::string s;
    for (const Bytes& p : Payloads(id)) s += p.empty() ? '?' : static_cast<char>(p[0]);
    return s;
  }
  // The unit's bytes, in input report 1 as the bridge sends them.
  void Answer(const Bytes& bytes, const std::string& id = "b1") {
    Bytes report{1, static_cast<std::uint8_t>(bytes.size())};
    report.insert(report.end(), bytes.begin(), bytes.end());
    report.resize(std::max<std::size_t>(report.size(), 65), 0);
    hid.inject(id, report);
  }
  bool AnyTimer() const {
    return form->Timer1.enabled() || form->Timer2.enabled() || form->Timer4.enabled();
  }
};

TEST(HidTransport, ARequestIsOneReportOfItsOwnLength) {
  const struct {
    void (TForm1::*send)();
    std::string payload;
  } cases[] = {
      {&TForm1::SendVersionRequest, "V"},
      {&TForm1::SendStartRequest, "U123456"},
      {&TForm1::SendSwitchRequest, "}}"},
      {&TForm1::SendRestartRequest, "rr"},
  };
  for (const auto& c : cases) {
    OverHid f;
    TForm1& w = *f.form;
    w.StaticText_Serial_number.caption = "123456";
    (w.*c.send)();
    EXPECT_EQ(f.Payloads(), std::vector<Bytes>{Text(c.payload)}) << c.payload;
    EXPECT_EQ(Boxes(f.dialogs), "") << c.payload;
    EXPECT_TRUE(f.serial.open_log.empty()) << "no serial port is touched: " << c.payload;
  }
}

TEST(HidTransport, ADataBlockGoesOutIn21PiecesTenMillisecondsApart) {
  OverHid f;
  TForm1& w = *f.form;
  f.SendSecondBlock();
  std::vector<std::int64_t> times;
  for (int ms = 1; ms <= 230; ++ms) {
    const std::size_t before = f.hid.device("b1").writes.size();
    f.loop.advance(1);
    if (f.hid.device("b1").writes.size() != before) times.push_back(f.loop.now());
    EXPECT_EQ(w.Timer2.enabled(), times.size() == 21) << "at " << ms << " ms";
    // Bytes arriving between pieces are thrown away by the next piece's write.
    if (ms == 55) f.Answer(Text("BO"));
    EXPECT_TRUE(ms != 60 || (w.rx_buffer.empty() && w.rx_count == 0));
  }
  std::vector<std::int64_t> want;
  for (int i = 1; i <= 21; ++i) want.push_back(10 * i);
  EXPECT_EQ(times, want);
  Bytes joined;
  std::vector<std::size_t> sizes;
  for (const Bytes& p : f.Payloads()) {
    joined.insert(joined.end(), p.begin(), p.end());
    sizes.push_back(p.size());
  }
  std::vector<std::size_t> want_sizes(20, 50);
  want_sizes.push_back(27);
  EXPECT_EQ(sizes, want_sizes);
  EXPECT_EQ(joined, w.block_message);
  EXPECT_EQ(joined.size(), 1027u);
  EXPECT_EQ(joined[1], 1) << "block number";
  f.Answer(FormFixture::Reply("BOK"));
  EXPECT_EQ(w.block_nr, 2);
  EXPECT_TRUE(w.Timer1.enabled()) << "the next block starts";
}

// A block whose reply was lost goes again from its first piece, whole, however
// long its pieces take (a slow system, a bridge that holds them): the reply
// timer of the first send does not cut it short.
TEST(HidTransport, ABlockSentAgainGoesOutWholeHoweverSlowItsPieces) {
  // Held long enough, its pieces take more than the first send's reply timer
  // (500 ms), which would run out between two of them.
  for (int held_ms = 0; held_ms <= 30; held_ms += 3) {
    OverHid f;
    TForm1& w = *f.form;
    f.SendSecondBlock();
    f.loop.advance(210);  // 21 pieces, the reply lost
    f.hid.holding_writes = held_ms > 0;
    for (int ms = 0, held = 0; ms < 3000 && f.hid.device("b1").writes.size() < 42; ++ms) {
      f.loop.advance(1);
      held = f.hid.held_writes() > 0 ? held + 1 : 0;
      if (held == held_ms) f.hid.release_writes();
    }
    const std::vector<Bytes> all = f.Payloads();
    ASSERT_GE(all.size(), 42u) << held_ms << " ms a piece";
    Bytes joined;
    for (std::size_t i = 21; i < all.size(); ++i)
      joined.insert(joined.end(), all[i].begin(), all[i].end());
    EXPECT_EQ(joined, w.block_message) << held_ms << " ms a piece";
    EXPECT_EQ(w.error_count, 1) << held_ms << " ms a piece";
  }
}

TEST(HidTransport, InputReportsFeedTheDispatcher) {
  const Bytes reply = FormFixture::Reply("V5M0100001");
  const auto report = [](std::uint8_t count, Bytes payload) {
    payload.insert(payload.begin(), {1, count});
    return payload;
  };
  const struct {
    const char* name;
    std::vector<Bytes> reports;  // input reports as delivered, ID first
    firmware::Link link;
    Bytes held;
    std::int32_t counted;
    std::string next;         // requests written after them
    bool read_error = false;  // a read fails first, the bridge staying
  } cases[] = {
      {"count 0 adds nothing", {report(0, Text("V5"))}, firmware::Link::hid, {}, 0, ""},
      {"a count beyond the report takes what it holds",
       {report(200, Text("V5M"))},
       firmware::Link::hid,
       Text("V5M"),
       3,
       ""},
      {"a reply in two reports",
       {report(6, Join(Bytes(reply.begin(), reply.begin() + 6), Text("x"))),
        report(5, Bytes(reply.begin() + 6, reply.end()))},
       firmware::Link::hid,
       {},
       0,
       "S"},
      {"the bridge is not heard on the serial link",
       {report(3, Text("V5M"))},
       firmware::Link::serial,
       {},
       0,
       ""},
      {"a read failed while the bridge stayed: the reply still comes",
       {report(11, reply)},
       firmware::Link::hid,
       {},
       0,
       "S",
       true},
  };
  for (const auto& c : cases) {
    OverHid f;
    TForm1& w = *f.form;
    w.comm_state = download::CommState::version;
    w.Timer2.set_enabled(true);  // the version request is in flight
    w.link_kind = c.link;
    if (c.read_error) f.hid.fail_reads("b1", 31, "A device is not functioning", false);
    for (const Bytes& r : c.reports) f.hid.inject("b1", r);
    EXPECT_EQ(w.Label1.caption,
              c.read_error ? "Data Error:A device is not functioning" : "Version info:")
        << c.name;
    if (c.next.empty()) {
      EXPECT_EQ(w.rx_buffer, c.held) << c.name;
      EXPECT_EQ(w.rx_count, c.counted) << c.name;
    } else {
      EXPECT_EQ(w.StaticText_version_info.caption, "5M0100001") << c.name;
    }
    EXPECT_EQ(f.Sent(), c.next) << c.name;
  }
}

TEST(HidTransport, TheBridgeIsTheDeviceNamedExactlySo) {
  using platform::HidAccess;
  using Outputs = std::optional<std::map<std::uint8_t, std::size_t>>;
  const struct Plugged {
    std::string id;
    std::u16string product;
    HidAccess access = HidAccess::read_write;
    Outputs outputs = std::map<std::uint8_t, std::size_t>{{2, 65}};
  } bridge{"b", u"HIDtoUART ZEK"};
  const auto not_the_bridge = [](const std::string& why) {
    return "A device named \"HIDtoUART ZEK\" is plugged in (/dev/hidraw-b), but it is no bridge "
           "this program can use: " +
           why + ".\r\nUnplug it and plug in the ZEK bridge. | USB Communicatie Error 4";
  };
  const struct {
    const char* name;
    std::vector<Plugged> devices;
    std::string asked;  // the device the version request goes to; empty: none
    std::string boxes;
  } cases[] = {
      {"the bridge", {bridge}, "b", ""},
      {"another letter case", {{"x", u"hidtoUART ZEK"}}, "", "USB Communicatie Error 4"},
      {"a character more", {{"x", u"HIDtoUART ZEK "}}, "", "USB Communicatie Error 4"},
      {"a character less", {{"x", u"HIDtoUART ZE"}}, "", "USB Communicatie Error 4"},
      {"no device", {}, "", "USB Communicatie Error 4"},
      {"a keyboard without access beside it",
       {{"k", u"Keyboard", HidAccess::none}, bridge},
       "b",
       ""},
      {"two bridges: the one found last", {{"a", u"HIDtoUART ZEK"}, bridge}, "b", ""},
      {"the bridge without access",
       {{"b", u"HIDtoUART ZEK", HidAccess::none}},
       "",
       "The USB HID bridge \"HIDtoUART ZEK\" is plugged in, but this user may not use it "
       "(/dev/hidraw-b).\r\nInstall the udev rule packaging/udev/70-zekflash.rules as the "
       "README's section \"Cable access without root\" says, then plug the bridge in again. | "
       "USB Communicatie Error 4"},
      {"the bridge held by another program",
       {{"b", u"HIDtoUART ZEK", HidAccess::in_use}},
       "",
       "The USB HID bridge \"HIDtoUART ZEK\" is plugged in, but another program holds it "
       "(/dev/hidraw-b).\r\nClose that program (another downloader, or a tool that talks to the "
       "bridge), then try again. | USB Communicatie Error 4"},
      {"capabilities that cannot be read",
       {{"b", u"HIDtoUART ZEK", HidAccess::read_write, std::nullopt}},
       "",
       not_the_bridge("its capabilities cannot be read")},
      {"no output report 2",
       {{"b", u"HIDtoUART ZEK", HidAccess::read_write, Outputs{{{1, 65}, {3, 65}}}}},
       "",
       not_the_bridge("it has no output report 2")},
      {"an output report 2 shorter than a piece needs",
       {{"b", u"HIDtoUART ZEK", HidAccess::read_write, Outputs{{{2, 51}}}}},
       "",
       not_the_bridge("its output report 2 holds 51 bytes, fewer than the 52 a request needs")},
      {"an output report 2 just long enough",
       {{"b", u"HIDtoUART ZEK", HidAccess::read_write, Outputs{{{2, 52}}}}},
       "b",
       ""},
  };
  for (const auto& c : cases) {
    FormFixture f;
    for (const Plugged& d : c.devices) {
      auto info = FakeHid::Bridge(d.id, d.product);
      info.access = d.access;
      info.output_reports = d.outputs;
      if (d.outputs && !d.outputs->empty()) info.lengths.output = d.outputs->rbegin()->second;
      f.hid.plug(info);
    }
    TForm1& w = *f.form;
    w.link_kind = firmware::Link::hid;
    w.SendVersionRequest();
    for (const Plugged& d : c.devices) {
      const auto& writes = f.hid.device(d.id).writes;
      EXPECT_EQ(writes.size(), d.id == c.asked ? 1u : 0u) << c.name << ": " << d.id;
      const bool layout = d.outputs && d.outputs->count(2) != 0 && d.outputs->at(2) >= 52;
      const bool bridge_read =
          d.product == bridge.product && d.access == HidAccess::read_write && layout;
      EXPECT_EQ(f.hid.readers(d.id), bridge_read ? 1 : 0) << c.name << ": " << d.id;
    }
    EXPECT_EQ(w.Timer2.enabled(), !c.asked.empty()) << c.name;
    EXPECT_EQ(Boxes(f.dialogs), c.boxes) << c.name;
  }
}

TEST(HidTransport, TheFirstLookAtTheDevicesComesOnceTheLoopRuns) {
  core::ManualLoop loop;
  ui::ScriptedDialogs dialogs;
  FakeSerial serial(loop);
  FakeHid hid(loop);
  hid.plug(FakeHid::Bridge("b1"));
  TForm1 w(Environment{loop, dialogs, serial, hid, {"-O"}, "/opt/zek/zekflash"});
  EXPECT_EQ(hid.readers("b1"), 0);
  loop.run_due();
  EXPECT_EQ(hid.readers("b1"), 1);
  w.link_kind = firmware::Link::hid;
  w.SendVersionRequest();
  EXPECT_EQ(hid.device("b1").writes.size(), 1u);
}

void AtTheReadyPanel(TForm1& w) {
  w.ShowReadyPanel(TForm1::ReadyButtons::download_cancel, texts::ready_1, texts::ready_2);
}

// The bridge b1 unplugged and `bridges` plugged in before the program looks.
void BackWithinOneListing(FakeHid& hid, std::initializer_list<const char*> bridges) {
  hid.unplug("b1", false);
  for (const char* id : bridges) hid.plug(FakeHid::Bridge(id), false);
  hid.notify();
}

// A bridge that could not be used when it came (udev set its access late,
// another program held it) and one unplugged and plugged in again within one
// listing: the next request reaches the bridge as it is now.
TEST(HidTransport, TheNextRequestReachesTheBridgeAsItIsNow) {
  using platform::HidAccess;
  const auto with = [](const std::string& id, HidAccess access) {
    auto info = FakeHid::Bridge(id);
    info.access = access;
    return info;
  };
  const std::string no_access =
      "The USB HID bridge \"HIDtoUART ZEK\" is plugged in, but this user may not use it "
      "(/dev/hidraw-b1).\r\nInstall the udev rule packaging/udev/70-zekflash.rules as the "
      "README's section \"Cable access without root\" says, then plug the bridge in again.";
  const struct {
    const char* name;
    std::function<void(FakeHid&, TForm1&)> then;  // after b1 was plugged in and looked at
    HidAccess access;                             // b1's when plugged in
    std::string asked;
    std::string boxes;
    std::string heard;  // the bridges read from
  } cases[] = {
      {"access set late, then a connection",
       [](FakeHid& hid, TForm1&) { hid.set_access("b1", HidAccess::read_write); }, HidAccess::none,
       "b1", no_access, "b1"},
      {"access set late, then a notice",
       [&](FakeHid& hid, TForm1&) {
         hid.set_access("b1", HidAccess::read_write);
         hid.plug(FakeHid::Bridge("k", u"Keyboard"));
       },
       HidAccess::none, "b1", no_access, "b1"},
      {"access set late, still none at the connection", [](FakeHid&, TForm1&) {}, HidAccess::none,
       "", no_access + " | USB Communicatie Error 4", ""},
      {"another program let go of it",
       [](FakeHid& hid, TForm1&) { hid.set_access("b1", HidAccess::read_write); },
       HidAccess::in_use, "b1",
       "The USB HID bridge \"HIDtoUART ZEK\" is plugged in, but another program holds it "
       "(/dev/hidraw-b1).\r\nClose that program (another downloader, or a tool that talks to "
       "the bridge), then try again.",
       "b1"},
      {"unplugged and back within one listing",
       [](FakeHid& hid, TForm1&) { BackWithinOneListing(hid, {"b2"}); }, HidAccess::read_write,
       "b2", "", "b2"},
      // While a connection runs only the checked bridge's quick return takes
      // the requests: another bridge waits for the next connection.
      {"unplugged and back within one listing, at the ready panel",
       [](FakeHid& hid, TForm1& w) {
         AtTheReadyPanel(w);
         BackWithinOneListing(hid, {"b2"});
       },
       HidAccess::read_write, "b2", "", "b2"},
      {"another bridge plugged in at the ready panel",
       [](FakeHid& hid, TForm1& w) {
         AtTheReadyPanel(w);
         hid.plug(FakeHid::Bridge("b2"));
       },
       HidAccess::read_write, "b1", "", "b1 b2"},
      {"unplugged, and two bridges back within one listing, at the ready panel",
       [](FakeHid& hid, TForm1& w) {
         AtTheReadyPanel(w);
         BackWithinOneListing(hid, {"b2", "b3"});
       },
       HidAccess::read_write, "", "Check USB connection", "b2 b3"},
  };
  for (const auto& c : cases) {
    FormFixture f;
    TForm1& w = *f.form;
    w.link_kind = firmware::Link::hid;
    f.hid.plug(with("b1", c.access));
    c.then(f.hid, w);
    w.SendVersionRequest();
    for (const std::string id : {"b1", "b2", "b3"}) {
      if (!f.hid.has_device(id)) continue;
      EXPECT_EQ(f.hid.device(id).writes.size(), id == c.asked ? 1u : 0u) << c.name << ": " << id;
      EXPECT_EQ(f.hid.readers(id), c.heard.find(id) != std::string::npos ? 1 : 0)
          << c.name << ": " << id;
    }
    EXPECT_EQ(w.Timer2.enabled(), !c.asked.empty()) << c.name;
    EXPECT_EQ(Boxes(f.dialogs), c.boxes) << c.name;
  }
}

TEST(HidTransport, AnUnpluggedBridgeStopsTheDownloadAndANewOneIsTakenSilently) {
  const struct {
    const char* name;
    bool block;        // a data block is on its way, else a status request
    int unplug_at_ms;  // after it was started
    const char* box;
  } cases[] = {
      {"between two pieces", true, 35, "Check USB connection brokjes"},
      {"while the reply is awaited", false, 100, "Check USB connection"},
  };
  for (const auto& c : cases) {
    OverHid f;
    TForm1& w = *f.form;
    w.firmware_file_name = f.WriteImage("a.fm0", "5M0100001", 2);
    if (c.block) {
      w.SendBlock();
    } else {
      w.SendStatusRequest();
    }
    f.loop.advance(c.unplug_at_ms);
    f.hid.unplug("b1");
    EXPECT_EQ(w.Label1.caption, "Data Error:Input/output error") << c.name;
    f.loop.advance(1000);
    EXPECT_EQ(Boxes(f.dialogs), c.box) << c.name;
    EXPECT_FALSE(f.AnyTimer()) << c.name;
    EXPECT_FALSE(w.Panel_communication_offline.visible) << c.name;
    EXPECT_EQ(f.loop.pending(), 0u) << c.name << ": nothing left running";

    f.hid.plug(FakeHid::Bridge("b2"));
    w.SendVersionRequest();
    EXPECT_EQ(f.Sent("b2"), "V") << c.name;
    EXPECT_EQ(f.dialogs.boxes.size(), 1u) << c.name << ": no message for the new bridge";
  }
}

// The bridge holds a report (a device that does not take it, up to the USB
// time-out): the loop goes on meanwhile, a reply is heard from the write on,
// the reply timer counts only from the moment the report is taken, and what
// follows waits for the outcome.
TEST(HidTransport, AReportTheBridgeHoldsHoldsNothingElse) {
  const core::Status refused = core::Error{"write report", "/dev/hidraw-b1", 110, "timed out"};
  const struct {
    const char* name;
    bool block;                // a data block's first piece, else a status request
    bool stop;                 // the link is stopped meanwhile (another file, say)
    const core::Status* fate;  // null: taken
    std::string boxes;
    bool timer2, timer1;  // running after the outcome
  } cases[] = {
      {"a request taken after 700 ms", false, false, nullptr, "", true, false},
      {"a request never taken", false, false, &refused, "Check USB connection", false, false},
      {"a piece taken after 700 ms", true, false, nullptr, "", false, true},
      {"a piece never taken", true, false, &refused, "Check USB connection brokjes", false, false},
      {"a request given up on meanwhile", false, true, &refused, "", false, false},
  };
  for (const auto& c : cases) {
    OverHid f;
    TForm1& w = *f.form;
    w.firmware_file_name = f.WriteImage("a.fm0", "5M0100001", 2);
    f.hid.holding_writes = true;
    if (c.block) {
      w.SendBlock();
      f.loop.advance(10);
    } else {
      w.SendStatusRequest();
    }
    f.loop.advance(700);
    EXPECT_EQ(f.hid.held_writes(), 1u) << c.name << ": nothing more goes out meanwhile";
    EXPECT_EQ(w.error_count, 0) << c.name << ": no time-out counts meanwhile";
    EXPECT_FALSE(w.Timer1.enabled()) << c.name;
    EXPECT_EQ(w.ReplyAwaited(), !c.block) << c.name;
    EXPECT_TRUE(w.UnitAwaited()) << c.name << ": the batch front end waits for it";
    if (c.stop) w.StopLinkTimers();
    f.hid.release_writes(c.fate);
    EXPECT_EQ(Boxes(f.dialogs), c.boxes) << c.name;
    EXPECT_EQ(w.Timer2.enabled(), c.timer2) << c.name;
    EXPECT_EQ(w.Timer1.enabled(), c.timer1) << c.name;
    EXPECT_FALSE(w.UnitAwaited() && !c.timer1 && !c.timer2) << c.name << ": nothing on its way";
    if (c.timer2) {
      f.loop.advance(499);
      EXPECT_EQ(w.error_count, 0) << c.name;
      f.loop.advance(1);
      EXPECT_EQ(w.error_count, 1) << c.name << ": the reply timer ran out 500 ms after";
    }
  }
}

TEST(HidTransport, FailuresOnTheWayHaveTheirOwnMessages) {
  const struct {
    const char* name;
    int open_fails;          // errno of a failing open, 0: none
    std::size_t output;      // the device's output report length
    std::string read_error;  // text of a read error, "-": none
    bool block;
    std::string boxes;
    std::string label1;
  } cases[] = {
      {"the bridge cannot be opened", 13, 65, "-", false,
       "USB Communicatie Error _1 geen apparaat aangesloten | USB Communicatie Error 4",
       "Version info:"},
      {"a piece longer than the output report", 0, 33, "-", true, "USB Communicatie Error brokjes",
       "Version info:"},
      {"a read error without a text", 0, 65, "", false, "USB Communicatie Error _2",
       "Version info:"},
      {"a read error", 0, 65, "Protocol error", false, "", "Data Error:Protocol error"},
  };
  for (const auto& c : cases) {
    FormFixture f;
    if (c.open_fails != 0) f.hid.failing["open"] = {c.open_fails, "Permission denied"};
    auto info = FakeHid::Bridge("b1");
    info.lengths.output = c.output;
    f.hid.plug(info);
    TForm1& w = *f.form;
    w.link_kind = firmware::Link::hid;
    if (c.read_error != "-") f.hid.fail_reads("b1", 71, c.read_error);
    w.firmware_file_name = f.WriteImage("a.fm0", "5M0100001", 2);
    if (c.block) {
      w.SendBlock();
      f.loop.advance(10);
    } else {
      w.SendVersionRequest();
    }
    EXPECT_EQ(Boxes(f.dialogs), c.boxes) << c.name;
    EXPECT_EQ(w.Label1.caption, c.label1) << c.name;
    EXPECT_FALSE(w.Timer1.enabled()) << c.name;
  }
  // The devices not looked at yet wait for the next change of the list.
  FormFixture f;
  f.hid.failing["open"] = {13, "Permission denied"};
  f.hid.plug(FakeHid::Bridge("b1"));
  f.hid.failing.clear();
  f.hid.plug(FakeHid::Bridge("b2"));
  f.form->link_kind = firmware::Link::hid;
  f.form->SendVersionRequest();
  EXPECT_EQ(f.hid.device("b2").writes.size(), 1u);
}

// Serial ports are never searched for a unit behind the bridge, though
// "Autoselect comport" is checked: neither on opening its file nor on Retry.
TEST(HidTransport, AFiveMFileConnectsOverTheBridgeWithAutoselectOn) {
  OverHid f;
  TForm1& w = *f.form;
  f.serial.add_port("COM3");
  w.link_kind = firmware::Link::none;
  ASSERT_TRUE(w.CheckBox_Autoselect_comport.checked);
  f.dialogs.files.push_back(f.WriteImage("a.fl0", "5M0100001", 2));
  w.SpeedButton_open_file.click();
  f.loop.advance(30);
  EXPECT_EQ(f.Sent(), "V");
  for (int i = 0; i < 4; ++i) f.loop.advance(500);
  ASSERT_TRUE(w.Panel_communication_offline.visible);
  w.Button_Retry_communication_offline.click();
  f.loop.advance(w.Timer4.interval());
  EXPECT_EQ(f.Sent(), "VVVVV");
  EXPECT_TRUE(f.serial.open_log.empty());
}

}  // namespace
