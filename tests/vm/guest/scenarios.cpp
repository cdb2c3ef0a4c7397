#include "scenarios.h"

#include <cerrno>
#include <cstdio>

#include "guest_support.h"
#include "report_descriptor.h"

namespace vm_guest {

namespace {

constexpr int kStartMs = 20000;
constexpr int kUnplugMs = 3000;
constexpr std::size_t kBridgeReportLength = 65;

std::string Arg(const Args& args, const std::string& key) {
  const auto it = args.find(key);
  return it == args.end() ? std::string() : it->second;
}

// The bridge is the one node with the exact name, and it is the node the unit printed.
std::optional<HidrawEntry> FindBridge(Checks& checks, const std::string& name,
                                      const std::string& printed) {
  const auto named = HidrawWhere(&HidrawEntry::name, name);
  const bool one = named.size() == 1 && named.front().node == printed;
  if (!checks.That(one, "exactly one hidraw node is named \"" + name + "\", and it is " + printed +
                            " (" + std::to_string(named.size()) + " found)")) {
    return std::nullopt;
  }
  return named.front();
}

void CheckDescriptor(Checks& checks, const HidrawEntry& bridge) {
  const ReportLengths lengths = ParseReportLengths(bridge.descriptor);
  std::size_t inputs = 0;
  for (const auto& [key, length] : lengths) {
    if (key.first != ReportKind::kInput) continue;
    ++inputs;
    checks.That(key.second != 0 && length == kBridgeReportLength,
                "input report " + std::to_string(key.second) + " is " + std::to_string(length) +
                    " bytes with its ID");
  }
  checks.That(inputs == 1, "one input report (" + std::to_string(inputs) + ")");
  const auto output = lengths.find({ReportKind::kOutput, 2});
  checks.That(output != lengths.end() && output->second == kBridgeReportLength,
              "output report 2 is 65 bytes with its ID");
}

void CheckStatus(Checks& checks, BridgeIo& io, std::size_t length) {
  const unsigned before = io.reports_received();
  checks.That(io.Send(Text("d")), "status request written");
  Bytes reply = io.Receive(length, kReplyTimeoutMs);
  const std::size_t reports = io.reports_received() - before;
  const bool sound = reply.size() == length && reply.front() == 'd' &&
                     WithChecksum(Bytes(reply.begin(), reply.end() - 1)) == reply;
  checks.That(sound, "status reply of " + std::to_string(length) + " bytes with its checksum, in " +
                         std::to_string(reports) + " input reports (got " +
                         std::to_string(reply.size()) + ")");
  checks.That(reports == (length + 62) / 63, "each input report carries as much as it holds");
}

}  // namespace

int RunExchange(const Args& args) {
  Checks checks;
  const std::string node = WaitFirstLine(Arg(args, "sim-out"), kStartMs);
  const std::string other = WaitFirstLine(Arg(args, "other-out"), kStartMs);
  checks.That(!node.empty() && !other.empty(),
              "both units name their nodes: " + node + ", " + other);
  const auto bridge = FindBridge(checks, Arg(args, "name"), node);
  FindBridge(checks, Arg(args, "other-name"), other);
  if (!bridge) return checks.failed();
  CheckDescriptor(checks, *bridge);
  BridgeIo io(node);
  if (!checks.That(io.ok(), "open " + node + (io.ok() ? "" : ": " + ErrorText(io)))) {
    return checks.failed();
  }
  const std::string serial = Arg(args, "serial");
  Exchange(checks, io, Text("V"), WithChecksum(Text("V" + Arg(args, "version"))));
  Exchange(checks, io, Text("S"), WithChecksum(Text("S" + serial)));
  CheckStatus(checks, io, 56);
  Download(checks, io, serial, 3, Arg(args, "received"));
  // The other unit is a fast one: its status reply needs two input reports.
  BridgeIo other_io(other);
  CheckStatus(checks, other_io, 72);
  const std::string problem = io.layout_problem() + other_io.layout_problem();
  checks.That(problem.empty(), "every input report's count fits the report " + problem);
  return checks.failed();
}

int RunReplug(const Args& args) {
  Checks checks;
  const std::string name = Arg(args, "name");
  const std::string serial = Arg(args, "serial");
  const auto bridge = FindBridge(checks, name, WaitFirstLine(Arg(args, "sim-out"), kStartMs));
  if (!bridge) return checks.failed();
  {
    BridgeIo io(bridge->node);
    checks.That(io.ok(), "open " + bridge->node + (io.ok() ? "" : ": " + ErrorText(io)));
    Exchange(checks, io, Text("U" + serial), WithChecksum(Text("UOK")));
    for (unsigned n = 0; n < 2; ++n) {
      const std::string what = "block " + std::to_string(n);
      checks.That(io.SendInPieces(BlockRequest(n, BlockData(n))), what + " written");
      checks.That(io.Receive(4, kReplyTimeoutMs) == WithChecksum(Text("BOK")),
                  what + " answered OK");
    }
    // The unit unplugs the bridge right after its second answer.
    const bool refused = !io.SendInPieces(BlockRequest(2, BlockData(2)));
    const bool gone = refused || io.SeesUnplug(kUnplugMs);
    checks.That(gone && (!refused || io.error_number() == ENODEV),
                "the bridge goes away after two blocks (" +
                    (refused ? "write refused: " + ErrorText(io) : std::string("hang-up")) + ")");
  }
  const auto again = WaitForNamed(name, bridge->device, kStartMs);
  if (!checks.That(again.has_value(), "the bridge is plugged in again as a new device")) {
    return checks.failed();
  }
  checks.That(WaitFirstLine(Arg(args, "link-file"), kStartMs) == again->node,
              "the link file names the new node " + again->node + " (" + again->device + ")");
  BridgeIo io(again->node);
  checks.That(io.ok(), "open " + again->node + (io.ok() ? "" : ": " + ErrorText(io)));
  Download(checks, io, serial, 3, Arg(args, "received"));
  return checks.failed();
}

}  // namespace vm_guest

namespace vm_guest {

int RunUsb(const Args& args) {
  Checks checks;
  const std::string name = Arg(args, "name");
  const std::string node = WaitFirstLine(Arg(args, "sim-out"), kStartMs);
  const auto found = HidrawWhere(&HidrawEntry::usb_product, name);
  const bool one = found.size() == 1 && found.front().node == node;
  if (!checks.That(one, "exactly one hidraw node has a USB device named \"" + name +
                            "\", and it is " + node + " (" + std::to_string(found.size()) +
                            " found)")) {
    return checks.failed();
  }
  std::printf("note: its HID name is \"%s\"\n", found.front().name.c_str());
  CheckDescriptor(checks, found.front());
  BridgeIo io(node);
  if (!checks.That(io.ok(), "open " + node + (io.ok() ? "" : ": " + ErrorText(io)))) {
    return checks.failed();
  }
  const std::string serial = Arg(args, "serial");
  Exchange(checks, io, Text("V"), WithChecksum(Text("V" + Arg(args, "version"))));
  CheckStatus(checks, io, 56);
  Download(checks, io, serial, 3, Arg(args, "received"));
  return checks.failed();
}

}  // namespace vm_guest
