#include "scenarios.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "bridge_session.h"
#include "checks.h"

namespace vm_platform {

namespace {

using platform::HidDeviceInfo;
using Checks = vm_guest::Checks;

constexpr int kStartMs = 20000;
constexpr int kReplyMs = 3000;
constexpr int kUnplugMs = 5000;

std::string Arg(const Args& args, const std::string& key) {
  const auto it = args.find(key);
  return it == args.end() ? std::string() : it->second;
}

std::u16string Utf16(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::vector<HidDeviceInfo> List(platform::HidSystem& hid) {
  auto listed = hid.list();
  return listed ? *listed : std::vector<HidDeviceInfo>();
}

// The devices whose product string is exactly `product`.
std::vector<HidDeviceInfo> Named(const std::vector<HidDeviceInfo>& list,
                                 const std::u16string& product) {
  std::vector<HidDeviceInfo> named;
  for (const HidDeviceInfo& info : list) {
    if (info.product == product) named.push_back(info);
  }
  return named;
}

std::string Describe(const HidDeviceInfo& info) {
  char text[160];
  std::snprintf(text, sizeof text, "%s %04X:%04X in %zu out %zu feature %zu%s, %s",
                info.path.c_str(), info.vendor_id, info.product_id, info.lengths.input,
                info.lengths.output, info.lengths.feature, info.numbered_reports ? " numbered" : "",
                info.access == platform::HidAccess::read_write ? "read/write" : "no access");
  return text;
}

void CheckBridge(Checks& checks, const HidDeviceInfo& bridge) {
  checks.That(bridge.lengths == platform::HidReportLengths{65, 65, 0} && bridge.numbered_reports &&
                  bridge.vendor_id == 0x1209 && bridge.product_id == 0x7A45,
              "the bridge's reports are 65 bytes with their IDs: " + Describe(bridge));
}

void Exchange(Checks& checks, BridgeSession& session, const std::string& version) {
  const Bytes expected = WithChecksum(Text("V" + version));
  auto sent = session.send(Text("V"));
  const Bytes reply = sent ? session.receive(expected.size(), kReplyMs) : Bytes();
  checks.That(reply == expected, "the version request is answered " + Hex(expected) + " (got " +
                                     (sent ? Hex(reply) : sent.error().describe()) + ")");
  checks.That(session.handlers_on_loop_thread(), "every report is handled on the loop's thread");
}

// The bridge after an unplug: one read error, a notice without it, writes refused.
std::string SeeUnplug(Checks& checks, platform::PollLoop& loop, BridgeSession& session,
                      const std::vector<std::vector<HidDeviceInfo>>& notices,
                      const std::string& old_id) {
  const std::int64_t start = loop.now();
  checks.That(session.wait_read_error(kUnplugMs), "the reader reports the unplug");
  const std::int64_t error_at = loop.now() - start;
  const bool removed = RunUntil(
      loop,
      [&] {
        for (const auto& list : notices) {
          bool listed = false;
          for (const auto& info : list) listed |= info.id == old_id;
          if (!listed) return true;
        }
        return false;
      },
      kUnplugMs);
  checks.That(removed, "a notice comes, and the list then lacks the bridge");
  const std::int64_t notice_at = loop.now() - start;
  RunUntil(
      loop, [] { return false; }, 200);
  const auto& errors = session.read_errors();
  checks.That(errors.size() == 1 && errors[0].code == EIO && errors[0].operation == "read report",
              "exactly one read error, EIO (" +
                  (errors.empty() ? std::string("none") : errors[0].describe()) + ", " +
                  std::to_string(errors.size()) + " in all)");
  checks.That(!session.device().reading(), "the reader has ended");
  auto write = session.send(Text("V"));
  checks.That(!write && write.error().code == ENODEV,
              "a write then fails with ENODEV (" +
                  (write ? std::string("written") : write.error().describe()) + ")");
  return "read error after " + std::to_string(error_at) + " ms, notice after " +
         std::to_string(notice_at) + " ms";
}

}  // namespace

// Opens the bridge, asks it one request, then pulls it out and sees the
// reader and the notices tell of it. False when the bridge would not open.
bool ExchangeThenUnplug(Checks& checks, platform::PollLoop& loop, platform::HidSystem& hid,
                        const HidDeviceInfo& bridge, const Args& args,
                        std::vector<std::vector<HidDeviceInfo>>& notices) {
  auto opened = hid.open(bridge);
  if (!checks.That(opened.ok(), "the bridge opens" +
                                    (opened ? std::string() : ": " + opened.error().describe()))) {
    return false;
  }
  BridgeSession session(loop, std::move(*opened));
  Exchange(checks, session, Arg(args, "version"));
  notices.clear();
  std::ofstream(Arg(args, "unplug-file")) << "now\n";
  std::printf("note: %s\n", SeeUnplug(checks, loop, session, notices, bridge.id).c_str());
  return true;
}

int RunUhid(const Args& args) {
  Checks checks;
  const std::u16string name = Utf16(Arg(args, "name"));
  const std::u16string other_name = Utf16(Arg(args, "other-name"));
  platform::PollLoop loop;
  auto hid = platform::MakeSystemHid(loop);
  std::vector<std::vector<HidDeviceInfo>> notices;
  auto watch = hid->watch_changes([&] { notices.push_back(List(*hid)); });
  checks.That(watch.ok(), "device notices are watched" +
                              (watch ? std::string() : ": " + watch.error().describe()));

  std::vector<HidDeviceInfo> bridges, others;
  RunUntil(
      loop,
      [&] {
        const auto list = List(*hid);
        bridges = Named(list, name), others = Named(list, other_name);
        return bridges.size() == 1 && others.size() == 1 &&
               bridges[0].access == platform::HidAccess::read_write;
      },
      kStartMs);
  if (!checks.That(bridges.size() == 1 && others.size() == 1, "one device is named exactly \"" +
                                                                  Utf8(name) + "\" and one \"" +
                                                                  Utf8(other_name) + "\"")) {
    return checks.failed();
  }
  CheckBridge(checks, bridges[0]);
  checks.That(bridges[0].access == platform::HidAccess::read_write,
              "the bridge, opened up for all, can be read and written");
  checks.That(others[0].access == platform::HidAccess::none,
              "the other device, root's only, is listed without access: " + Describe(others[0]));
  auto refused = hid->open(others[0]);
  checks.That(
      !refused && refused.error().code == EACCES && refused.error().operation == "open" &&
          refused.error().name == others[0].path,
      "opening it is refused: " + (refused ? std::string("opened") : refused.error().describe()));

  if (!ExchangeThenUnplug(checks, loop, *hid, bridges[0], args, notices)) return checks.failed();

  const std::int64_t unplugged = loop.now();
  std::optional<HidDeviceInfo> again;
  RunUntil(
      loop,
      [&] {
        for (const auto& list : notices) {
          for (const auto& info : Named(list, name)) again = info;
          if (again) return true;
        }
        return false;
      },
      kStartMs);
  if (!checks.That(again && again->id != bridges[0].id,
                   "a notice lists the bridge again, as a new device")) {
    return checks.failed();
  }
  std::printf("note: plugged in again %lld ms after the unplug: %s\n",
              static_cast<long long>(loop.now() - unplugged), again->id.c_str());
  checks.That(again->access == platform::HidAccess::read_write,
              "the notice waited until udev had opened the new node up: " + Describe(*again));
  auto reopened = hid->open(*again);
  if (!checks.That(reopened.ok(), "the new bridge opens")) return checks.failed();
  BridgeSession second(loop, std::move(*reopened));
  Exchange(checks, second, Arg(args, "version"));
  return checks.failed();
}

int RunUsb(const Args& args) {
  Checks checks;
  const std::u16string name = Utf16(Arg(args, "name"));
  platform::PollLoop loop;
  auto hid = platform::MakeSystemHid(loop);
  std::vector<std::vector<HidDeviceInfo>> notices;
  auto watch = hid->watch_changes([&] { notices.push_back(List(*hid)); });
  std::vector<HidDeviceInfo> bridges;
  RunUntil(
      loop, [&] { return (bridges = Named(List(*hid), name)).size() == 1; }, kStartMs);
  if (!checks.That(bridges.size() == 1, "one device's USB product is \"" + Utf8(name) + "\"")) {
    return checks.failed();
  }
  std::ifstream uevent(bridges[0].id + "/uevent");
  std::string line, hid_name;
  while (std::getline(uevent, line)) {
    if (line.starts_with("HID_NAME=")) hid_name = line.substr(9);
  }
  checks.That(hid_name != Utf8(name) && !hid_name.empty(),
              "its HID name, \"" + hid_name + "\", is not the product string");
  CheckBridge(checks, bridges[0]);
  if (!ExchangeThenUnplug(checks, loop, *hid, bridges[0], args, notices)) return checks.failed();
  return checks.failed();
}

}  // namespace vm_platform
